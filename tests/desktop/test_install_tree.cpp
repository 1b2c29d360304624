// SPDX-License-Identifier: GPL-3.0-or-later
// The tree that cmake --install lays out: both programs, the menu entry and its icon, the
// AppStream metadata, the man pages, the copyright file and the changelog. The entry and the
// metadata must pass the desktop's own validators where those are installed.
#include "IffBytes.h"

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
    const QString icons = prefix.filePath("share/icons/hicolor/");
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(QImage(icons + QStringLiteral("%1x%1/apps/").arg(side) + id + ".png").size(),
                  QSize(side, side))
            << side;

    // Each installed text, or each program's exit code and output, starts as given and holds
    // the rest: the menu entry starts the installed program and names the installed icon, and
    // the licence and version are wherever a user or a packaging tool looks for them.
    const auto file = [](const QString& path) {
        return std::pair{0, QString::fromUtf8(ReadFile(path))};
    };
    const auto unzipped = [&prefix](const char* path) {
        return Execute("gzip", {"-dc", prefix.filePath(QLatin1String(path))});
    };
    const QString version = QStringLiteral(KESTRANE_VERSION), bin = prefix.filePath("bin/");
    const QString notice = "\nCopyright (C) 2026 The Kestrane developers\nLicense GPLv3+: GNU GPL "
                           "version 3 or later <https://gnu.org/licenses/gpl.html>.\n";
    const std::tuple<std::pair<int, QString>, QString, QStringList> texts[] = {
        {file(entry), "[Desktop Entry]\n", {"\nExec=kestrane\n", "\nIcon=" + id + "\n"}},
        {file(icons + "scalable/apps/" + id + ".svg"), "<svg ", {"</svg>"}},
        {file(metadata), "<?xml", {"\n  <project_license>GPL-3.0-or-later</project_license>\n"}},
        {unzipped("share/man/man1/kestrane.1.gz"), ".TH KESTRANE 1", {"\n.SH COPYRIGHT\n"}},
        {unzipped("share/man/man1/kestrane-cli.1.gz"), ".TH KESTRANE-CLI 1", {"\n.SH COPYRIGHT\n"}},
        {file(prefix.filePath("share/doc/kestrane/copyright")),
         "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n",
         {"\n\nFiles: *\nCopyright: 2026 The Kestrane developers\nLicense: GPL-3+\n",
          "\n\nLicense: GPL-3+\n This program is free software", "/common-licenses/GPL-3\".\n"}},
        {unzipped("share/doc/kestrane/changelog.gz"), "kestrane (" + version + ") ", {}},
        {Execute(bin + "kestrane", {"--version"}), "Kestrane " + version + notice, {}},
        {Execute(bin + "kestrane-cli", {"--version"}), "kestrane-cli " + version + notice, {}},
    };
    for (const auto& [result, start, parts] : texts) {
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
