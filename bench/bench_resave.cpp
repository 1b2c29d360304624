// Re-saving a large object file against a durable copy of the same bytes.
//
// Generates a 64 MB file of 20,000 chunks, then in each round times
//   copy:   dd if=<file> of=<copy> bs=4M conv=fsync   (read, write, fsync)
//   resave: clsIFF::LoadFile + SaveFile over the same file (QSaveFile: temporary file,
//           fsync in commit, rename)
// and prints both, the load and save parts, and the ratio resave / copy.
// Usage: bench_resave [rounds=5] [folder=system temp]

#include "BenchSupport.h"
#include "Prompt.h"
#include "clsIFF.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kChunks = 20000;
constexpr qint64 kTarget = 64ll * 1024 * 1024;

QByteArray makeFile()
{
    QByteArray file = "IFF FILE 2.5:TYPE FOLLOWED BY SIZE";
    file += '\0';
    file += " KALMODERIVESTA & MAXIS 1";
    file.append(4, '\0');
    const char* types[] = {"OBJD", "STR#", "BMP_", "CTSS", "SPR2", "BHAV", "TTAB", "OBJf"};
    const qint64 bodyTotal = kTarget - file.size() - qint64(kChunks) * 76;
    const int average = int(bodyTotal / kChunks);
    file.reserve(kTarget + 1024);
    quint32 seed = 12345;
    for (int i = 0; i < kChunks; ++i) {
        seed = seed * 1664525u + 1013904223u;
        // Bodies vary in size around the average, last one takes the remainder.
        int body = average / 2 + int(seed % quint32(average));
        if (i == kChunks - 1)
            body = int(kTarget - file.size() - 76);
        char header[12];
        std::copy_n(types[i % 8], 4, header);
        qToBigEndian(quint32(76 + body), header + 4);
        qToBigEndian(quint16(i), header + 8);
        header[10] = 0;
        header[11] = 0;
        file.append(header, 12);
        QByteArray name = "resource " + QByteArray::number(i);
        name.append(64 - name.size(), '\0');
        file += name;
        file.append(body, char('a' + i % 26));
    }
    return file;
}

class QuietPrompt : public Prompt
{
public:
    PromptAnswer message(const QString& text, const QString&, PromptIcon, PromptButtons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return PromptAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString pickFolder(const QString&) override { return {}; }
    bool confirmTrash(const QString&) override { return false; }
    void openUrl(const QString&) override {}
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QuietPrompt prompt;
    SetPrompt(&prompt);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir(TempPattern(argc, argv, "bench_resave"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const QString path = dir.filePath("big.iff");
    const QString copy = dir.filePath("copy.iff");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(makeFile()) != kTarget) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    std::printf("file: %lld bytes, %d chunks, in %s\n", kTarget, kChunks, qPrintable(dir.path()));

    std::vector<double> copyMs, loadMs, saveMs, resaveMs, ratios;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer t;
        t.start();
        const int rc = QProcess::execute(
            "dd", {"if=" + path, "of=" + copy, "bs=4M", "conv=fsync", "status=none"});
        copyMs.push_back(t.nsecsElapsed() / 1e6);
        if (rc != 0) {
            std::fprintf(stderr, "dd failed (%d)\n", rc);
            return 1;
        }

        t.restart();
        clsIFF doc;
        if (!doc.LoadFile(path) || doc.ResourceCount() < kChunks) {
            std::fprintf(stderr, "load failed: %s\n", qPrintable(doc.errorString()));
            return 1;
        }
        const double load = t.nsecsElapsed() / 1e6;
        if (!doc.SaveFile(path)) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(doc.errorString()));
            return 1;
        }
        const double total = t.nsecsElapsed() / 1e6;
        loadMs.push_back(load);
        saveMs.push_back(total - load);
        resaveMs.push_back(total);
        ratios.push_back(total / copyMs.back());
        std::printf("round %d: copy %.1f ms, resave %.1f ms (load %.1f + save %.1f), ratio %.2f\n",
                    round + 1, copyMs.back(), total, load, total - load, total / copyMs.back());
    }
    std::printf("median: copy %.1f ms, resave %.1f ms (load %.1f + save %.1f), ratio of medians "
                "%.2f, median of round ratios %.2f\n",
                Median(copyMs), Median(resaveMs), Median(loadMs), Median(saveMs),
                Median(resaveMs) / Median(copyMs), Median(ratios));
    return 0;
}
