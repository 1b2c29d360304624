// SPDX-License-Identifier: GPL-3.0-or-later
#include "CollectionScan.h"

#include "ConflictFinder.h"
#include "FarArchive.h"
#include "IListSink.h"
#include "ObjdFieldAccess.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentMap>
#include <cstring>
#include <exception>
#include <new>

using namespace ObjdAccess;

namespace
{

constexpr qint64 kSignatureSize = 60;

// The object list's rows: the OBJD ID is the first sub-item.
struct ObjectIds : IListSink {
    QList<quint16> ids;
    void Clear() override { ids.clear(); }
    void AddRow(const QByteArray&, const QByteArray&, const QList<QByteArray>& subItems) override
    {
        bool ok = false;
        const uint id = subItems.value(0).toUInt(&ok);
        if (ok && id <= 0xFFFF)
            ids.append(quint16(id));
    }
};

void SetProblem(CatalogFile* file, FileProblem problem, const QString& reason)
{
    file->problem = problem;
    file->reason = reason;
}

ScanCache::Stamp StampOf(const QFileInfo& info)
{
    return ScanCache::Stamp{info.size(), info.lastModified()};
}

QList<CatalogFile> ScanArchive(const QString& path, const std::atomic<bool>* cancel)
{
    QList<CatalogFile> files;
    CatalogFile whole;
    whole.path = path;
    whole.inArchive = true;
    whole.size = QFileInfo(path).size();
    QFile device(path);
    if (!device.open(QIODevice::ReadOnly)) {
        SetProblem(&whole, FileProblem::CannotOpen,
                   QStringLiteral("cannot be opened: %1").arg(device.errorString()));
        return {whole};
    }
    FarArchive archive;
    if (!archive.read(device)) {
        SetProblem(&whole, FileProblem::Damaged,
                   QStringLiteral("damaged archive: %1").arg(archive.errorString()));
        return {whole};
    }
    for (const FarArchive::Entry& entry : archive.entries()) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            break;
        const bool objectFile = entry.name.toLower().endsWith(".iff");
        if (!objectFile && entry.problem.isEmpty())
            continue;
        QByteArray bytes;
        if (!archive.readEntry(device, entry, &bytes)) {
            CatalogFile damaged;
            damaged.path = path;
            damaged.entry = entry.name;
            damaged.inArchive = true;
            damaged.size = entry.size;
            SetProblem(&damaged, FileProblem::Damaged,
                       QStringLiteral("damaged archive entry: %1").arg(archive.errorString()));
            files.append(damaged);
            continue;
        }
        files.append(CatalogObjectFileBytes(bytes, path, entry.name, true));
    }
    return files;
}

// The texts of the other language sets that the shown name and description do not hold.
QByteArray OtherTexts(const QList<CatalogLanguageText>& sets, const CatalogObject& shown)
{
    QList<QByteArray> seen{shown.name, shown.description};
    QByteArray texts;
    for (const CatalogLanguageText& set : sets) {
        for (const QByteArray& text : {set.name, set.description}) {
            if (text.isEmpty() || seen.contains(text))
                continue;
            seen.append(text);
            if (!texts.isEmpty())
                texts += '\n';
            texts += text;
        }
    }
    return texts;
}

} // namespace

const ScanCache::Item* ScanCache::find(const QString& path, const Stamp& stamp) const
{
    const auto it = m_items.constFind(path);
    if (it == m_items.constEnd() || !(it->stamp == stamp) || stamp.size < 0)
        return nullptr;
    return &*it;
}

void ScanCache::retain(const QSet<QString>& keep)
{
    for (auto it = m_items.begin(); it != m_items.end();) {
        if (keep.contains(it.key()))
            ++it;
        else
            it = m_items.erase(it);
    }
}

