// SPDX-License-Identifier: GPL-3.0-or-later
// The file list of the main window: listing, opening and deleting object files.
#include "DeleteLotsWarning.h"
#include "FileGatherer.h"
#include "KeptSave.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "TreeListSink.h"
#include "WindowStyle.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"
#include "modGeneral.h"

#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace
{

constexpr int kPathColumn = 1;
const QString kFileKeyPrefix = QStringLiteral("File");

// Marks a row selected and current without running the user's handlers.
void SelectRow(QTreeWidget* list, QTreeWidgetItem* item)
{
    const QSignalBlocker blocker(list);
    list->clearSelection();
    list->setCurrentItem(item);
    item->setSelected(true);
}

int FileNumber(const QTreeWidgetItem* item)
{
    return LeadingNumber(RowKey(item).mid(kFileKeyPrefix.size()));
}

} // namespace

QTreeWidgetItem* frmMain::FileRow(int number) const
{
    if (number < 0)
        return nullptr;
    return FindRowByKey(lstFiles, kFileKeyPrefix + QString::number(number));
}

QString frmMain::CurrentFilePath() const
{
    const QTreeWidgetItem* row = FileRow(CurrentFile);
    return row ? row->text(kPathColumn) : QString();
}

void frmMain::cmdRefresh_Click()
{
    LoadIffs();
}

void frmMain::LoadIffs()
{
    BeginBusy();
    CurrentFile = -1;
    CurrentObject = -1;

    const QList<ObjectFile> files = GatherObjectFiles(ProgramState.Folders);
    {
        const QSignalBlocker blocker(lstFiles);
        lstFiles->setUpdatesEnabled(false);
        lstFiles->clear();
        ProgramState.FileKeyCounter = 0;
        // Built apart and handed over in one go: one insert per row is slow for big folders.
        QList<QTreeWidgetItem*> rows;
        rows.reserve(files.size());
        for (const ObjectFile& file : files) {
            auto* row = new QTreeWidgetItem;
            row->setText(0, file.FileName);
            row->setText(kPathColumn, file.FullPath);
            row->setData(0, Qt::UserRole,
                         kFileKeyPrefix + QString::number(ProgramState.FileKeyCounter));
            ++ProgramState.FileKeyCounter;
            rows.append(row);
        }
        lstFiles->addTopLevelItems(rows);
        lstFiles->setUpdatesEnabled(true);
    }

    fraFile->setTitle(
        QStringLiteral("Select a file: (%1 found)").arg(lstFiles->topLevelItemCount()));
    if (QTreeWidgetItem* first = lstFiles->topLevelItem(0)) {
        EnableControls(true, false);
        SelectRow(lstFiles, first);
        lstFiles_ItemClick(first);
    } else {
        EnableControls(false, true);
        lblFilePath->setText(QString());
    }
    EndBusy();
}

void frmMain::OpenRowAfterRemoval(int removedIndex)
{
    const int count = lstFiles->topLevelItemCount();
    if (count == 0) {
        // With the open file gone too (deleted, then every other row found missing), the
        // panel would show objects of a removed file that Save can no longer write.
        if (CurrentFile == -1) {
            EnableControls(false, true);
            lblFilePath->setText(QString());
        }
        return;
    }
    QTreeWidgetItem* next = lstFiles->topLevelItem(qMin(removedIndex, count - 1));
    SelectRow(lstFiles, next);
    lstFiles_ItemClick(next);
}

void frmMain::lstFiles_ItemClick(QTreeWidgetItem* Item)
{
    if (!Item)
        return;
    const int number = FileNumber(Item);
    if (number == CurrentFile)
        return;
    if (CurrentFile != -1 && !CheckSave()) {
        // The shown object's edits could not be saved: the file that holds them stays open.
        SelectQuietly(lstFiles, FileRow(CurrentFile));
        return;
    }

    const QString path = Item->text(kPathColumn);
    if (!PathExists(path, false)) {
        ShowMessage(QStringLiteral("File could not be located. Removing from list."));
        const int index = lstFiles->indexOfTopLevelItem(Item);
        if (index >= 0) {
            const QSignalBlocker blocker(lstFiles);
            delete lstFiles->takeTopLevelItem(index);
        }
        OpenRowAfterRemoval(index);
        return;
    }

    lblFilePath->setText(path);
    lblFilePath->repaint();

    BeginBusy();
    clsIFF& document = Doc();
    document.Clear();
    const bool loaded = document.LoadFile(path);
    m_damageAccepted = false;
    {
        TreeListSink sink(lstObjects);
        document.GenerateObjectList(sink);
    }
    CurrentFile = number;
    CurrentObject = -1;
    EndBusy();

    // A wrong signature has been told by the loader; a file that cannot be read at all has not.
    if (!loaded && document.lastLoadError() == clsIFF::LoadError::CannotOpen) {
        ShowMessage(QStringLiteral("The file %1 could not be opened: %2")
                        .arg(path, document.errorString()));
    }

    if (QTreeWidgetItem* first = lstObjects->topLevelItem(0)) {
        EnableControls(true, false);
        picNoObjects->hide();
        SelectRow(lstObjects, first);
        lstObjects_ItemClick(first);
    } else {
        EnableControls(false, true);
        if (picNoObjects->isHidden()) {
            picNoObjects->show();
            picNoObjects->raise();
            picNoObjects->repaint();
        }
    }
}

void frmMain::cmdDelete_Click()
{
    const QList<QTreeWidgetItem*> selected = lstFiles->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.first();
    if (!ConfirmLotsLoseObjects(this, {row->text(kPathColumn)}, lstFiles))
        return;
    QString error;
    const ChangeInfo change{QStringLiteral("window"), QString(),
                            QStringLiteral("File moved to the trash")};
    if (!RecycleFileKept(History(), row->text(kPathColumn), change, &error)) {
        // Declined: nothing to say. Agreed but the move failed: the list stays and says why.
        if (!error.isEmpty())
            ShowMessage(QStringLiteral("The file %1 could not be moved to the trash: %2")
                            .arg(row->text(kPathColumn), error));
        return;
    }

    const bool wasOpen = FileNumber(row) == CurrentFile;
    const int index = lstFiles->indexOfTopLevelItem(row);
    {
        const QSignalBlocker blocker(lstFiles);
        delete lstFiles->takeTopLevelItem(index);
    }
    if (wasOpen) {
        // The shown object belonged to the file just deleted: there is nothing left to
        // compare with or to save into.
        CurrentFile = -1;
        CurrentObject = -1;
    }
    OpenRowAfterRemoval(index);
}
