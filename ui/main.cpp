// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameLanguages.h"
#include "Licence.h"
#include "Pictures.h"
#include "QtPrompt.h"
#include "Startup.h"
#include "frmMain.h"
#include "modConvert.h"
#include "modMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

void BusyCursor(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

// Qt's own version option would print no licence.
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("Displays the version and the licence."));
const QCommandLineOption kDataDir(QStringLiteral("data-dir"),
                                  QStringLiteral("Keep presets.dat and folders.dat in <dir>. "
                                                 "Without it: the program's own folder when "
                                                 "one of them is there, otherwise "
                                                 "~/.local/share/Kestrane."),
                                  QStringLiteral("dir"));
const QCommandLineOption kGameDir(QStringLiteral("game-dir"),
                                  QStringLiteral("Use <dir> as the game folder."),
                                  QStringLiteral("dir"));

const QCommandLineOption kLanguage(QStringLiteral("language"),
                                   QStringLiteral("Show and edit the catalog text of <language> "
                                                  "(a code from 1 to 20 or a name such as "
                                                  "\"UK English\") instead of the game's own."),
                                   QStringLiteral("language"));

void Describe(QCoreApplication& app, QCommandLineParser& parser)
{
    SetProgramName();
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(KESTRANE_VERSION_MAJOR)
                                                .arg(KESTRANE_VERSION_MINOR)
                                                .arg(KESTRANE_VERSION_PATCH));
    parser.setApplicationDescription(QStringLiteral("Catalog editor for The Sims' objects"));
    parser.addHelpOption();
    parser.addOption(kVersion);
    parser.addOption(kDataDir);
    parser.addOption(kGameDir);
    parser.addOption(kLanguage);
    parser.process(app); // --help prints and ends here
    if (parser.isSet(kVersion)) {
        std::printf("%s %s\n%s", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()), kVersionNotice);
        std::exit(EXIT_SUCCESS);
    }
}

// --help and --version need no display: answer them before any window system is opened.
bool AsksForText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* text : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], text) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (AsksForText(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        QCommandLineParser parser;
        Describe(textOnly, parser);
    }

    QApplication app(argc, argv);
    QCommandLineParser parser;
    Describe(app, parser);
    // The desktop entry's name, so that the taskbar matches the window to it and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRANE_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());

    StartupOptions options;
    options.dataDir = parser.value(kDataDir);
    options.gameDir = parser.value(kGameDir);
    if (parser.isSet(kLanguage)) {
        options.language = GameLanguages::FromText(parser.value(kLanguage));
        if (!options.language) {
            std::fprintf(stderr, "kestrane: --language needs a code from 1 to 20 or a "
                                 "language's name, such as \"UK English\".\n");
            return 2;
        }
    }

    QtPrompt prompt;
    SetPrompt(&prompt);
    SetBusyCursorHook(&BusyCursor);

    const std::unique_ptr<frmMain> window = Main(options);
    if (!window)
        return 1;
    const int code = app.exec();
    SetPrompt(nullptr);
    return code;
}
