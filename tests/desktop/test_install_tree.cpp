// The tree that cmake --install lays out: both programs, the menu entry and its icon, the
// AppStream metadata and the man pages. The entry and the metadata must pass the desktop's own
// validators; those tests are skipped where the validators are not installed.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace
{

const QString kId = QStringLiteral(KESTRANE_APP_ID);

struct Outcome {
    int code = -1;
    QString output;
};

Outcome Execute(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Outcome run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        run.code = process.exitCode();
    run.output = QString::fromUtf8(process.readAll());
    return run;
}

class InstallTree : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix = std::make_unique<QTemporaryDir>();
        install = Execute(QStringLiteral(KESTRANE_CMAKE),
                          {"--install", KESTRANE_BUILD_DIR, "--prefix", prefix->path()});
    }
    static void TearDownTestSuite() { prefix.reset(); }
    void SetUp() override { ASSERT_EQ(install.code, 0) << install.output.toStdString(); }

    static QString path(const QString& relative) { return prefix->filePath(relative); }

    static inline std::unique_ptr<QTemporaryDir> prefix;
    static inline Outcome install;
};

TEST_F(InstallTree, ProgramsMenuEntryIconsAndManPages)
{
    for (const char* program : {"bin/kestrane", "bin/kestrane-cli"})
        EXPECT_TRUE(QFileInfo(path(program)).isExecutable()) << program;
    for (const QString& file :
         {"share/metainfo/" + kId + ".metainfo.xml", QStringLiteral("share/man/man1/kestrane.1.gz"),
          QStringLiteral("share/man/man1/kestrane-cli.1.gz")})
        EXPECT_GT(QFileInfo(path(file)).size(), 200) << file.toStdString();

    // The menu entry starts the installed program and names the installed icon.
    QFile entry(path("share/applications/" + kId + ".desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QByteArray entryText = entry.readAll();
    EXPECT_TRUE(entryText.contains("\nExec=kestrane\n"));
    EXPECT_TRUE(entryText.contains("\nIcon=" + kId.toUtf8() + "\n"));

    const QString icons = path("share/icons/hicolor/");
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage png(icons + QStringLiteral("%1x%1/apps/").arg(side) + kId + ".png");
        EXPECT_EQ(png.size(), QSize(side, side)) << side;
    }
    QFile svg(icons + "scalable/apps/" + kId + ".svg");
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.startsWith("<svg ") && text.trimmed().endsWith("</svg>"));
    EXPECT_EQ(text.count("<path "), 2) << "the ground and the bird";
}

TEST_F(InstallTree, ValidatorsAcceptTheMenuEntryAndTheMetadata)
{
    struct Validator {
        const char* program;
        QStringList arguments;
    } validators[] = {
        {"desktop-file-validate", {path("share/applications/" + kId + ".desktop")}},
        {"appstreamcli", {"validate", "--no-net", path("share/metainfo/" + kId + ".metainfo.xml")}},
    };
    int ran = 0;
    for (const Validator& v : validators) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(v.program));
        if (program.isEmpty())
            continue;
        ++ran;
        const Outcome run = Execute(program, v.arguments);
        EXPECT_EQ(run.code, 0) << v.program << ": " << run.output.toStdString();
        for (const char* bad : {"error:", "warning:", "\nE:", "\nW:"})
            EXPECT_FALSE(("\n" + run.output).contains(QLatin1String(bad)))
                << v.program << ": " << run.output.toStdString();
    }
    if (ran == 0)
        GTEST_SKIP() << "desktop-file-validate and appstreamcli are not installed";
}

} // namespace