CatalogFile CatalogObjectFileBytes(const QByteArray& bytes, const QString& path,
                                   const QByteArray& entry, bool inArchive)
{
    CatalogFile file;
    file.path = path;
    file.entry = entry;
    file.inArchive = inArchive;
    file.size = bytes.size();
    try {
        clsIFF doc;
        if (!doc.LoadData(bytes)) {
            const QString why = doc.lastLoadError() == clsIFF::LoadError::TooLarge
                                    ? QStringLiteral("too large")
                                : bytes.size() < kSignatureSize ? QStringLiteral("too short")
                                                                : QStringLiteral("wrong signature");
            SetProblem(&file, FileProblem::NotObjectFile,
                       QStringLiteral("not an object file: %1").arg(why));
            return file;
        }
        if (!doc.damageString().isEmpty())
            SetProblem(&file, FileProblem::Damaged,
                       QStringLiteral("damaged: %1").arg(doc.damageString()));

        ObjectIds list;
        doc.GenerateObjectList(list);
        for (const quint16 id : std::as_const(list.ids)) {
            const clsResource* objd = FindObjd(doc, id);
            if (!objd)
                continue;
            CatalogObject object;
            object.id = id;
            object.resourceName = objd->Name;
            object.name = doc.GetName(id);
            object.description = doc.GetDescription(id);
            object.language = doc.GetCatalogLanguage(id);
            object.otherTexts = OtherTexts(doc.GetCatalogTexts(id), object);
            object.price = doc.GetPrice(id);
            object.disabled = doc.GetDisabled(id);
            object.sorts = doc.GetSorts(id);
            object.guid = ReadField32(objd->Body(), ObjdField::Guid);
            file.objects.append(object);
        }
        // Every OBJD the document holds, once per ID (a second chunk with an ID already held
        // is dropped by the loader). One too short to hold a GUID has none.
        QSet<quint16> seen;
        for (const quint16 id : doc.ObjdIDs()) {
            if (seen.contains(id))
                continue;
            seen.insert(id);
            const clsResource* objd = FindObjd(doc, id);
            if (!objd || objd->Body().size() < ObjdField::Guid + 4)
                continue;
            file.guids.append(
                CatalogGuid{id, objd->Name, ReadField32(objd->Body(), ObjdField::Guid)});
        }
    } catch (const std::bad_alloc&) {
        file.objects.clear();
        file.guids.clear();
        SetProblem(&file, FileProblem::CannotOpen,
                   QStringLiteral("cannot be opened: not enough memory"));
    } catch (const std::exception& error) {
        SetProblem(&file, FileProblem::Damaged,
                   QStringLiteral("damaged: %1").arg(QString::fromLocal8Bit(error.what())));
    }
    return file;
}

CatalogFile ScanObjectFile(const QString& path)
{
    CatalogFile file;
    file.path = path;
    const QFileInfo info(path);
    // A folder, a pipe or a device named like an object file could block the reader.
    if (info.exists() && !info.isFile()) {
        SetProblem(&file, FileProblem::CannotOpen,
                   QStringLiteral("cannot be opened: not a regular file"));
        return file;
    }
    QFile device(path);
    if (!device.open(QIODevice::ReadOnly)) {
        SetProblem(&file, FileProblem::CannotOpen,
                   QStringLiteral("cannot be opened: %1").arg(device.errorString()));
        return file;
    }
    file.size = device.size();
    // The signature first, so that a large file of another kind is never read whole.
    const QByteArray head = device.read(kSignatureSize);
    clsIFF probe;
    if (!probe.LoadData(head)) {
        file = CatalogObjectFileBytes(head, path, {}, false);
        file.size = device.size();
        return file;
    }
    if (device.size() > clsIFF::kMaxFileSize) {
        SetProblem(&file, FileProblem::NotObjectFile,
                   QStringLiteral("not an object file: too large"));
        return file;
    }
    QByteArray bytes;
    try {
        // One buffer of the file's size, read into once; a file that grew meanwhile is read
        // to its end.
        bytes = QByteArray(qMax<qint64>(device.size(), head.size()), Qt::Uninitialized);
        std::memcpy(bytes.data(), head.constData(), size_t(head.size()));
        const qint64 rest = bytes.size() - head.size();
        const qint64 got = rest == 0 ? 0 : device.read(bytes.data() + head.size(), rest);
        bytes.truncate(head.size() + qMax<qint64>(got, 0));
        if (got >= 0)
            bytes += device.readAll();
    } catch (const std::bad_alloc&) {
        SetProblem(&file, FileProblem::CannotOpen,
                   QStringLiteral("cannot be opened: not enough memory"));
        return file;
    }
    if (device.error() != QFileDevice::NoError) {
        SetProblem(&file, FileProblem::CannotOpen,
                   QStringLiteral("cannot be opened: %1").arg(device.errorString()));
        return file;
    }
    return CatalogObjectFileBytes(bytes, path, {}, false);
}

bool ReadCatalogFileBytes(const CatalogFile& file, QByteArray* bytes)
{
    QFile device(file.path);
    if (!device.open(QIODevice::ReadOnly))
        return false;
    if (!file.inArchive) {
        if (device.size() > clsIFF::kMaxFileSize)
            return false;
        *bytes = device.readAll();
        return device.error() == QFileDevice::NoError;
    }
    FarArchive archive;
    if (file.entry.isEmpty() || !archive.read(device))
        return false;
    for (const FarArchive::Entry& entry : archive.entries()) {
        if (entry.name == file.entry)
            return archive.readEntry(device, entry, bytes);
    }
    return false;
}

