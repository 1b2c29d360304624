// SPDX-License-Identifier: GPL-3.0-or-later
// A preset applied to many objects at once, against a durable copy of the same files.
//
// Lays out 1,000 object files of 50 KB (one catalog object each), then, in the same run:
//   copy:  each file read, written to another folder, flushed and fsynced (a durable copy);
//   off:   the same batch on a copy of the files with the history off (for comparison);
//   batch: a preset applied to all 1,000 objects through the batch engine with the history on
//          (each file read, changed, saved whole through the save path, its old bytes kept),
//          on a worker thread as the window runs it, while the event loop's longest stall is
//          watched by a timer that should tick every 2 ms.
// Prints both times, their ratio and the longest stall of the interface thread, including the
// planning the window does on it before the worker starts.
// Usage: bench_batch [files=1000] [folder=system temp]

#include "BatchRunner.h"
#include "BenchSupport.h"
#include "CollectionScan.h"
#include "HistoryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <numeric>
#include <unistd.h>

namespace
{

QByteArray SampleFile(int index, int size)
{
    QByteArray file = "IFF FILE 2.5:TYPE FOLLOWED BY SIZE";
    file += '\0';
    file += " KALMODERIVESTA & MAXIS 1";
    file.append(4, '\0');
    QByteArray objd(216, '\0');
    qToLittleEndian(quint16(100 + index % 500), objd.data() + 50); // a price of its own
    AppendChunkHeader(file, "OBJD", 128, int(objd.size()));
    file += objd;
    const int rest = size - int(file.size()) - 76;
    AppendChunkHeader(file, "SPR2", 200, rest);
    QByteArray body = Words(quint32(index), rest / 5 + 1);
    body.resize(rest, ' ');
    file += body;
    return file;
}

double DurableCopy(const QStringList& files, const QString& folder)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : files) {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        const QByteArray bytes = in.readAll();
        QFile out(folder + QLatin1Char('/') + QFileInfo(path).fileName());
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        out.flush();
        ::fsync(out.handle());
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    QTemporaryDir dir(TempPattern(argc, argv, "bench_batch"));
    const QString objects = dir.path() + QStringLiteral("/objects");
    const QString copies = dir.path() + QStringLiteral("/copies");
    QDir().mkpath(objects);
    QDir().mkpath(copies);
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << objects + QStringLiteral("/object%1.iff").arg(i, 4, 10, QLatin1Char('0'));
        QFile out(files.last());
        out.open(QIODevice::WriteOnly);
        out.write(SampleFile(i, 50 * 1024));
    }
    CollectionCatalog catalog;
    for (const QString& file : files)
        catalog.files << ScanObjectFile(file);
    for (int f = 0; f < catalog.files.size(); ++f)
        catalog.rows << CatalogRow{f, 0};
    ::sync();

    const double copyMs = DurableCopy(files, copies);
    // The copies, with the history off: the save alone (QSaveFile, fdatasync, rename).
    QList<BatchFile> offBatch;
    for (const QString& file : files)
        offBatch << BatchFile{copies + QLatin1Char('/') + QFileInfo(file).fileName(),
                              {ScanObjectFile(file).objects}};
    double offMs = 0;
    {
        HistoryStore off(dir.path() + QStringLiteral("/off/"));
        off.open();
        off.setEnabled(false);
        ObjectEdit edit;
        edit.sorts = SortSet{4, 1, 1, 0, 0, 0, 0, 0, 0};
        QElapsedTimer timer;
        timer.start();
        ApplyBatch(off, offBatch, edit, {{QStringLiteral("window")}});
        offMs = double(timer.nsecsElapsed()) / 1e6;
    }

    // The interface thread: planning, then the worker with progress reports.
    QElapsedTimer timer, sinceTick;
    timer.start();
    sinceTick.start();
    QList<int> rows(catalog.rows.size());
    std::iota(rows.begin(), rows.end(), 0);
    const BatchSelection selection = SelectRows(catalog, rows);
    ObjectEdit edit;
    edit.sorts = SortSet{4, 1, 1, 0, 0, 0, 0, 0, 0};
    const BatchPlan plan = PlanBatch(selection, edit);
    double longest = double(sinceTick.nsecsElapsed()) / 1e6;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    BatchRunner runner;
    BatchResult result;
    QEventLoop loop;
    QObject::connect(&runner, &BatchRunner::finished, [&](const BatchResult& done) {
        result = done;
        loop.quit();
    });
    QObject::connect(&runner, &BatchRunner::progress, [](int, int) {});
    const QList<BatchFile> batch = selection.files;
    runner.start(
        dir.path() + QStringLiteral("/data/"),
        [&](HistoryStore& store, const BatchProgress& progress, const std::atomic<bool>* cancel) {
            return ApplyBatch(store, batch, edit, {{QStringLiteral("window")}}, progress, cancel);
        });
    sinceTick.restart();
    ticker.start();
    loop.exec();
    const double batchMs = double(timer.nsecsElapsed()) / 1e6;

    std::printf("%d files of 50 KB, %d objects to change\n", count, plan.objectsToChange);
    std::printf("durable copy: %9.1f ms\n", copyMs);
    std::printf("history off:  %9.1f ms (the same batch on the copies)\n", offMs);
    std::printf("batch preset: %9.1f ms (history on, %d files changed, %lld failures)\n", batchMs,
                result.filesChanged(), static_cast<long long>(result.failures().size()));
    std::printf("ratio batch / copy: %.2f\n", batchMs / copyMs);
    std::printf("longest interface-thread stall: %.1f ms\n", longest);
    return 0;
}
