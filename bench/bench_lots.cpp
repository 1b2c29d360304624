// SPDX-License-Identifier: GPL-3.0-or-later
// Times finding and reading the player's lots (8 neighbourhoods of 40 lot files, each placing
// about 150 object types among some 300 KB of other chunks) against reading those files with
// `find <game> -iname 'house*.iff' -print0 | xargs -0 cat > /dev/null`, both with a warm cache.
//
//   bench_lots [rounds] [folder for the tree]

#include "BenchSupport.h"
#include "LotObjects.h"
#include "LotScan.h"
#include "Neighbourhoods.h"
#include "ProgramState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace
{

constexpr int kNeighbourhoods = 8;
constexpr int kLots = 40;

void AppendChunk(QByteArray& file, const char* type, quint16 id, const QByteArray& body)
{
    AppendChunkHeader(file, type, id, int(body.size()));
    file += body;
}

QByteArray LotBytes(int n)
{
    QByteArray file = ProgramState.IffSignature25 + QByteArray(4, '\0');
    QList<LotObjectType> types;
    for (int t = 0; t < 100 + n % 100; ++t)
        types.append({quint32(n * 7 + t * 131 + 1), 4, Words(quint32(n * 1000 + t), 3)});
    AppendChunk(file, "OBJT", 0, MakeObjtBody(3, types));
    // The rest of a lot: placed objects' state, the terrain and the people, in chunks of
    // 1 to 12 KB (about 300 KB in all).
    for (int c = 0; c < 48; ++c)
        AppendChunk(file, c % 2 ? "OBJM" : "ARRY", quint16(c),
                    QByteArray(1024 + (n * 7919 + c * 104729) % (11 * 1024), char(c)));
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rounds = args.size() > 1 ? std::max(1, args[1].toInt()) : 9;
    QTemporaryDir temp(TempPattern(argc, argv, "bench_lots"));
    if (!temp.isValid())
        return 1;
    const QString game = temp.path() + QStringLiteral("/The Sims");
    qint64 bytes = 0;
    for (int h = 1; h <= kNeighbourhoods; ++h) {
        const QString houses =
            game + (h == 1 ? QStringLiteral("/UserData") : QStringLiteral("/UserData%1").arg(h)) +
            QStringLiteral("/Houses/");
        QDir().mkpath(houses);
        for (int l = 1; l <= kLots; ++l) {
            QFile file(houses + QStringLiteral("House%1.iff").arg(l, 2, 10, QLatin1Char('0')));
            const QByteArray content = LotBytes(h * 100 + l);
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
                return 1;
            bytes += content.size();
        }
    }
    std::printf("tree: %d lot files, %.1f MB, under %s\n", kNeighbourhoods * kLots, bytes / 1e6,
                qPrintable(game));

    const QString read =
        QStringLiteral("find '%1' -iname 'house*.iff' -print0 | xargs -0 cat > /dev/null")
            .arg(game);
    QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), read}); // warm the cache
    std::vector<double> scanMs, catMs;
    QElapsedTimer timer;
    qsizetype guids = 0;
    for (int r = 0; r < rounds; ++r) {
        timer.start();
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), read});
        catMs.push_back(timer.nsecsElapsed() / 1e6);

        timer.start();
        const LotScan scan = ScanLots(FindNeighbourhoods(game));
        scanMs.push_back(timer.nsecsElapsed() / 1e6);
        guids = scan.byGuid.size();
        if (scan.lots.size() != kNeighbourhoods * kLots || !scan.problems.isEmpty())
            std::fprintf(stderr, "unexpected lot scan result\n");
    }
    const double scan = Median(scanMs), cat = Median(catMs);
    std::printf("lot scan (%lld distinct GUIDs): median %.1f ms over %d rounds\n",
                static_cast<long long>(guids), scan, rounds);
    std::printf("find | xargs cat:              median %.1f ms\n", cat);
    std::printf("ratio scan / read: %.2f (target at most 1.5)\n", scan / cat);
    return 0;
}