namespace
{

struct Task {
    QString path;
    bool archive = false;
};

struct TaskResult {
    bool done = false;
    ScanCache::Stamp stamp;
    QList<CatalogFile> files;
};

} // namespace

CollectionCatalog ScanCollection(const QList<ObjectFile>& files, const QStringList& archives,
                                 ScanCache* cache, const ScanProgress& progress,
                                 const std::atomic<bool>* cancel)
{
    QList<Task> tasks;
    tasks.reserve(files.size() + archives.size());
    for (const ObjectFile& file : files)
        tasks.append(Task{file.FullPath, false});
    for (const QString& archive : archives)
        tasks.append(Task{archive, true});

    const int total = int(tasks.size());
    std::vector<TaskResult> results(tasks.size());
    std::atomic<int> done{0};
    const auto isCancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    // The archives first: each is one long task, which should not be left for the end while
    // the other threads idle.
    QList<int> order;
    order.reserve(total);
    for (int i = int(files.size()); i < total; ++i)
        order.append(i);
    for (int i = 0; i < int(files.size()); ++i)
        order.append(i);

    // Workers only read the cache; it is updated below, on the calling thread.
    QtConcurrent::blockingMap(order, [&](int i) {
        if (isCancelled())
            return;
        const Task& task = tasks[i];
        TaskResult& result = results[std::size_t(i)];
        try {
            const QFileInfo info(task.path);
            result.stamp = info.exists() ? StampOf(info) : ScanCache::Stamp{};
            const ScanCache::Item* cached = cache ? cache->find(task.path, result.stamp) : nullptr;
            if (cached)
                result.files = cached->files;
            else if (task.archive)
                result.files = ScanArchive(task.path, cancel);
            else
                result.files = {ScanObjectFile(task.path)};
        } catch (...) {
            CatalogFile failed;
            failed.path = task.path;
            failed.inArchive = task.archive;
            SetProblem(&failed, FileProblem::CannotOpen,
                       QStringLiteral("cannot be opened: not enough memory"));
            result.files = {failed};
            result.stamp = ScanCache::Stamp{};
        }
        // An archive left half-read by a cancel is not kept.
        result.done = !isCancelled() || !task.archive;
        const int now = done.fetch_add(1, std::memory_order_relaxed) + 1;
        if (progress)
            progress(now, total);
    });

    CollectionCatalog catalog;
    QSet<QString> keep;
    for (int i = 0; i < total; ++i) {
        TaskResult& result = results[std::size_t(i)];
        if (!result.done) {
            catalog.cancelled = true;
            continue;
        }
        if (cache && result.stamp.size >= 0) {
            keep.insert(tasks[i].path);
            cache->store(tasks[i].path, ScanCache::Item{result.stamp, result.files});
        }
        catalog.files += result.files;
    }
    if (cache && !catalog.cancelled)
        cache->retain(keep);

    for (int f = 0; f < catalog.files.size(); ++f) {
        const CatalogFile& file = catalog.files[f];
        if (file.problem != FileProblem::None)
            catalog.problems.append(f);
        for (int o = 0; o < file.objects.size(); ++o)
            catalog.rows.append(CatalogRow{f, o});
    }
    // A cancelled scan is wanted back at once: no file is read again to tell copies apart.
    catalog.conflicts = FindConflicts(catalog.files, catalog.cancelled ? CatalogBytesReader()
                                                                       : ReadCatalogFileBytes);
    return catalog;
}

QList<QImage> LoadCatalogIcons(const CatalogFile& file, const QList<quint16>& objdIds,
                               const QImage& placeholder, const CatalogBytesReader& readBytes)
{
    QList<QImage> icons(objdIds.size(), placeholder);
    QByteArray bytes;
    if (!readBytes || !readBytes(file, &bytes))
        return icons;
    clsIFF doc;
    try {
        if (!doc.LoadData(bytes))
            return icons;
    } catch (...) {
        return icons;
    }
    for (qsizetype i = 0; i < objdIds.size(); ++i) {
        try {
            icons[i] = doc.GetIcon(objdIds.at(i), placeholder);
        } catch (...) {
            // one undecodable icon leaves the others
        }
    }
    return icons;
}
