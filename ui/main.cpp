#include "QtPrompt.h"
#include "frmMain.h"
#include "modConvert.h"
#include "modMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>

namespace
{

void BusyCursor(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Catalog editor for The Sims' objects"));
    parser.addHelpOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep presets.dat and folders.dat in <dir>."),
                                     QStringLiteral("dir"));
    const QCommandLineOption gameDir(QStringLiteral("game-dir"),
                                     QStringLiteral("Use <dir> as the game folder."),
                                     QStringLiteral("dir"));
    parser.addOption(dataDir);
    parser.addOption(gameDir);
    parser.process(app);

    StartupOptions options;
    options.dataDir = parser.value(dataDir);
    options.gameDir = parser.value(gameDir);

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
