// SPDX-License-Identifier: GPL-3.0-or-later
// Times the gathering of object files over a generated tree of 20,000 .iff files in twelve
// folders, against `find <root> -iname '*.iff'` over the same tree in the same run.
//
//   bench_gather [rounds] [folder for the tree]

#include "BenchSupport.h"
#include "FileGatherer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kFiles = 20000;
constexpr int kFolders = 12;

bool Touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("IFF", 3) == 3;
}

// Folder 0 is a downloads folder with nested subfolders, walked with its subfolders; the
// others are flat. Half the files go to the downloads tree. One file in ten is not an object
// file, and the case of the extension varies.
QList<FolderEntry> MakeTree(const QString& root)
{
    QList<FolderEntry> folders;
    for (int f = 0; f < kFolders; ++f) {
        const QString folder = root + QStringLiteral("/folder%1/").arg(f, 2, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        folders << FolderEntry{folder, f == 0};
    }
    int made = 0;
    for (int i = 0; made < kFiles; ++i) {
        QString folder;
        if (i % 2 == 0) {
            const int sub = (i / 2) % 200;
            folder = folders[0].Path + QStringLiteral("maker%1/set%2/").arg(sub % 40).arg(sub / 40);
            QDir().mkpath(folder);
        } else {
            folder = folders[1 + (i / 2) % (kFolders - 1)].Path;
        }
        const bool object = i % 10 != 9;
        const QString ext = object ? (i % 3 == 0 ? QStringLiteral(".IFF") : QStringLiteral(".iff"))
                                   : QStringLiteral(".far");
        if (!Touch(folder + QStringLiteral("object_%1").arg(i, 6, 10, QLatin1Char('0')) + ext))
            return {};
        if (object)
            ++made;
    }
    return folders;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rounds = args.size() > 1 ? std::max(1, args[1].toInt()) : 7;
    QTemporaryDir temp(TempPattern(argc, argv, "bench_gather"));
    if (!temp.isValid()) {
        std::fprintf(stderr, "cannot create the tree folder\n");
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const QList<FolderEntry> folders = MakeTree(temp.path());
    if (folders.isEmpty()) {
        std::fprintf(stderr, "cannot write the tree\n");
        return 1;
    }
    std::printf("tree: %d object files in %d folders under %s (made in %lld ms)\n", kFiles,
                kFolders, qPrintable(temp.path()), static_cast<long long>(timer.elapsed()));

    // The cost of starting find at all, measured on an empty folder, so that the walk itself
    // can be compared too.
    QTemporaryDir empty;
    std::vector<double> spawnMs;
    for (int r = 0; r < rounds; ++r) {
        QProcess find;
        timer.start();
        find.start(QStringLiteral("find"),
                   {empty.path(), QStringLiteral("-iname"), QStringLiteral("*.iff")});
        find.waitForFinished(-1);
        find.readAllStandardOutput();
        spawnMs.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::vector<double> gatherMs, findMs;
    qsizetype gathered = 0, found = 0;
    for (int r = 0; r < rounds; ++r) {
        timer.start();
        const QList<ObjectFile> files = GatherObjectFiles(folders);
        gatherMs.push_back(timer.nsecsElapsed() / 1e6);
        gathered = files.size();

        QProcess find;
        timer.start();
        find.start(QStringLiteral("find"),
                   {temp.path(), QStringLiteral("-iname"), QStringLiteral("*.iff")});
        find.waitForFinished(-1);
        const QByteArray out = find.readAllStandardOutput();
        findMs.push_back(timer.nsecsElapsed() / 1e6);
        found = out.count('\n');
        if (find.exitCode() != 0) {
            std::fprintf(stderr, "find failed\n");
            return 1;
        }
    }
    const double g = Median(gatherMs), f = Median(findMs);
    std::printf("rounds: %d\n", rounds);
    std::printf("GatherObjectFiles: median %.2f ms, best %.2f ms, %lld files\n", g,
                *std::min_element(gatherMs.begin(), gatherMs.end()),
                static_cast<long long>(gathered));
    std::printf("find -iname '*.iff': median %.2f ms, best %.2f ms, %lld files\n", f,
                *std::min_element(findMs.begin(), findMs.end()), static_cast<long long>(found));
    const double spawn = Median(spawnMs);
    std::printf("find on an empty folder (start-up cost): median %.2f ms\n", spawn);
    std::printf("ratio gather/find (medians): %.2f (target at most 3)\n", g / f);
    if (f - spawn > 0)
        std::printf("ratio gather/find without its start-up: %.2f\n", g / (f - spawn));
    return gathered == found ? 0 : 2;
}
