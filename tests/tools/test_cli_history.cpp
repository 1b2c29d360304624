// SPDX-License-Identifier: GPL-3.0-or-later
// kestrane-cli's history, restore and the refusal of damaged files; a save killed at random
// moments.
#include "../app/HistoryTestEnv.h"
#include "CliTestSupport.h"
#include "Sha256.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QThread>

namespace
{

class CliHistoryTest : public CliTest
{
protected:
    QString file = path(QStringLiteral("game/sofa.iff"));
    QByteArray original = SofaBytes(400);
    QString opts = QStringLiteral("--data-dir %1 ").arg(data);
    CliHistoryTest() { MakeFile(file, original); }
    QJsonArray history(const QString& files = QString())
    {
        return QJsonDocument::fromJson(Output(opts + "history " + files).toUtf8()).array();
    }
};

TEST_F(CliHistoryTest, SetIsRecordedListedAndRestored)
{
    Output(opts + "resave " + file + " --output " + path("game/copy.iff")); // replaces nothing
    Output(opts + "set " + file + " --object 128 --price 450 --name \"Blue Sofa\"");
    const QByteArray first = ReadFile(file);
    Output(opts + "set " + file + " --object 128 --disabled yes");
    const QString other = path(QStringLiteral("game/other.iff"));
    MakeFile(other, SofaBytes(1));
    Output(opts + "resave " + other);

    const QJsonArray all = history();
    ASSERT_EQ(all.size(), 3);
    const QJsonObject newest = all[0].toObject(), oldest = all[2].toObject();
    EXPECT_EQ(newest["file"].toString(), other);
    EXPECT_EQ(oldest["file"].toString(), file);
    EXPECT_EQ(oldest["program"].toString(), QStringLiteral("cli"));
    EXPECT_EQ(oldest["summary"].toString(),
              QStringLiteral("Object 128 'Sofa\u00a0caf\u00e9': price 400 → 450; name "
                             "'Sofa\u00a0caf\u00e9' → 'Blue Sofa'"));
    EXPECT_TRUE(QDateTime::fromString(oldest["time"].toString(), Qt::ISODateWithMs).isValid());
    EXPECT_FALSE(oldest["batch"].toString().isEmpty());
    EXPECT_EQ(history(file).size(), 2);
    const QStringList csv = Output(opts + "history --csv " + file).split("\r\n");
    EXPECT_EQ(csv[0], QStringLiteral("id,time,file,program,batch,summary"));
    EXPECT_TRUE(
        csv[2].endsWith(",cli," + oldest["batch"].toString() + ',' + oldest["summary"].toString()))
        << csv[2].toStdString();

    Output(opts + "restore " + file); // undoes the latest change
    EXPECT_EQ(ReadFile(file), first);
    Output(opts + "restore " + file + " --original");
    EXPECT_EQ(ReadFile(file), original);
    const int change = oldest["id"].toInt();
    Output(opts + QStringLiteral("restore %1 --change %2").arg(file).arg(change));
    EXPECT_EQ(ReadFile(file), original); // already as before that change: nothing to do
    EXPECT_EQ(history(file).size(), 4);

    Output(opts + "history --forget --older-than 1");
    EXPECT_EQ(history().size(), 5);
    Output(opts + "history --forget");
    EXPECT_EQ(history().size(), 0);
}

TEST_F(CliHistoryTest, RefusalsLeaveTheFileAsItWas)
{
    const QByteArray damaged = original + "cut off";
    const QString broken = path(QStringLiteral("game/broken.iff"));
    MakeFile(broken, damaged);
    Output(opts + "set " + file + " --object 128 --price 450");
    WriteFile(file, SofaBytes(999)); // another program
    const QString isDamaged = broken + " is damaged: 7 bytes at the end hold no whole chunk.";
    const QString elsewhere = file + " was changed since Kestrane last wrote it";
    const struct {
        QString command;
        int code;
        QString message;
    } cases[] = {
        {"set " + broken + " --object 128 --price 1", 1, isDamaged},
        {"resave " + broken, 1, isDamaged},
        {"resave " + broken + " --output " + path("game/new.iff"), 1, isDamaged},
        {"restore " + file, 1, elsewhere},
        {"restore " + broken, 1, broken + " has no recorded change."},
        {"restore " + file + " --change 999", 1, file + " has no recorded change 999."},
        {"restore " + file + " --change 1 --original", 2, "Give either --change or --original"},
        {"history --older-than 3", 2, "--older-than goes with --forget."},
        {"history --forget " + file, 2, "history --forget takes no file."},
        {"set " + file + " --object 128 --price 5 --csv", 2, "The option --csv does not apply"},
    };
    for (const auto& c : cases) {
        const CliResult result = Cli(opts + c.command);
        EXPECT_EQ(result.code, c.code) << c.command.toStdString();
        EXPECT_TRUE(result.err.startsWith(c.message)) << result.err.toStdString();
    }
    EXPECT_EQ(ReadFile(broken), damaged);
    EXPECT_FALSE(QFileInfo::exists(path("game/new.iff")));
    EXPECT_EQ(ReadFile(file), SofaBytes(999));

    // Forced: the damaged file is saved whole, its original kept; the change elsewhere too.
    Output(opts + "set " + broken + " --object 128 --price 1 --force");
    EXPECT_EQ(Cli(opts + "objects " + broken).err, QString());
    Output(opts + "restore " + file + " --force");
    EXPECT_EQ(ReadFile(file), original);
    Output(opts + "restore " + file);
    EXPECT_EQ(ReadFile(file), SofaBytes(999));
    Output(opts + "restore " + broken);
    EXPECT_EQ(ReadFile(broken), damaged);
}

// kill -9 at random moments of `set` with the history on: the file is always exactly the old or
// the new bytes, and every row of the journal names a copy the store holds.
TEST_F(CliHistoryTest, KilledSaveLeavesWholeFilesAndCompleteRows)
{
    constexpr int kRuns = 30;
    // Large enough that a save takes a while to write, copy and sync.
    QByteArray noise(4 * 1024 * 1024, '\0');
    quint32 seed = 3;
    for (char& byte : noise) {
        seed = seed * 1664525u + 1013904223u;
        byte = char(seed >> 24);
    }
    WriteFile(file, SofaBytes(0, noise));
    const auto expectedAfter = [&](const QByteArray& before, int price) {
        const QString scratch = path(QStringLiteral("scratch.iff"));
        WriteFile(scratch, before);
        clsIFF doc;
        EXPECT_TRUE(doc.LoadFile(scratch));
        EXPECT_TRUE(doc.SetPrice(128, qint32(price)));
        EXPECT_TRUE(doc.SaveFile(scratch));
        return ReadFile(scratch);
    };
    const QStringList base = {"--data-dir", data, "set", file, "--object", "128", "--price"};
    // One whole run gives the span to kill within.
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(QProcess::execute(QStringLiteral(KESTRANE_CLI), base + QStringList("1")), 0);
    const qint64 span = std::max<qint64>(clock.elapsed(), 20);

    int killed = 0, replaced = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QByteArray before = ReadFile(file);
        const int price = 100 + run;
        const QByteArray after = expectedAfter(before, price);
        QProcess child;
        child.start(QStringLiteral(KESTRANE_CLI), base + QStringList(QString::number(price)));
        ASSERT_TRUE(child.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(quint32(span)));
        if (child.state() != QProcess::NotRunning) {
            child.kill(); // SIGKILL
            ++killed;
        }
        child.waitForFinished();
        const QByteArray now = ReadFile(file);
        ASSERT_TRUE(now == before || now == after) << "run " << run;
        replaced += now == after;
    }
    HistoryStore store(data); // settles the rows the killed programs left pending
    ASSERT_TRUE(store.open());
    const QList<HistoryChange> changes = store.changes();
    ASSERT_EQ(changes.size(), replaced + 1);
    for (const HistoryChange& change : changes)
        EXPECT_TRUE(store.hasContent(change.beforeHash)) << change.id;
    EXPECT_EQ(changes[0].afterHash, Sha256(ReadFile(file)).toHex());
    EXPECT_GT(killed, 0);
    std::printf("killed %d of %d runs, %d saves completed\n", killed, kRuns, replaced);
}

} // namespace
