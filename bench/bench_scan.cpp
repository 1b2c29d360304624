// SPDX-License-Identifier: GPL-3.0-or-later
// Times a full scan of the collection (file list and catalog of every file, one thread per
// core) over a generated tree of 20,000 object files, against reading every one of those files
// with `find <root> -iname '*.iff' -print0 | xargs -0 cat > /dev/null`, both with a warm cache.
//
//   bench_scan [rounds] [folder for the tree]

#include "BenchSupport.h"
#include "CatalogBodies.h"
#include "CollectionScan.h"
#include "ProgramState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kFiles = 20000;

QByteArray Chunk(const char* type, quint16 id, const QByteArray& body, const QByteArray& name)
{
    QByteArray chunk(type, 4);
    char size[4];
    qToBigEndian(quint32(76 + body.size()), size);
    chunk.append(size, 4);
    char idBytes[2];
    qToBigEndian(id, idBytes);
    chunk.append(idBytes, 2);
    chunk.append(2, '\0');
    chunk += name.leftJustified(64, '\0', true);
    return chunk + body;
}

// A download as they come: one to three objects with catalog text and icon, and sprites of
// 2 to 60 KB (about 30 KB on average).
QByteArray ObjectFileBytes(int i)
{
    QByteArray file = ProgramState.IffSignature25 + QByteArray(4, '\0');
    const int objects = 1 + i % 3;
    for (int o = 0; o < objects; ++o) {
        ObjdSpec spec;
        spec.catalogStringsId = quint16(2000 + o);
        spec.price = quint16(i % 5000);
        spec.guid = quint32(i) * 8 + quint32(o) + 1;
        file +=
            Chunk("OBJD", quint16(128 + o), MakeObjdBody(spec), "object " + QByteArray::number(i));
        file += Chunk(
            "CTSS", quint16(2000 + o),
            MakeCatalogCtss("Catalog name " + QByteArray::number(i),
                            "A description of some length for object " + QByteArray::number(i)),
            "");
        file += Chunk("BMP_", quint16(2000 + o), MakeBmp(74, 37, 0x336699), "Catalog");
    }
    const int sprites = 2 * 1024 + (i * 7919) % (58 * 1024);
    file += Chunk("SPR2", 1, QByteArray(sprites, char(i)), "sprites");
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rounds = args.size() > 1 ? std::max(1, args[1].toInt()) : 5;
    QTemporaryDir temp(TempPattern(argc, argv, "bench_scan"));
    if (!temp.isValid())
        return 1;
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;
    QList<FolderEntry> folders{{temp.path() + QStringLiteral("/Downloads/"), true}};
    for (int i = 0; i < kFiles; ++i) {
        const QString folder = temp.path() + QStringLiteral("/Downloads/maker%1/").arg(i % 50);
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("object_%1.iff").arg(i, 6, 10, QLatin1Char('0')));
        const QByteArray content = ObjectFileBytes(i);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return 1;
        bytes += content.size();
    }
    std::printf("tree: %d object files, %.1f MB, under %s (made in %lld ms); %d threads\n", kFiles,
                bytes / 1e6, qPrintable(temp.path()), static_cast<long long>(timer.elapsed()),
                QThread::idealThreadCount());

    const QString read =
        QStringLiteral("find '%1' -iname '*.iff' -print0 | xargs -0 cat > /dev/null")
            .arg(temp.path());
    QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), read}); // warm the cache
    std::vector<double> scanMs, catMs;
    qsizetype objects = 0;
    for (int r = 0; r < rounds; ++r) {
        timer.start();
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), read});
        catMs.push_back(timer.nsecsElapsed() / 1e6);

        timer.start();
        const CollectionCatalog catalog = ScanCollection(GatherObjectFiles(folders), {});
        scanMs.push_back(timer.nsecsElapsed() / 1e6);
        objects = catalog.rows.size();
        if (catalog.files.size() != kFiles || !catalog.problems.isEmpty())
            std::fprintf(stderr, "unexpected scan result\n");
    }
    const double scan = Median(scanMs), cat = Median(catMs);
    std::printf("scan (list + catalog of %lld objects): median %.1f ms over %d rounds\n",
                static_cast<long long>(objects), scan, rounds);
    std::printf("find | xargs cat:                      median %.1f ms\n", cat);
    std::printf("ratio scan / read: %.2f (target at most 1.5)\n", scan / cat);

    // A re-scan with nothing changed reads no file.
    ScanCache cache;
    ScanCollection(GatherObjectFiles(folders), {}, &cache);
    timer.start();
    ScanCollection(GatherObjectFiles(folders), {}, &cache);
    std::printf("re-scan, nothing changed: %.1f ms\n", timer.nsecsElapsed() / 1e6);
    return 0;
}
