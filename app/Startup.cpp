// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include "DataFiles.h"
#include "DefaultFolders.h"
#include "GameLanguage.h"
#include "GameLanguages.h"
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

void SetProgramName()
{
    QCoreApplication::setApplicationName(QLatin1String(kProgramName));
}

QString UserDataFolder()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share/") + QLatin1String(kProgramName);
    return WithSlash(data);
}

QString ChooseDataFolder(const QString& dataDir, const QStringList& portableFolders)
{
    if (!dataDir.isEmpty())
        return WithSlash(dataDir);
    for (const QString& folder : portableFolders) {
        const QDir dir(folder);
        if (!folder.isEmpty() && (QFileInfo::exists(dir.filePath(QStringLiteral("presets.dat"))) ||
                                  QFileInfo::exists(dir.filePath(QStringLiteral("folders.dat")))))
            return WithSlash(folder);
    }
    return UserDataFolder();
}

QString DefaultProgramFolder()
{
    QStringList portable;
    if (QCoreApplication::instance())
        portable << QCoreApplication::applicationDirPath();
    return ChooseDataFolder(QString(), portable);
}

quint8 FindGameLanguage(const QString& gameDir)
{
    const QString prefix = gameDir.isEmpty() ? LocateGame().prefix : PrefixOfGameFolder(gameDir);
    const quint8 found = ReadGameLanguage(prefix);
    return found ? found : GameLanguages::kUsEnglish;
}

StartupResult RunStartup(const StartupOptions& options)
{
    ProgramState.VersionText =
        BuildVersionText(KESTRANE_VERSION_MAJOR, KESTRANE_VERSION_MINOR, KESTRANE_VERSION_PATCH);
    ProgramState.IffSignature25 = MakeIffSignature("2.5");
    ProgramState.IffSignature20 = MakeIffSignature("2.0");
    ProgramState.ProgramFolder =
        options.dataDir.isEmpty() ? DefaultProgramFolder() : WithSlash(options.dataDir);

    GameInstall install{options.gameDir, QString()};
    if (install.folder.isEmpty())
        install = LocateGame();
    else
        install.prefix = PrefixOfGameFolder(install.folder);
    const QString& found = install.folder;
    ProgramState.GameFolder = WithSlash(found);
    if (options.language) {
        ProgramState.GameLanguage = options.language;
    } else {
        const quint8 language = ReadGameLanguage(install.prefix);
        ProgramState.GameLanguage = language ? language : GameLanguages::kUsEnglish;
    }
    if (found.isEmpty() || !PathExists(ProgramState.GameFolder, true))
        return StartupResult::GameNotFound;

    // The per-user folder is made on first use, so that closing the window can write there.
    if (options.dataDir.isEmpty())
        QDir().mkpath(ProgramState.ProgramFolder);
    InitConvert();
    ProgramState.Presets.clear();
    LoadPresets();
    ProgramState.Folders.clear();
    LoadFolders();
    if (ProgramState.Folders.isEmpty())
        SetDefaultFolders();
    return StartupResult::Ready;
}
