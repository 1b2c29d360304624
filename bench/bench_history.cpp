// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of keeping the history on a save.
//
// For a typical 200 KB object file and for a 64 MB file of 20,000 chunks, each round changes a
// price and saves through the one save path twice over, alternately
//   off: the history turned off (the save as it was: QSaveFile, fsync, rename)
//   on:  the history on (old bytes read, hashed, compressed where that pays, written and
//        synced; journal row committed; the file replaced; the row marked done)
// and prints the medians and the ratio on / off. Loading is outside the timings. It also times
// SHA-256 of 64 MB with Qt's QCryptographicHash and with OpenSSL (which the history uses).
// Usage: bench_history [rounds=9] [folder=system temp]

#include "BenchSupport.h"
#include "HistoryStore.h"
#include "KeptSave.h"
#include "Prompt.h"
#include "Sha256.h"
#include "clsIFF.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <vector>

namespace
{

// Chunk bodies like those of object files: sprite rows of runs and a few colours, code and
// strings; about a third of their size once compressed.
QByteArray body(quint32 seed, int size)
{
    QByteArray bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        seed = seed * 1664525u + 1013904223u;
        const int run = 1 + int(seed >> 28);
        const char value = char((seed >> 8) % 24);
        bytes.append(run, value);
        bytes.append(char(seed >> 16));
    }
    bytes.truncate(size);
    return bytes;
}

QByteArray makeFile(int chunks, qint64 total)
{
    QByteArray file = "IFF FILE 2.5:TYPE FOLLOWED BY SIZE";
    file += '\0';
    file += " KALMODERIVESTA & MAXIS 1";
    file.append(4, '\0');
    const char* types[] = {"SPR2", "BHAV", "STR#", "BMP_", "TTAB", "SLOT", "OBJf", "DGRP"};
    const int average = int((total - 64) / chunks) - 76;
    // OBJD 128 first, so that a price can be set.
    QByteArray objd(216, '\0');
    AppendChunkHeader(file, "OBJD", 128, int(objd.size()));
    file += objd;
    file.reserve(total + 4096);
    for (int i = 1; i < chunks; ++i) {
        AppendChunkHeader(file, types[i % 8], quint16(1000 + i), average);
        file += body(quint32(i), average);
    }
    return file;
}

struct Result {
    double off, on;
};

Result measure(const QString& folder, const QByteArray& bytes, int rounds)
{
    const QString path = folder + QStringLiteral("/object.iff");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    out.close();
    HistoryStore on(folder + QStringLiteral("/on"));
    HistoryStore off(folder + QStringLiteral("/off"));
    on.open();
    off.open();
    off.setEnabled(false);
    std::vector<double> timesOn, timesOff;
    for (int round = 0; round < rounds; ++round) {
        for (HistoryStore* store : {&off, &on}) {
            clsIFF doc;
            doc.LoadFile(path);
            doc.SetPrice(128, qint32(round * 2 + (store == &on)));
            QString error;
            QElapsedTimer timer;
            timer.start();
            if (!SaveDocumentKept(*store, doc, path, {QStringLiteral("cli"), {}, {}}, &error))
                std::fprintf(stderr, "save failed: %s\n", qPrintable(error));
            (store == &on ? timesOn : timesOff).push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    return {Median(timesOff), Median(timesOn)};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QTemporaryDir dir(TempPattern(argc, argv, "bench_history"));

    QByteArray big = makeFile(20000, 64ll * 1024 * 1024);
    QElapsedTimer timer;
    timer.start();
    const QByteArray qtHash = QCryptographicHash::hash(big, QCryptographicHash::Sha256);
    const double qtMs = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const QByteArray sslHash = Sha256(big);
    const double sslMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("SHA-256 of 64 MB: QCryptographicHash %.1f ms, OpenSSL %.1f ms%s\n", qtMs, sslMs,
                qtHash == sslHash ? "" : " (DIFFER!)");

    const QByteArray typical = makeFile(40, 200 * 1024);
    std::printf("compressed: 200 KB file to %lld bytes\n",
                static_cast<long long>(qCompress(typical, 1).size()));
    for (const auto& [name, bytes, count] :
         {std::tuple{"200 KB", typical, rounds * 4}, std::tuple{"64 MB", big, rounds}}) {
        const QString folder = dir.path() + QLatin1Char('/') + QLatin1String(name).left(2);
        QDir().mkpath(folder);
        const Result r = measure(folder, bytes, count);
        std::printf("%-6s save: history off %8.2f ms, on %8.2f ms, ratio %.2f (median of %d)\n",
                    name, r.off, r.on, r.on / r.off, count);
    }
    return 0;
}
