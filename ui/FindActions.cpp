// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindActions.h"

#include "Cp1252.h"
#include "DeleteLotsWarning.h"
#include "FindTableModel.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "ShownPath.h"
#include "frmBatchSorts.h"
#include "frmFind.h"
#include "frmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMenu>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>

namespace
{

// Every batch of this window: its changes are the window's, each batch under an ID of its own.
const BatchOptions kWindow{{QStringLiteral("window")}};

QString Count(qsizetype n, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

QString Objects(qsizetype n)
{
    return Count(n, QStringLiteral("object"), QStringLiteral("objects"));
}

QString Files(qsizetype n)
{
    return Count(n, QStringLiteral("file"), QStringLiteral("files"));
}

// " 3 objects are the game's own and are left alone." or nothing.
QString LeftAlone(qsizetype n)
{
    if (n == 0)
        return QString();
    return n == 1 ? QStringLiteral(" 1 object is the game's own and is left alone.")
                  : QStringLiteral(" %1 objects are the game's own and are left alone.").arg(n);
}

bool Agreed(const QString& question)
{
    return CurrentPrompt().message(question, QString(), PromptIcon::Question,
                                   PromptButtons::YesNo) == PromptAnswer::Yes;
}

QString Cleaned(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// One of the listed folders or a folder inside one.
bool InsideListedFolders(const QString& folder)
{
    const QString wanted = Cleaned(folder);
    for (const FolderEntry& entry : ProgramState.Folders) {
        const QString listed = Cleaned(entry.Path);
        if (wanted == listed || wanted.startsWith(listed + QLatin1Char('/')))
            return true;
    }
    return false;
}

} // namespace

FindActions::FindActions(frmFind* find, frmMain* main)
    : QObject(find), m_find(find), m_main(main), m_menu(new QMenu(find)),
      m_runner(new BatchRunner(this))
{
    connect(m_menu, &QMenu::aboutToShow, this, [this] { fillMenu(); });
    connect(m_runner, &BatchRunner::finished, this,
            [this](const BatchResult& result) { finish(result); });
    connect(m_runner, &BatchRunner::progress, this, [this](int done, int total) {
        if (!m_progress)
            return;
        // Last: a window-modal dialog's setValue() handles events, the batch's end among them.
        m_progress->setLabelText(QStringLiteral("Working: %1 of %2").arg(done).arg(Files(total)));
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    // The scan after a batch shows the rows anew: the same rows stay chosen.
    connect(find, &frmFind::scanFinished, this, [this] { reselect(); });
    fillMenu(); // so that the shortcuts of its entries are known before it first opens
}

FindActions::Chosen FindActions::chosen() const
{
    Chosen chosen;
    const CollectionCatalog& catalog = m_find->catalog();
    QHash<QPair<int, int>, int> rowOf; // (file, OBJD) -> index into catalog.rows
    for (int r = 0; r < catalog.rows.size(); ++r) {
        const CatalogRow& at = catalog.rows[r];
        rowOf.insert({at.file, catalog.object(at).id}, r);
    }
    QList<int> rows;
    QSet<int> files;
    for (const QModelIndex& index : m_find->tblResults->selectionModel()->selectedRows()) {
        const FindRow* row = m_find->model->rowAt(index.row());
        if (!row || row->file < 0 || row->file >= catalog.files.size())
            continue;
        if (row->listed && rowOf.contains({row->file, row->objdId}))
            rows << rowOf.value({row->file, row->objdId});
        if (row->canOpen && !files.contains(row->file)) {
            files.insert(row->file);
            chosen.files << catalog.files[row->file].path;
            chosen.objectsInFiles += int(catalog.files[row->file].objects.size());
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    chosen.selection = SelectRows(catalog, rows, [](const QString& path) {
        return ShownGamePath(path, ProgramState.GameFolder);
    });
    return chosen;
}

void FindActions::fillMenu()
{
    m_menu->clear();
    const bool idle = !m_runner->isRunning() && !m_find->isScanning();
    QMenu* presets = m_menu->addMenu(QStringLiteral("Apply &preset"));
    for (int i = 0; i < ProgramState.Presets.size(); ++i)
        presets->addAction(DecodeCp1252(ProgramState.Presets[i].Name), this,
                           [this, i] { applyPreset(i); });
    presets->setEnabled(idle && !ProgramState.Presets.isEmpty());
    const QList<QAction*> objectActions = {
        m_menu->addAction(QStringLiteral("Edit &sorts…"), this, [this] { editSorts(); }),
        m_menu->addAction(QStringLiteral("Set p&rice…"), this, [this] { setPrice(); }),
        m_menu->addAction(QStringLiteral("&Hide from catalog"), this, [this] { setHidden(true); }),
        m_menu->addAction(QStringLiteral("Sh&ow in catalog"), this, [this] { setHidden(false); }),
    };
    m_menu->addSeparator();
    const QList<QAction*> fileActions = {
        m_menu->addAction(QStringLiteral("&Move files to folder…"), this, [this] { moveFiles(); }),
        m_menu->addAction(QStringLiteral("&Delete files"), this, [this] { deleteFiles(); }),
    };
    for (QAction* action : objectActions + fileActions)
        action->setEnabled(idle);
}

void FindActions::applyPreset(int index)
{
    if (index < 0 || index >= ProgramState.Presets.size())
        return;
    ObjectEdit edit;
    edit.sorts = ProgramState.Presets[index].Sorts;
    editObjects(edit, QStringLiteral("Apply the preset \"%1\" to")
                          .arg(DecodeCp1252(ProgramState.Presets[index].Name)));
}

void FindActions::editSorts()
{
    frmBatchSorts dialog(m_find);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ObjectEdit edit;
    edit.sortMarks = dialog.marks();
    if (!edit.sortMarks.any())
        return;
    editObjects(edit, QStringLiteral("Change the catalog sorts of"));
}

void FindActions::setPrice()
{
    const QString typed =
        CurrentPrompt()
            .inputBox(QStringLiteral("The new price, a whole number from 0 to 65535, or a change "
                                     "by a percentage such as +10% or -12.5%:"),
                      QStringLiteral("Set Price"), QString())
            .trimmed();
    if (typed.isEmpty())
        return;
    ObjectEdit edit;
    static const QRegularExpression whole(QStringLiteral("^[0-9]{1,5}$"));
    if (typed.endsWith(QLatin1Char('%'))) {
        edit.pricePercent = ParsePercent(typed.chopped(1));
    } else if (whole.match(typed).hasMatch() && typed.toInt() <= kMaxPrice) {
        edit.price = typed.toInt();
    }
    if (!edit.price && !edit.pricePercent) {
        ShowMessage(QStringLiteral("\"%1\" is neither a price from 0 to 65535 nor a percentage "
                                   "such as +10%.")
                        .arg(typed));
        return;
    }
    editObjects(edit, QStringLiteral("Set the price of"));
}

void FindActions::setHidden(bool hidden)
{
    ObjectEdit edit;
    edit.disabled = hidden;
    editObjects(edit, hidden ? QStringLiteral("Hide from the catalog")
                             : QStringLiteral("Show in the catalog"));
}

void FindActions::editObjects(const ObjectEdit& edit, const QString& what)
{
    const Chosen picked = chosen();
    const BatchSelection& selection = picked.selection;
    if (selection.files.isEmpty()) {
        ShowMessage(selection.leftAlone.isEmpty()
                        ? QStringLiteral("Choose the objects to change first.")
                        : QStringLiteral("The chosen objects are the game's own, which are never "
                                         "changed."));
        return;
    }
    const BatchPlan plan = PlanBatch(selection, edit);
    if (!plan.refusals.isEmpty()) {
        ShowMessage(QStringLiteral("The catalog holds prices from 0 to 65535. Nothing was "
                                   "changed, because of these objects:\n%1")
                        .arg(plan.refusals.join(QLatin1Char('\n'))));
        return;
    }
    const QString question =
        QStringLiteral("%1 %2 in %3.%4")
            .arg(what, Objects(selection.objectCount()), Files(selection.files.size()),
                 LeftAlone(selection.leftAlone.size()));
    if (!Agreed(question))
        return;
    QStringList files;
    for (const BatchFile& file : selection.files)
        files << file.path;
    const QList<BatchFile> batch = selection.files;
    const QStringList leftAlone = selection.leftAlone;
    run(files, false,
        [batch, edit, leftAlone](HistoryStore& store, const BatchProgress& progress,
                                 const std::atomic<bool>* cancel) {
            BatchResult result = ApplyBatch(store, batch, edit, kWindow, progress, cancel);
            result.leftAlone = leftAlone;
            return result;
        });
}

void FindActions::moveFiles()
{
    const Chosen picked = chosen();
    if (picked.files.isEmpty()) {
        ShowMessage(QStringLiteral("Choose objects of loose files first: the game's own files "
                                   "are never moved."));
        return;
    }
    const QString folder = CurrentPrompt().pickFolder(QStringLiteral("Move Files to Folder"));
    if (folder.isEmpty())
        return;
    if (!InsideListedFolders(folder)) {
        ShowMessage(QStringLiteral("%1 is not one of the listed folders or inside one. Choose "
                                   "a folder whose objects Kestrane lists.")
                        .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    if (!Agreed(QStringLiteral("Move %1 to %2? Every object of a moved file moves with it: %3.%4")
                    .arg(Files(picked.files.size()), QDir::toNativeSeparators(folder),
                         Objects(picked.objectsInFiles),
                         LeftAlone(picked.selection.leftAlone.size()))))
        return;
    int clashes = 0;
    for (const QString& file : picked.files) {
        const QString there = QDir(folder).filePath(QFileInfo(file).fileName());
        clashes += QFileInfo::exists(there) && Cleaned(there) != Cleaned(file);
    }
    NameClash clash = NameClash::Skip;
    if (clashes > 0 &&
        Agreed(
            QStringLiteral("%1 already holds a file of the same name as %2. Keep both, the "
                           "moved one renamed? (No skips them; nothing is overwritten.)")
                .arg(QDir::toNativeSeparators(folder),
                     Count(clashes, QStringLiteral("one of the files"), QStringLiteral("files")))))
        clash = NameClash::KeepBoth;
    const QStringList files = picked.files;
    run(files, true,
        [files, folder, clash](HistoryStore& store, const BatchProgress& progress,
                               const std::atomic<bool>* cancel) {
            return MoveBatch(store, files, folder, clash, kWindow, progress, cancel);
        });
}

void FindActions::deleteFiles()
{
    const Chosen picked = chosen();
    if (picked.files.isEmpty()) {
        ShowMessage(QStringLiteral("Choose objects of loose files first: the game's own files "
                                   "are never deleted."));
        return;
    }
    if (!Agreed(QStringLiteral("Move %1 with %2 to the trash?%3")
                    .arg(Files(picked.files.size()), Objects(picked.objectsInFiles),
                         LeftAlone(picked.selection.leftAlone.size()))))
        return;
    const QStringList files = picked.files;
    if (!ConfirmLotsLoseObjects(m_find, files, m_main->lstFiles))
        return;
    run(files, true,
        [files](HistoryStore& store, const BatchProgress& progress,
                const std::atomic<bool>* cancel) {
            return TrashBatch(store, files, kWindow, progress, cancel);
        });
}

void FindActions::run(const QStringList& files, bool removes, BatchRunner::Work work)
{
    // The open file's unsaved edits are asked about first, as leaving the object would.
    if (!m_main->CheckSaveBeforeBatch(files, removes))
        return;
    m_reselect = m_find->chosenRows();
    m_progress = new QProgressDialog(QStringLiteral("Working…"), QStringLiteral("Cancel"), 0,
                                     int(files.size()), m_find);
    m_progress->setWindowTitle(QStringLiteral("Actions"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    connect(m_progress, &QProgressDialog::canceled, m_runner, &BatchRunner::cancel);
    m_progress->show();
    m_runner->start(ProgramState.ProgramFolder, std::move(work));
}

void FindActions::reselect()
{
    m_find->chooseRows(m_reselect);
    m_reselect.clear();
}

void FindActions::finish(const BatchResult& result)
{
    if (m_progress) {
        m_progress->disconnect(m_runner);
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    QStringList touched;
    for (const FileOutcome& file : result.files) {
        if (file.failure != BatchFailure::None || (!file.changed && file.movedTo.isEmpty()))
            continue;
        touched << file.file;
        if (!file.movedTo.isEmpty() && file.movedTo != QLatin1String("trash"))
            touched << file.movedTo;
    }
    // The main window reads its open file (or the file list) again, and the rows of the
    // changed files are read again by a scan that reads only those.
    m_main->ShowRestoredFiles(touched);
    Q_EMIT batchFinished(result);
    const auto shown = [](const QString& path) {
        return ShownGamePath(path, ProgramState.GameFolder);
    };
    ShowMessage(result.summary(shown), PromptIcon::Information, QStringLiteral("Actions"));
}
