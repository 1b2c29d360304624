// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeListSink.h"

#include "Cp1252.h"

#include <QSignalBlocker>
#include <QTreeWidget>

TreeListSink::TreeListSink(QTreeWidget* list) : m_list(list) {}

TreeListSink::~TreeListSink()
{
    Refresh();
}

void TreeListSink::Refresh()
{
    if (m_pending.isEmpty())
        return;
    const QSignalBlocker blocker(m_list);
    m_list->addTopLevelItems(m_pending);
    m_pending.clear();
}

void TreeListSink::Clear()
{
    qDeleteAll(m_pending);
    m_pending.clear();
    const QSignalBlocker blocker(m_list);
    m_list->clear();
}

void TreeListSink::AddRow(const QByteArray& key, const QByteArray& text,
                          const QList<QByteArray>& subItems)
{
    auto* row = new QTreeWidgetItem;
    row->setText(0, DecodeCp1252(text));
    row->setData(0, Qt::UserRole, QString::fromLatin1(key));
    for (int i = 0; i < subItems.size(); ++i)
        row->setText(i + 1, DecodeCp1252(subItems[i]));
    m_pending.append(row);
}
