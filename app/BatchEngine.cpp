// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchEngine.h"

#include "Cp1252.h"
#include "HistoryStore.h"
#include "KeptSave.h"
#include "ObjdFieldAccess.h"
#include "clsIFF.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace
{

const QByteArray kNone("*NONE*");

// Files saved together with one journal commit for all their copies, up to this many files or
// bytes; a file above kGroupFileLimit is saved alone.
constexpr qsizetype kGroupFiles = 48;
constexpr qint64 kGroupBytes = 8 * 1024 * 1024;
constexpr qint64 kGroupFileLimit = 4 * 1024 * 1024;

ObjectFields FieldsOf(const CatalogObject& object)
{
    ObjectFields fields;
    fields.resourceName = object.resourceName;
    fields.name = object.name;
    fields.description = object.description;
    fields.price = object.price;
    fields.disabled = object.disabled;
    fields.sorts = object.sorts;
    return fields;
}

QString ObjectLabel(const CatalogObject& object)
{
    return DecodeCp1252(object.name == kNone ? object.resourceName : object.name);
}

FileOutcome Failed(const QString& file, BatchFailure failure, const QString& reason)
{
    FileOutcome outcome;
    outcome.file = file;
    outcome.failure = failure;
    outcome.reason = reason;
    return outcome;
}

// Reads the file anew, as it is now; a failed outcome when it cannot be worked on.
std::optional<FileOutcome> LoadForBatch(clsIFF& document, const QString& path, bool allowDamaged)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Failed(path, BatchFailure::Vanished, QStringLiteral("The file is no longer there."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failed(path, BatchFailure::Locked,
                      QStringLiteral("The file could not be read: %1").arg(file.errorString()));
    // LoadData never asks anything, so this may run on a worker thread.
    if (!document.LoadData(file.readAll()))
        return Failed(path, BatchFailure::Damaged,
                      document.lastLoadError() == clsIFF::LoadError::TooLarge
                          ? QStringLiteral("It is too large for an object file.")
                          : QStringLiteral("Invalid IFF File"));
    if (!document.damageString().isEmpty() && !allowDamaged)
        return Failed(path, BatchFailure::Damaged, document.damageString());
    return std::nullopt;
}

// Edits one file's objects in document; a failed outcome leaves the file unwritten.
FileOutcome EditFile(clsIFF& document, const BatchFile& file, const ObjectEdit& edit,
                     QList<ObjectChange>* changes)
{
    FileOutcome outcome;
    outcome.file = file.path;
    QList<ObjectChange> planned;
    for (const CatalogObject& object : file.objects) {
        if (!ObjdAccess::FindObjd(document, object.id))
            return Failed(file.path, BatchFailure::Failed,
                          QStringLiteral("The file holds no object with ID %1.").arg(object.id));
        const ObjectFields before = ReadObjectFields(document, object.id);
        QString refusal = CatalogTextRefusal(document, object.id, edit);
        const std::optional<ObjectFields> after =
            refusal.isEmpty() ? PlanObjectEdit(object.id, before, edit, &refusal) : std::nullopt;
        if (!after)
            return Failed(file.path, BatchFailure::Refused, refusal);
        const EditOutcome written =
            ApplyObjectEdit(document, object.id, before, *after, edit.textScope);
        if (!written.whole())
            return Failed(
                file.path, BatchFailure::Refused,
                written.textRefused
                    ? QStringLiteral("Object %1's catalog text cannot be changed.").arg(object.id)
                    : QStringLiteral("Object %1's definition is too short to hold its %2.")
                          .arg(object.id)
                          .arg(written.refused.join(QStringLiteral(", "))));
        // What the file holds now: a price beyond the field is stored as its low 16 bits.
        const ObjectFields stored = ReadObjectFields(document, object.id);
        if (stored == before)
            ++outcome.alreadyAsAsked;
        else
            planned.append(ObjectChange{file.path, object.id, before, stored});
    }
    outcome.changed = int(planned.size());
    changes->append(planned);
    return outcome;
}

QString Summary(const QList<ObjectChange>& changes)
{
    QStringList parts;
    for (const ObjectChange& change : changes)
        parts << DescribeObjectChange(change.id, change.before, change.after);
    return parts.join(QStringLiteral("; "));
}

ChangeInfo InfoFor(const BatchOptions& options)
{
    ChangeInfo info = options.info;
    if (info.batch.isEmpty())
        info.batch = NewBatchId();
    return info;
}

// Runs one step per file, with progress and cancel between files.
template <typename Step>
BatchResult RunFiles(int total, const BatchProgress& progress, const std::atomic<bool>* cancel,
                     Step step)
{
    BatchResult result;
    for (int index = 0; index < total; ++index) {
        if (cancel && cancel->load()) {
            result.cancelled = true;
            break;
        }
        result.files.append(step(index, result));
        if (progress)
            progress(index + 1, total);
    }
    return result;
}

// The read-only attribute, which holds for every user (the owner's write permission).
bool Writable(const QString& path)
{
    return QFileInfo(path).permissions().testFlag(QFileDevice::WriteOwner);
}

} // namespace

int BatchSelection::objectCount() const
{
    int count = 0;
    for (const BatchFile& file : files)
        count += int(file.objects.size());
    return count;
}

BatchSelection SelectRows(const CollectionCatalog& catalog, const QList<int>& rows,
                          const ShownPathFunction& shown)
{
    BatchSelection selection;
    QHash<int, int> fileIndex; // catalog file -> selection file
    for (const int row : rows) {
        if (row < 0 || row >= catalog.rows.size())
            continue;
        const CatalogRow& place = catalog.rows[row];
        const CatalogFile& file = catalog.files[place.file];
        const CatalogObject& object = catalog.object(place);
        if (file.inArchive) {
            const QString where = shown ? shown(file.displayPath()) : file.displayPath();
            selection.leftAlone << QStringLiteral("%1 (%2)").arg(ObjectLabel(object), where);
            continue;
        }
        auto found = fileIndex.find(place.file);
        if (found == fileIndex.end()) {
            found = fileIndex.insert(place.file, int(selection.files.size()));
            selection.files.append(BatchFile{file.path, {}});
        }
        selection.files[*found].objects.append(object);
    }
    return selection;
}

BatchPlan PlanBatch(const BatchSelection& selection, const ObjectEdit& edit)
{
    BatchPlan plan;
    for (const BatchFile& file : selection.files) {
        int changing = 0;
        for (const CatalogObject& object : file.objects) {
            QString refusal;
            const ObjectFields before = FieldsOf(object);
            const std::optional<ObjectFields> after =
                PlanObjectEdit(object.id, before, edit, &refusal);
            if (!after)
                plan.refusals << QStringLiteral("%1, in %2.").arg(refusal, file.path);
            else if (*after == before)
                ++plan.alreadyAsAsked;
            else
                ++changing;
        }
        plan.objectsToChange += changing;
        plan.filesToChange += changing ? 1 : 0;
    }
    return plan;
}

QString FailureWord(BatchFailure failure)
{
    switch (failure) {
    case BatchFailure::None:
        return QString();
    case BatchFailure::ReadOnly:
        return QStringLiteral("read-only");
    case BatchFailure::Damaged:
        return QStringLiteral("damaged");
    case BatchFailure::Vanished:
        return QStringLiteral("vanished");
    case BatchFailure::Locked:
        return QStringLiteral("locked");
    case BatchFailure::Refused:
        return QStringLiteral("refused");
    case BatchFailure::NameClash:
        return QStringLiteral("skipped, name taken");
    case BatchFailure::Failed:
        break;
    }
    return QStringLiteral("failed");
}

int BatchResult::filesChanged() const
{
    int count = 0;
    for (const FileOutcome& file : files)
        count += file.failure == BatchFailure::None && (file.changed || !file.movedTo.isEmpty());
    return count;
}

int BatchResult::alreadyAsAsked() const
{
    int count = 0;
    for (const FileOutcome& file : files)
        count += file.alreadyAsAsked;
    return count;
}

QList<FileOutcome> BatchResult::failures() const
{
    QList<FileOutcome> failed;
    for (const FileOutcome& file : files) {
        if (file.failure != BatchFailure::None)
            failed << file;
    }
    return failed;
}

QString BatchResult::summary(const ShownPathFunction& shown) const
{
    QStringList lines;
    lines << QStringLiteral("Files changed: %1").arg(filesChanged());
    lines << QStringLiteral("Objects already as asked, left untouched: %1").arg(alreadyAsAsked());
    if (!leftAlone.isEmpty()) {
        lines << QStringLiteral("The game's own objects, left alone: %1").arg(leftAlone.size());
        constexpr int kNamed = 10; // a long list would hide the failures below it
        for (const QString& object : leftAlone.mid(0, kNamed))
            lines << QStringLiteral("  %1").arg(object);
        if (leftAlone.size() > kNamed)
            lines << QStringLiteral("  and %1 more").arg(leftAlone.size() - kNamed);
    }
    const QList<FileOutcome> failed = failures();
    lines << QStringLiteral("Files that failed: %1").arg(failed.size());
    for (const FileOutcome& file : failed)
        lines << QStringLiteral("  %1 (%2): %3")
                     .arg(shown ? shown(file.file) : QDir::toNativeSeparators(file.file),
                          FailureWord(file.failure), file.reason);
    if (cancelled)
        lines << QStringLiteral("Cancelled: the files not listed were left as they were.");
    return lines.join(QLatin1Char('\n'));
}

BatchResult ApplyBatch(HistoryStore& store, const QList<BatchFile>& files, const ObjectEdit& edit,
                       const BatchOptions& options, const BatchProgress& progress,
                       const std::atomic<bool>* cancel)
{
    ChangeInfo info = InfoFor(options);
    BatchResult result;
    // Files edited and waiting to be saved together: their outcome's place and their changes.
    QList<KeptWrite> group;
    QList<std::pair<qsizetype, QList<ObjectChange>>> waiting;
    qint64 groupBytes = 0;
    const auto saveGroup = [&] {
        WriteFilesKept(store, group);
        for (qsizetype i = 0; i < group.size(); ++i) {
            const auto& [place, planned] = waiting[i];
            if (group[i].written)
                result.changes.append(planned);
            else
                result.files[place] =
                    Failed(files[place].path,
                           QFileInfo::exists(files[place].path) ? BatchFailure::Failed
                                                                : BatchFailure::Vanished,
                           group[i].error);
        }
        group.clear();
        waiting.clear();
        groupBytes = 0;
    };
    clsIFF document;
    for (int index = 0; index < files.size(); ++index) {
        if (cancel && cancel->load()) {
            result.cancelled = true;
            break;
        }
        const BatchFile& file = files[index];
        const auto outcome = [&]() -> FileOutcome {
            document.Clear();
            if (std::optional<FileOutcome> failed =
                    LoadForBatch(document, file.path, options.allowDamaged))
                return *failed;
            QList<ObjectChange> planned;
            FileOutcome edited = EditFile(document, file, edit, &planned);
            if (edited.failure != BatchFailure::None || !edited.changed)
                return edited;
            if (!Writable(file.path))
                return Failed(file.path, BatchFailure::ReadOnly,
                              QStringLiteral("The file is read-only."));
            if (options.dryRun) {
                result.changes.append(planned);
                return edited;
            }
            info.summary = Summary(planned);
            // A large file is saved alone, streamed and its copy linked, never held twice.
            if (QFileInfo(file.path).size() > kGroupFileLimit) {
                QString reason;
                if (!SaveDocumentKept(store, document, file.path, info, &reason))
                    return Failed(file.path,
                                  QFileInfo::exists(file.path) ? BatchFailure::Failed
                                                               : BatchFailure::Vanished,
                                  reason);
                result.changes.append(planned);
                return edited;
            }
            std::optional<QByteArray> bytes = document.SaveBytes();
            if (!bytes)
                return Failed(file.path, BatchFailure::Failed, document.errorString());
            groupBytes += bytes->size();
            group << KeptWrite{file.path, *bytes, info};
            waiting << std::pair(result.files.size(), planned);
            return edited;
        }();
        result.files.append(outcome);
        // Counted in the progress once edited; a cancel then stops before the next file and
        // the files counted are still saved.
        if (group.size() >= kGroupFiles || groupBytes >= kGroupBytes)
            saveGroup();
        if (progress)
            progress(index + 1, int(files.size()));
    }
    if (!group.isEmpty())
        saveGroup();
    return result;
}

QString FreeName(const QString& folder, const QString& fileName)
{
    const QFileInfo name(fileName);
    const QString stem = name.completeBaseName();
    const QString suffix = name.suffix().isEmpty() ? QString() : '.' + name.suffix();
    const QDir dir(folder);
    QString candidate = fileName;
    for (int n = 2; QFileInfo(dir.filePath(candidate)).exists() ||
                    QFileInfo(dir.filePath(candidate)).isSymLink();
         ++n)
        candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
    return dir.filePath(candidate);
}

BatchResult MoveBatch(HistoryStore& store, const QStringList& files, const QString& folder,
                      NameClash clash, const BatchOptions& options, const BatchProgress& progress,
                      const std::atomic<bool>* cancel)
{
    ChangeInfo info = InfoFor(options);
    info.kind = QStringLiteral("move");
    const QDir target(folder);
    return RunFiles(int(files.size()), progress, cancel, [&](int index, auto&) {
        const QString& path = files[index];
        if (!QFileInfo::exists(path))
            return Failed(path, BatchFailure::Vanished,
                          QStringLiteral("The file is no longer there."));
        QString to = target.filePath(QFileInfo(path).fileName());
        if (QFileInfo(to).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
            FileOutcome outcome;
            outcome.file = path;
            return outcome; // already there
        }
        if (QFileInfo(to).exists() || QFileInfo(to).isSymLink()) {
            if (clash == NameClash::Skip)
                return Failed(path, BatchFailure::NameClash,
                              QStringLiteral("%1 already holds a file of that name.")
                                  .arg(QDir::toNativeSeparators(folder)));
            to = FreeName(folder, QFileInfo(path).fileName());
        }
        FileOutcome outcome;
        outcome.file = path;
        outcome.movedTo = to;
        if (options.dryRun)
            return outcome;
        info.summary = QStringLiteral("Moved to %1").arg(QDir::toNativeSeparators(to));
        QString reason;
        if (!MoveFileKept(store, path, to, info, &reason))
            return Failed(path,
                          Writable(QFileInfo(path).absolutePath()) ? BatchFailure::Failed
                                                                   : BatchFailure::ReadOnly,
                          reason);
        return outcome;
    });
}

BatchResult TrashBatch(HistoryStore& store, const QStringList& files, const BatchOptions& options,
                       const BatchProgress& progress, const std::atomic<bool>* cancel)
{
    ChangeInfo info = InfoFor(options);
    info.kind = QStringLiteral("delete");
    info.summary = QStringLiteral("Moved to the trash");
    return RunFiles(int(files.size()), progress, cancel, [&](int index, auto&) {
        const QString& path = files[index];
        if (!QFileInfo::exists(path))
            return Failed(path, BatchFailure::Vanished,
                          QStringLiteral("The file is no longer there."));
        FileOutcome outcome;
        outcome.file = path;
        outcome.movedTo = QStringLiteral("trash");
        QString reason;
        if (!options.dryRun && !TrashFileKept(store, path, info, nullptr, &reason))
            return Failed(path, BatchFailure::Failed, reason);
        return outcome;
    });
}
