// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmFolders.h"

#include "FolderDialog.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "WindowStyle.h"
#include "frmAddFolder.h"
#include "frmEditFolder.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace
{

void SelectRow(QTreeWidget* list, QTreeWidgetItem* row)
{
    const QSignalBlocker blocker(list);
    list->setCurrentItem(row);
    list->scrollToItem(row);
}

} // namespace

frmFolders::frmFolders(std::function<void()> loadIffs, QWidget* parent)
    : QDialog(parent), m_loadIffs(std::move(loadIffs))
{
    setWindowTitle(QStringLiteral("Modify Folders"));
    setModal(true);
    setFixedSize(Twips(6615), Twips(4365));

    fraFolders = MakeFrame(this, QStringLiteral("Folders:"), 120, 120, 6375, 3615);
    lstFolders = MakeListView(fraFolders, {QStringLiteral("Directory")}, 120, 300, 6135, 2775);
    lstFolders->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdAdd = new QPushButton(QStringLiteral("Add"), fraFolders);
    PlaceTwips(cmdAdd, 120, 3150, 1215, 375);
    cmdEdit = new QPushButton(QStringLiteral("Edit"), fraFolders);
    PlaceTwips(cmdEdit, 1440, 3150, 1215, 375);
    cmdRemove = new QPushButton(QStringLiteral("Remove"), fraFolders);
    PlaceTwips(cmdRemove, 2760, 3150, 1215, 375);
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    PlaceTwips(cmdOk, 5280, 3855, 1215, 375);
    cmdOk->setDefault(true);

    ApplyWindowStyle(this);

    // Loading the window: room for a vertical scroll bar.
    lstFolders->setColumnWidth(0, Twips(6135 - 270));
    Changed = false;

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
}

int frmFolders::SelectedFolder() const
{
    const QList<QTreeWidgetItem*> selected = lstFolders->selectedItems();
    if (selected.isEmpty())
        return -1;
    const int index = LeadingNumber(RowKey(selected.first()));
    return index >= 0 && index < ProgramState.FolderCount() ? index : -1;
}

void frmFolders::BuildFolderList()
{
    {
        const QSignalBlocker blocker(lstFolders);
        lstFolders->clear();
        for (int i = 0; i < ProgramState.FolderCount(); ++i) {
            const FolderEntry& entry = ProgramState.Folders[i];
            QString text = entry.Path;
            if (entry.IncludeSubfolders)
                text += QStringLiteral(" (+)");
            AddKeyedRow(lstFolders, QString::number(i) + QLatin1Char('#'), text);
        }
    }
    if (lstFolders->topLevelItemCount() > 0)
        SelectRow(lstFolders, lstFolders->topLevelItem(0));
}

void frmFolders::Form_Activate()
{
    QString key;
    const QList<QTreeWidgetItem*> selected = lstFolders->selectedItems();
    if (!selected.isEmpty())
        key = RowKey(selected.first());
    BuildFolderList();
    if (key.isEmpty())
        return;
    if (QTreeWidgetItem* row = FindRowByKey(lstFolders, key))
        SelectRow(lstFolders, row);
}

void frmFolders::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_closed = false;
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmFolders::cmdAdd_Click()
{
    if (ProgramState.FolderCount() >= kMaxFolders) {
        ShowMessage(QStringLiteral("No more folders can be added. Please remove one first."));
        return;
    }
    frmAddFolder dialog(this);
    dialog.exec();
    Form_Activate();
}

void frmFolders::cmdEdit_Click()
{
    if (SelectedFolder() < 0)
        return;
    frmEditFolder dialog(this);
    dialog.exec();
    Form_Activate();
}

void frmFolders::cmdRemove_Click()
{
    if (SelectedFolder() < 0)
        return;
    const PromptAnswer answer = CurrentPrompt().message(
        QStringLiteral("Are you sure you want to remove this folder?"),
        QString::fromLatin1(kProgramName), PromptIcon::Exclamation, PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes)
        return;
    const int index = SelectedFolder();
    if (index < 0)
        return;
    ProgramState.Folders.removeAt(index);
    BuildFolderList();
    Changed = true;
}

void frmFolders::cmdOk_Click()
{
    accept();
}

void frmFolders::done(int result)
{
    QDialog::done(result);
    // OK, the close box and Escape all end here; relist once per closing.
    if (m_closed)
        return;
    m_closed = true;
    if (Changed && m_loadIffs)
        m_loadIffs();
}
