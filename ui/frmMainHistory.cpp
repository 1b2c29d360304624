// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the History window: opening it, and showing what a restore did.
#include "HistoryStore.h"
#include "ProgramState.h"
#include "frmFind.h"
#include "frmHistory.h"
#include "frmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

namespace
{

constexpr int kPathColumn = 1;

QString Cleaned(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool IsListed(const QTreeWidget* list, const QString& path)
{
    const QString wanted = Cleaned(path);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (Cleaned(list->topLevelItem(i)->text(kPathColumn)) == wanted)
            return true;
    }
    return false;
}

// Whether a listing would gather the file: an ".iff" file of a listed folder.
bool InListedFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("iff"), Qt::CaseInsensitive) != 0)
        return false;
    const QString folder = Cleaned(info.absolutePath());
    for (const FolderEntry& entry : ProgramState.Folders) {
        const QString listed = Cleaned(entry.Path);
        if (folder == listed || (entry.IncludeSubfolders && folder.startsWith(listed + '/')))
            return true;
    }
    return false;
}

} // namespace

frmHistory* frmMain::HistoryWindow() const
{
    return m_historyWindow;
}

void frmMain::cmdHistory_Click()
{
    if (!m_historyWindow)
        m_historyWindow = new frmHistory(this);
    m_historyWindow->showAndRefresh();
}

bool frmMain::ListingChangesWith(const QStringList& files) const
{
    for (const QString& file : files) {
        const bool listed = IsListed(lstFiles, file);
        if (listed != QFileInfo::exists(file) && (listed || InListedFolder(file)))
            return true;
    }
    return false;
}

bool frmMain::CheckSaveBeforeRestore(const QList<RestoreItem>& plan)
{
    const QString open = Cleaned(CurrentFilePath());
    bool check = false;
    for (const RestoreItem& item : plan) {
        const bool listed = IsListed(lstFiles, item.file);
        // The open file is read again, and a file that comes or goes makes the list be read
        // again: either drops the panel's edits.
        check = check || (!CurrentFilePath().isEmpty() && Cleaned(item.file) == open) ||
                (listed && item.targetHash.isEmpty()) ||
                (!listed && !item.targetHash.isEmpty() && InListedFolder(item.file));
    }
    return !check || CurrentFile == -1 || CheckSave();
}

void frmMain::ShowRestoredFiles(const QStringList& files)
{
    const QString openPath = CurrentFilePath();
    const int shownObject = CurrentObject;
    if (ListingChangesWith(files)) {
        LoadIffs();
        if (!openPath.isEmpty())
            GoToObject(openPath, shownObject);
    } else if (!openPath.isEmpty()) {
        const QString open = Cleaned(openPath);
        const bool restored = std::any_of(files.cbegin(), files.cend(), [&](const QString& file) {
            return Cleaned(file) == open;
        });
        if (restored) {
            // Read again as a click on its row reads it; the check ran before the restore.
            QTreeWidgetItem* row = FileRow(CurrentFile);
            CurrentFile = -1;
            CurrentObject = -1;
            lstFiles_ItemClick(row);
            GoToObject(openPath, shownObject);
        }
    }
    if (m_find && m_find->isVisible())
        m_find->cmdRescan->click();
}
