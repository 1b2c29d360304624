// SPDX-License-Identifier: GPL-3.0-or-later
#include "Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// The home trash, $XDG_DATA_HOME/Trash; where Qt looks for it too.
QString HomeTrash()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Trash");
}

// Creates path and its missing parents for this user alone. Qt 6.4 does not create the data
// folder; without it, it takes the working folder for the trash.
bool MakeOwnFolder(const QString& path)
{
    QStringList missing;
    QString at = QDir::cleanPath(path);
    while (!at.isEmpty() && !QFileInfo::exists(at)) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QString& folder : missing)
        if (!QDir().mkdir(folder, kOwnerOnly))
            return false;
    return QFileInfo(path).isDir();
}

QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// True when trashed (a file's new place) lies in the files/ folder of the home trash or of
// a trash at the top of its volume ($topdir/.Trash-$uid or $topdir/.Trash/$uid).
bool IsInsideTrash(const QString& trashed)
{
    const QFileInfo place(trashed);
    const QString filesFolder = Canonical(place.path());
    if (filesFolder.isEmpty() || QFileInfo(filesFolder).fileName() != QLatin1String("files"))
        return false;
    const QString trash = QFileInfo(filesFolder).path();
    QString root = QStorageInfo(filesFolder).rootPath();
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QString uid = QString::number(::getuid());
    for (const QString& candidate : {HomeTrash(), root + QStringLiteral(".Trash-") + uid,
                                     root + QStringLiteral(".Trash/") + uid}) {
        const QString known = Canonical(candidate);
        if (!known.isEmpty() && known == trash)
            return true;
    }
    return false;
}

#endif

} // namespace

bool MoveToTrash(const QString& path, QString* error, QString* trashedPath)
{
    if (path.isEmpty())
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // A failure here is not final: a file on another volume goes to that volume's trash. Where
    // the file really went is checked below.
    const QString home = HomeTrash();
    MakeOwnFolder(home + QStringLiteral("/files"));
    MakeOwnFolder(home + QStringLiteral("/info"));
#endif
    QFile file(path);
    if (!file.moveToTrash()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // After the move the file object names the file's place.
    const QString place = file.fileName();
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!IsInsideTrash(place)) {
        // Qt writes the file's information note beside the folder it moved the file to.
        const QFileInfo moved(place);
        QFile::remove(QDir::cleanPath(moved.path() + QStringLiteral("/../info/") +
                                      moved.fileName() + QStringLiteral(".trashinfo")));
        const bool back = QFile::rename(place, path);
        if (error)
            *error = back ? QStringLiteral("The trash could not be used: the file was moved to "
                                           "%1, which is not a trash folder, and was put back.")
                                .arg(place)
                          : QStringLiteral("The trash could not be used: the file was moved to "
                                           "%1, which is not a trash folder, and could not be "
                                           "put back.")
                                .arg(place);
        return false;
    }
#endif
    if (trashedPath)
        *trashedPath = place;
    return true;
}
