// The tree that cmake --install lays out: both programs, the menu entry and its icon, the
// AppStream metadata, the man pages, the copyright file and the changelog. The entry and the
// metadata must pass the desktop's own validators where those are installed.
#include "IffBytes.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

namespace
{

// The exit code (-1 when the program did not finish) and the output of both channels.
std::pair<int, QString> Execute(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ran =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {ran ? process.exitCode() : -1, QString::fromUtf8(process.readAll())};
}

} // namespace

TEST(InstallTree, ProgramsMenuEntryIconsManPagesAndValidMetadata)
{
    QTemporaryDir prefix;
    const auto [code, output] =
        Execute(QStringLiteral(KESTRANE_CMAKE),
                {"--install", KESTRANE_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_EQ(code, 0) << output.toStdString();
    const QString id = QStringLiteral(KESTRANE_APP_ID);
    const QString entry = prefix.filePath("share/applications/" + id + ".desktop");
    const QString metadata = prefix.filePath("share/metainfo/" + id + ".metainfo.xml");
    EXPECT_TRUE(QFileInfo(prefix.filePath("bin/kestrane")).isExecutable());
    EXPECT_TRUE(QFileInfo(prefix.filePath("bin/kestrane-cli")).isExecutable());
    for (const QString& file : {metadata, prefix.filePath("share/man/man1/kestrane.1.gz"),
                                prefix.filePath("share/man/man1/kestrane-cli.1.gz")})
        EXPECT_GT(QFileInfo(file).size(), 200) << file.toStdString();

    // The menu entry starts the installed program and names the installed icon.
    const QByteArray entryText = ReadFile(entry);
    EXPECT_TRUE(entryText.contains("\nExec=kestrane\n"));
    EXPECT_TRUE(entryText.contains("\nIcon=" + id.toUtf8() + "\n"));
    const QString icons = prefix.filePath("share/icons/hicolor/");
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(QImage(icons + QStringLiteral("%1x%1/apps/").arg(side) + id + ".png").size(),
                  QSize(side, side))
            << side;
    const QByteArray svg = ReadFile(icons + "scalable/apps/" + id + ".svg");
    EXPECT_TRUE(svg.startsWith("<svg ") && svg.trimmed().endsWith("</svg>"));

    // The licence and the version, wherever a user or a packaging tool looks for them: each
    // text (or a program's exit code and output) starts as given and holds the rest.
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(KESTRANE_VERSION_MAJOR)
                                .arg(KESTRANE_VERSION_MINOR)
                                .arg(KESTRANE_VERSION_PATCH);
    const QString doc = prefix.filePath("share/doc/kestrane/");
    const QString gnuNotice = "\nLicense GPLv3+: GNU GPL version 3 or later "
                              "<https://gnu.org/licenses/gpl.html>.\n";
    const std::tuple<std::pair<int, QString>, QString, QStringList> licensed[] = {
        {{0, QString::fromUtf8(ReadFile(metadata))},
         "<?xml",
         {"\n  <project_license>GPL-3.0-or-later</project_license>\n"}},
        {{0, QString::fromUtf8(ReadFile(doc + "copyright"))},
         "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n",
         {"\n\nFiles: *\nCopyright: 2026 The Kestrane developers\nLicense: GPL-3+\n",
          "\n\nLicense: GPL-3+\n This program is free software",
          " can be found in \"/usr/share/common-licenses/GPL-3\".\n"}},
        {Execute("gzip", {"-dc", doc + "changelog.gz"}), "kestrane (" + version + ") ", {}},
        {Execute(prefix.filePath("bin/kestrane"), {"--version"}),
         "Kestrane " + version + "\nCopyright",
         {gnuNotice}},
        {Execute(prefix.filePath("bin/kestrane-cli"), {"--version"}),
         "kestrane-cli " + version + "\nCopyright",
         {gnuNotice}},
    };
    for (const auto& [result, start, parts] : licensed) {
        const auto& [status, text] = result;
        EXPECT_EQ(status, 0) << text.toStdString();
        EXPECT_TRUE(text.startsWith(start))
            << start.toStdString() << " starts " << text.toStdString();
        for (const QString& part : parts)
            EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
    }

    const std::pair<const char*, QStringList> validators[] = {
        {"desktop-file-validate", {entry}}, {"appstreamcli", {"validate", "--no-net", metadata}}};
    for (const auto& [name, arguments] : validators) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (program.isEmpty())
            continue;
        const auto [status, said] = Execute(program, arguments);
        EXPECT_EQ(status, 0) << name << ": " << said.toStdString();
        for (const char* bad : {"error:", "warning:", "\nE:", "\nW:"})
            EXPECT_FALSE(("\n" + said).contains(QLatin1String(bad)))
                << name << ": " << said.toStdString();
    }
}
