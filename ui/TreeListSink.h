// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IListSink.h"

#include <QList>

class QTreeWidget;
class QTreeWidgetItem;

// Lets the document's listings fill a report-style list view: the text is shown decoded from
// Windows-1252, the key goes into the row's data, sub-items into the following (hidden)
// columns. Rows are handed to the list in one go on Refresh() and at the latest when the
// sink goes away, so that long listings do not insert row by row.
class TreeListSink : public IListSink
{
public:
    explicit TreeListSink(QTreeWidget* list);
    ~TreeListSink() override;
    TreeListSink(const TreeListSink&) = delete;
    TreeListSink& operator=(const TreeListSink&) = delete;

    void Refresh() override;
    void Clear() override;
    void AddRow(const QByteArray& key, const QByteArray& text,
                const QList<QByteArray>& subItems) override;

private:
    QTreeWidget* m_list;
    QList<QTreeWidgetItem*> m_pending;
};
