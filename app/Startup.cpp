#include "Startup.h"

#include "DataFiles.h"
#include "DefaultFolders.h"
#include "GameLocator.h"
#include "ProgramState.h"
#include "modConvert.h"
#include "modGeneral.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

QString TwoDigits(int number)
{
    return (QStringLiteral("00") + QString::number(number)).right(2);
}

QString WithSlash(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace

QString BuildVersionText(int major, int minor, int revision)
{
    QString text = QString::number(major) + QLatin1Char('.') + TwoDigits(minor);
    if (revision != 0)
        text += QLatin1Char('.') + TwoDigits(revision);
    return text;
}

QString DefaultProgramFolder()
{
    if (QCoreApplication::instance()) {
        const QString exeFolder = QCoreApplication::applicationDirPath();
        if (!exeFolder.isEmpty() && QFileInfo(exeFolder).isWritable())
            return WithSlash(exeFolder);
    }
    // Installed system-wide the executable's folder is not ours to write.
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share/") + QLatin1String(kProgramName);
    QDir().mkpath(data);
    return WithSlash(data);
}

StartupResult RunStartup(const StartupOptions& options)
{
    ProgramState.VersionText =
        BuildVersionText(KESTRANE_VERSION_MAJOR, KESTRANE_VERSION_MINOR, KESTRANE_VERSION_PATCH);
    ProgramState.IffSignature25 = MakeIffSignature("2.5");
    ProgramState.IffSignature20 = MakeIffSignature("2.0");
    ProgramState.ProgramFolder =
        options.dataDir.isEmpty() ? DefaultProgramFolder() : WithSlash(options.dataDir);

    const QString found = options.gameDir.isEmpty() ? GetGameFolder() : options.gameDir;
    ProgramState.GameFolder = WithSlash(found);
    if (found.isEmpty() || !PathExists(ProgramState.GameFolder, true))
        return StartupResult::GameNotFound;

    InitConvert();
    ProgramState.Presets.clear();
    LoadPresets();
    ProgramState.Folders.clear();
    LoadFolders();
    if (ProgramState.Folders.isEmpty())
        SetDefaultFolders();
    return StartupResult::Ready;
}
