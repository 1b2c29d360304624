// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the Find Object window: opening it, going to an object found
// there, and deleting a file listed there.
#include "DeleteLotsWarning.h"
#include "KeptSave.h"
#include "Prompt.h"
#include "WindowStyle.h"
#include "frmFind.h"
#include "frmMain.h"
#include "modGeneral.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace
{

constexpr int kPathColumn = 1;

QTreeWidgetItem* RowWithText(QTreeWidget* list, int column, const QString& text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->text(column) == text)
            return item;
    }
    return nullptr;
}

int FileNumberOf(const QTreeWidgetItem* row)
{
    return LeadingNumber(RowKey(row).mid(4)); // after "File"
}

} // namespace

frmFind* frmMain::FindWindow() const
{
    return m_find;
}

void frmMain::cmdFind_Click()
{
    if (!m_find)
        m_find = new frmFind(this);
    m_find->showAndScan();
}

bool frmMain::GoToObject(const QString& path, int ObjdID)
{
    QTreeWidgetItem* fileRow = RowWithText(lstFiles, kPathColumn, path);
    if (!fileRow)
        return false;
    const int number = FileNumberOf(fileRow);
    if (number != CurrentFile) {
        SelectQuietly(lstFiles, fileRow);
        lstFiles_ItemClick(fileRow);
        if (CurrentFile != number) {
            // The check kept the shown object (or the file vanished): the selection goes back
            // to the file still open.
            SelectQuietly(lstFiles, FileRow(CurrentFile));
            return false;
        }
    }
    if (ObjdID < 0)
        return true;
    QTreeWidgetItem* objectRow = ObjectRow(ObjdID);
    if (!objectRow)
        return false;
    if (ObjdID != CurrentObject) {
        SelectQuietly(lstObjects, objectRow);
        lstObjects_ItemClick(objectRow);
        if (CurrentObject != ObjdID) {
            SelectQuietly(lstObjects, ObjectRow(CurrentObject));
            return false;
        }
    }
    return true;
}

bool frmMain::CheckSaveBeforeBatch(const QStringList& files, bool removed)
{
    // Reading the open file again, or the list when files leave it, drops the panel's edits:
    // the question a restore asks covers both.
    QList<RestoreItem> items;
    for (const QString& file : files) {
        RestoreItem item;
        item.file = file;
        if (!removed)
            item.targetHash = QByteArrayLiteral("changed");
        items << item;
    }
    return CheckSaveBeforeRestore(items);
}

bool frmMain::DeleteListedFile(const QString& path)
{
    QTreeWidgetItem* row = RowWithText(lstFiles, kPathColumn, path);
    if (row && FileNumberOf(row) == CurrentFile) {
        // The open file: exactly Delete File on its row.
        SelectQuietly(lstFiles, row);
        cmdDelete_Click();
        return !PathExists(path, false) && RowWithText(lstFiles, kPathColumn, path) == nullptr;
    }
    if (!ConfirmLotsLoseObjects(this, {path}, lstFiles))
        return false;
    QString error;
    const ChangeInfo change{QStringLiteral("window"), QString(),
                            QStringLiteral("File moved to the trash")};
    if (!RecycleFileKept(History(), path, change, &error)) {
        if (!error.isEmpty())
            ShowMessage(
                QStringLiteral("The file %1 could not be moved to the trash: %2").arg(path, error));
        return false;
    }
    if (row) {
        const QSignalBlocker blocker(lstFiles);
        delete row; // another file stays open and selected
    }
    return true;
}
