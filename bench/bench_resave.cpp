// SPDX-License-Identifier: GPL-3.0-or-later
// Re-saving a large object file against a durable copy of the same bytes.
//
// Generates a 64 MB file of 20,000 chunks, then in each round times
//   copy:   dd if=<file> of=<copy> bs=1M conv=fsync   (read, write, fsync)
//   resave: clsIFF::LoadFile + SaveFile over the same file (QSaveFile: temporary file,
//           fsync in commit, rename)
// and prints both, the load and save parts, and the ratio resave / copy.
// Then, as a user sees it, whole processes from start to exit, each round alternating
//   dd if=<file> of=<copy> bs=1M conv=fsync
//   kestrane-cli resave <file> --output <new>
// with the peak resident memory of each (wait4) against the file's size.
// Usage: bench_resave [rounds=5] [folder=system temp] [kestrane-cli=../tools/kestrane-cli]

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
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

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
        AppendChunkHeader(file, types[i % 8], quint16(i), body);
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

struct ChildRun {
    double ms = 0;
    double peakMb = 0; // ru_maxrss of the child
    bool ok = false;
};

// Runs a program from start to exit, with its wall time and peak resident memory.
ChildRun runChild(char** argv)
{
    ChildRun run;
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    clock_gettime(CLOCK_MONOTONIC, &end);
    run.ms = (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
    run.peakMb = usage.ru_maxrss / 1024.0; // kilobytes on Linux
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// A child's peak memory counts the memory of the process that started it (the kernel carries
// it over at exec), and this one holds the whole file. So each program is started by a fresh,
// small copy of this benchmark ("--run" mode), which reports on its child.
ChildRun runMeasured(const QStringList& command)
{
    std::vector<QByteArray> words = {QCoreApplication::applicationFilePath().toLocal8Bit(),
                                     "--run"};
    for (const QString& word : command)
        words.push_back(word.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    QByteArray report;
    char buffer[256];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    close(out[0]);
    int status = 0;
    if (!started || waitpid(pid, &status, 0) != pid)
        return {};
    ChildRun run;
    // The last line is the report; anything before it is the program's own output.
    const QList<QByteArray> fields = report.trimmed().split('\n').last().split(' ');
    if (fields.size() == 3) {
        run.ms = fields[0].toDouble();
        run.peakMb = fields[1].toDouble();
        run.ok = fields[2] == "ok";
    }
    return run;
}

// Shared machines make every figure depend on what else runs: print the load beside them.
QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray("unknown");
}

bool sameBytes(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    return fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly) &&
           fa.readAll() == fb.readAll();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--run") == 0) {
        const ChildRun run = runChild(argv + 2);
        std::printf("%.3f %.3f %s\n", run.ms, run.peakMb, run.ok ? "ok" : "failed");
        return 0;
    }
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
    std::printf("file: %lld bytes, %d chunks, in %s; load average %s\n", kTarget, kChunks,
                qPrintable(dir.path()), loadAverage().constData());

    std::vector<double> copyMs, loadMs, saveMs, resaveMs, ratios;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer t;
        t.start();
        const int rc = QProcess::execute(
            "dd", {"if=" + path, "of=" + copy, "bs=1M", "conv=fsync", "status=none"});
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

    // Whole processes. The in-process rounds above left the file as a save writes it, so
    // each resave's output must equal its input.
    const QString cli = argc > 3 ? QString::fromLocal8Bit(argv[3])
                                 : QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/../tools/kestrane-cli");
    const QString output = dir.filePath("new.iff");
    const double fileMb = QFile(path).size() / (1024.0 * 1024.0);
    std::vector<double> ddMs, cliMs, processRatios, cliPeak, ddPeak;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(copy);
        QFile::remove(output);
        const ChildRun dd =
            runMeasured({"dd", "if=" + path, "of=" + copy, "bs=1M", "conv=fsync", "status=none"});
        const ChildRun resave = runMeasured({cli, "resave", path, "--output", output});
        if (!dd.ok || !resave.ok) {
            std::fprintf(stderr, "%s failed\n", dd.ok ? qPrintable(cli) : "dd");
            return 1;
        }
        if (round == 0 && !sameBytes(path, output)) {
            std::fprintf(stderr, "the resaved file differs from a saved file\n");
            return 1;
        }
        ddMs.push_back(dd.ms);
        cliMs.push_back(resave.ms);
        processRatios.push_back(resave.ms / dd.ms);
        cliPeak.push_back(resave.peakMb);
        ddPeak.push_back(dd.peakMb);
        std::printf("process round %d: dd %.1f ms, kestrane-cli resave %.1f ms, ratio %.2f; "
                    "peak RSS %.1f MB = %.2f x file\n",
                    round + 1, dd.ms, resave.ms, resave.ms / dd.ms, resave.peakMb,
                    resave.peakMb / fileMb);
    }
    std::printf("process median: dd %.1f ms, kestrane-cli resave %.1f ms, ratio of medians "
                "%.2f, median of round ratios %.2f; peak RSS median %.1f MB = %.2f x file "
                "(%.1f MB; dd %.1f MB)\n",
                Median(ddMs), Median(cliMs), Median(cliMs) / Median(ddMs), Median(processRatios),
                Median(cliPeak), Median(cliPeak) / fileMb, fileMb, Median(ddPeak));
    std::printf("load average %s\n", loadAverage().constData());
    return 0;
}
