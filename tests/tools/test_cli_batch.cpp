// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliTestSupport.h"
#include "clsIFF.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

// Two copies of the catalog file in the first listed folder: OBJD 128 (price 250, hidden),
// 129 (price 40) and the lead tile 130 (price 900) are listed; a third file elsewhere.
class CliBatch : public CliTest
{
protected:
    void SetUp() override
    {
        for (const QString& file : {a, b, c})
            MakeFile(file, CatalogFileBytes());
    }
    QString files() const { return a + ' ' + b + ' '; }
    static QString fields(const QString& file)
    {
        clsIFF doc;
        if (!doc.LoadFile(file))
            return QString();
        QStringList all;
        for (const quint16 id : {128, 129, 130})
            all << QStringLiteral("%1/%2/%3")
                       .arg(doc.GetPrice(id))
                       .arg(doc.GetDisabled(id))
                       .arg(doc.GetSorts(id)[0]);
        return all.join(' ');
    }
    const QString a = path("game/Downloads/a.iff"), b = path("game/Downloads/sub/b.iff");
    const QString c = path("elsewhere/c.iff");
};

} // namespace

TEST_F(CliBatch, DryRunPrintsWhatTheRealRunDoesAndChangesNothing)
{
    const QString edit = QStringLiteral("--price-change 10 --sort \"function=+SURFACES,-Seating\" "
                                        "--sort \"Build Mode=Doors\" --hide");
    const QByteArray before = ReadFile(a);
    const CliResult dry = Cli("set " + files() + edit + " --dry-run");
    ASSERT_EQ(dry.code, 0) << dry.err.toStdString();
    EXPECT_EQ(ReadFile(a), before);
    const CliResult real = Cli("set " + files() + edit);
    EXPECT_EQ(real.code, 0);
    EXPECT_EQ(real.out, dry.out);
    const QJsonArray changes = QJsonDocument::fromJson(dry.out.toUtf8()).array();
    ASSERT_EQ(changes.size(), 6);
    // OBJD 128 was hidden already: its Disabled flag is no change. 10 % of 250 and 40 and 900.
    const QJsonObject first = changes[0].toObject();
    EXPECT_EQ(first["file"].toString(), a);
    EXPECT_EQ(first["id"].toInt(), 128);
    EXPECT_EQ(QJsonDocument(first["changes"].toObject()).toJson(QJsonDocument::Compact),
              QByteArray("{\"price\":[250,275],\"sorts\":[[1,2,4,8,16,32,64,128,3],"
                         "[2,2,4,8,16,32,64,128,1]]}"));
    EXPECT_EQ(fields(b), QStringLiteral("275/1/2 44/1/130 990/1/2"));
    EXPECT_EQ(Output("set " + files() + "--hide"), QStringLiteral("[\n]\n")); // as asked

    // Each row: options, exit status, a text of the error stream, a's and b's fields after.
    const QString changed = fields(a);
    ASSERT_EQ(changed, fields(b));
    const std::tuple<QString, int, QString, QString, QString> cases[] = {
        {"--price-change 10000", 1, "Object 130 'Oak Chair' (price 990) would cost 99990, in",
         changed, changed},
        {"--object 129 --price-change -50.5", 0, "", "275/1/2 22/1/130 990/1/2",
         "275/1/2 22/1/130 990/1/2"},
        {"--object 129 --show", 1, "b.iff (read-only)", "275/1/2 22/0/130 990/1/2",
         "275/1/2 22/1/130 990/1/2"},
    };
    for (const auto& [options, code, message, afterA, afterB] : cases) {
        if (code == 1 && message.contains("read-only"))
            QFile::setPermissions(b, QFileDevice::ReadOwner);
        const CliResult result = Cli("set " + files() + options);
        EXPECT_EQ(result.code, code) << options.toStdString() << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(message)) << result.err.toStdString();
        EXPECT_EQ(std::pair(fields(a), fields(b)), std::pair(afterA, afterB));
    }
    EXPECT_EQ(fields(c), QStringLiteral("250/1/1 40/0/128 900/0/0"));
}

TEST_F(CliBatch, MatchChoosesByWordsOverTheListedFoldersAndMoveKeepsOrSkipsNames)
{
    ASSERT_TRUE(QDir().mkpath(data));
    const QString set = dirs + "set --match 0x00000080 --price 7";
    const QJsonArray matched = QJsonDocument::fromJson(Output(set).toUtf8()).array();
    ASSERT_EQ(matched.size(), 2);
    EXPECT_EQ(matched[1].toObject()["file"].toString(), b);
    EXPECT_EQ(fields(a).left(6), QStringLiteral("7/1/1 "));
    EXPECT_EQ(fields(c).left(8), QStringLiteral("250/1/1 "));

    const QString to = path("game/Downloads/tidy");
    MakeFile(to + "/a.iff", "theirs");
    const CliResult skipped = Cli(dirs + "move " + files() + "--to " + to);
    EXPECT_EQ(skipped.code, 1);
    EXPECT_TRUE(skipped.err.contains("a.iff (skipped, name taken)")) << skipped.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(to + "/b.iff") && QFileInfo::exists(a));
    Output(dirs + "move " + a + " --to " + to + " --keep-both");
    EXPECT_EQ(fields(to + "/a (2).iff").left(6), QStringLiteral("7/1/1 "));
    EXPECT_EQ(ReadFile(to + "/a.iff"), QByteArray("theirs"));
    Output(dirs + "restore " + a);
    EXPECT_FALSE(QFileInfo::exists(to + "/a (2).iff"));
    EXPECT_EQ(fields(a).left(6), QStringLiteral("7/1/1 "));
    EXPECT_EQ(Cli(dirs + "move " + a).code, 2);
}
