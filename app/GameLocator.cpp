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

const QString kLegacyFolder = QStringLiteral("steamapps/common/The Sims Legacy Collection");

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

QString SteamInstallPath()
{
    const QString home = QDir::homePath();
    const QStringList roots = {home + QStringLiteral("/.local/share/Steam"),
                               home + QStringLiteral("/.steam/steam")};
    QSet<QString> seen;
    for (const QString& root : roots) {
        QStringList libraries{root};
        libraries += VdfLibraries(root + QStringLiteral("/steamapps/libraryfolders.vdf"));
        for (const QString& library : libraries) {
            const QString canonical = QFileInfo(library).canonicalFilePath();
            if (canonical.isEmpty() || seen.contains(canonical))
                continue;
            seen.insert(canonical);
            const QString game = canonical + QLatin1Char('/') + kLegacyFolder;
            if (QFileInfo(game + QStringLiteral("/GameData")).isDir())
                return game;
        }
    }
    return QString();
}

} // namespace

QString GetGameFolder()
{
    // The registry first: the original release and Wine installs write InstallPath.
    const QString installPath = RegistryInstallPath();
    QString local;
    if (!installPath.isEmpty()) {
        local = LocalInstallPath(installPath);
        if (!local.isEmpty() && QFileInfo(local).isDir())
            return local;
    }
    // The 2025 re-release writes no InstallPath; Steam keeps it in one of its libraries.
    const QString steam = SteamInstallPath();
    return steam.isEmpty() ? local : steam;
}
