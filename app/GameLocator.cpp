// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameLocator.h"

#include "CProgramSettings.h"
#include "RegistryBackend.h"
#include "WineRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

namespace
{

const QString kSteamAppId = QStringLiteral("3314060");
const QString kLegacyFolder = QStringLiteral("The Sims Legacy Collection");

bool HoldsGame(const QString& folder)
{
    return QFileInfo(folder + QStringLiteral("/GameData")).isDir();
}

QString ProtonPrefix(const QString& library)
{
    return library + QStringLiteral("/steamapps/compatdata/") + kSteamAppId +
           QStringLiteral("/pfx");
}

QString RegistryInstallPath()
{
    CProgramSettings settings;
    settings.setRootKey(HKEY_LOCAL_MACHINE_ROOT);
    settings.setMainBranch(QStringLiteral("SOFTWARE"));
    settings.setRegBase(QStringLiteral("Maxis"));
    settings.setProgram(QStringLiteral("The Sims"));
    settings.setSection(QString());
    return settings.ReadEntry(QStringLiteral("InstallPath"), QString());
}

// Windows paths ignore letter case; the files of a Wine prefix do not. Where the exact
// spelling is missing, take the one entry of the folder that differs only in case.
QString MatchCase(const QString& path)
{
    if (!path.startsWith(QLatin1Char('/')) || QFileInfo::exists(path))
        return path;
    QString current; // "" stands for the root
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QString next = current + QLatin1Char('/') + part;
        if (!QFileInfo::exists(next)) {
            const QDir folder(current.isEmpty() ? QStringLiteral("/") : current);
            const QStringList names = folder.entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
            for (const QString& name : names) {
                if (name.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current + QLatin1Char('/') + name;
                    break;
                }
            }
        }
        current = next;
    }
    return current;
}

// The Windows path of the registry as a local path; a path that is already local is kept.
QString LocalInstallPath(const QString& installPath)
{
    if (installPath.startsWith(QLatin1Char('/')))
        return installPath;
    const QString local = WineRegistry::ToLocalPath(WineRegistry::EnvironmentPrefix(), installPath);
    return local.isEmpty() ? QString() : MatchCase(local);
}

// The double-quoted strings of a libraryfolders.vdf, in order, with braces as tokens.
QStringList VdfTokens(const QByteArray& text)
{
    QStringList tokens;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '{' || c == '}') {
            tokens << QString(QLatin1Char(c));
        } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n')
                ++i;
        } else if (c == '"') {
            QByteArray token;
            for (++i; i < n && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i; // \\ and \" stand for the character itself
                token += text[i];
            }
            tokens << QString::fromUtf8(token);
        }
    }
    return tokens;
}

// Library folders named by libraryfolders.vdf: "path" entries of the current format, and the
// numbered entries of the older one ("1" "/mnt/games/Steam").
QStringList VdfLibraries(const QString& vdfPath)
{
    QFile file(vdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList tokens = VdfTokens(file.readAll());
    QStringList libraries;
    int depth = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const QString& t = tokens[i];
        if (t == QLatin1String("{")) {
            ++depth;
            continue;
        }
        if (t == QLatin1String("}")) {
            --depth;
            continue;
        }
        if (i + 1 >= tokens.size() || tokens[i + 1] == QLatin1String("{") ||
            tokens[i + 1] == QLatin1String("}"))
            continue;
        const QString& value = tokens[i + 1];
        bool numbered = false;
        t.toInt(&numbered);
        if (t.compare(QLatin1String("path"), Qt::CaseInsensitive) == 0 ||
            (numbered && depth == 1 && value.startsWith(QLatin1Char('/'))))
            libraries << value;
        ++i; // the value was consumed with its key
    }
    return libraries;
}

// The "installdir" of the game's app manifest in a library; empty without one.
QString ManifestInstallDir(const QString& library)
{
    QFile file(library + QStringLiteral("/steamapps/appmanifest_") + kSteamAppId +
               QStringLiteral(".acf"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QStringList tokens = VdfTokens(file.readAll());
    for (int i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].compare(QLatin1String("installdir"), Qt::CaseInsensitive) == 0 &&
            !tokens[i + 1].contains(QLatin1Char('/')) && tokens[i + 1] != QLatin1String("..") &&
            tokens[i + 1] != QLatin1String("{"))
            return tokens[i + 1];
    }
    return QString();
}

GameInstall SteamInstall()
{
    const QString home = QDir::homePath();
    const QStringList roots = {
        home + QStringLiteral("/.local/share/Steam"), home + QStringLiteral("/.steam/steam"),
        home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam")};
    QSet<QString> seen;
    for (const QString& root : roots) {
        QStringList libraries{root};
        libraries += VdfLibraries(root + QStringLiteral("/steamapps/libraryfolders.vdf"));
        for (const QString& library : libraries) {
            const QString canonical = QFileInfo(library).canonicalFilePath();
            if (canonical.isEmpty() || seen.contains(canonical))
                continue;
            seen.insert(canonical);
            // The manifest names the folder even when it was renamed or translated.
            const QString common = canonical + QStringLiteral("/steamapps/common/");
            for (const QString& name : {ManifestInstallDir(canonical), kLegacyFolder}) {
                if (!name.isEmpty() && HoldsGame(common + name))
                    return {common + name, ProtonPrefix(canonical)};
            }
        }
    }
    return {};
}

// The re-release installed by its own launcher into a Wine prefix (Lutris, Bottles).
QString PrefixInstall(const QString& prefix)
{
    for (const char* programFiles : {"Program Files", "Program Files (x86)"}) {
        const QString game = prefix + QStringLiteral("/drive_c/") + QLatin1String(programFiles) +
                             QStringLiteral("/EA Games/The Sims Legacy");
        if (HoldsGame(game))
            return game;
    }
    return QString();
}

} // namespace

GameInstall LocateGame()
{
    const QString prefix = WineRegistry::EnvironmentPrefix();
    // The registry first: the original release and Wine installs write InstallPath.
    const QString installPath = RegistryInstallPath();
    QString local;
    if (!installPath.isEmpty()) {
        local = LocalInstallPath(installPath);
        if (!local.isEmpty() && QFileInfo(local).isDir())
            return {local, prefix};
    }
    // The 2025 re-release writes no InstallPath.
    const QString launcher = PrefixInstall(prefix);
    if (!launcher.isEmpty())
        return {launcher, prefix};
    const GameInstall steam = SteamInstall();
    if (!steam.folder.isEmpty())
        return steam;
    // Nothing found: the prefix's registry may still name the language.
    return {local, prefix};
}

QString GetGameFolder()
{
    return LocateGame().folder;
}

QString PrefixOfGameFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    const qsizetype drive = path.lastIndexOf(QStringLiteral("/drive_c/"));
    if (drive > 0)
        return path.left(drive);
    const qsizetype steam = path.lastIndexOf(QStringLiteral("/steamapps/common/"));
    if (steam > 0)
        return ProtonPrefix(path.left(steam));
    return WineRegistry::EnvironmentPrefix();
}
