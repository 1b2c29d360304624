// SPDX-License-Identifier: GPL-3.0-or-later
#include "modGeneral.h"

#include "ProgramState.h"
#include "Prompt.h"
#include "Trash.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

bool IsHiddenName(const QString& fileName)
{
    return fileName.startsWith(QLatin1Char('.'));
}

// Something still occupies the path: a file of any kind, a hidden one included, or a
// dangling link.
bool AnythingAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

bool PathExists(const QString& path, bool isFolder)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const QFileInfo info(path);
    if (isFolder)
        return info.isDir() && info.isReadable() && info.isExecutable();
    return info.isFile() && !IsHiddenName(info.fileName());
}

bool IsNewFolder(const QString& path, int indexToIgnore)
{
    const auto& folders = ProgramState.Folders;
    for (int i = 0; i < folders.size(); ++i) {
        if (i != indexToIgnore && folders[i].Path == path)
            return false;
    }
    return true;
}

void SetReadOnly(const QString& path, bool readOnly)
{
    if (path.isEmpty())
        return;
#ifdef Q_OS_UNIX
    // chmod directly: QFile's permission flags would drop the set-id and sticky bits.
    const QByteArray native = QFile::encodeName(path);
    struct stat st {
    };
    if (::stat(native.constData(), &st) != 0)
        return;
    mode_t mode = st.st_mode & 07777;
    if (readOnly)
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    ::chmod(native.constData(), mode);
#else
    QFile file(path);
    auto perms = file.permissions();
    if (readOnly)
        perms &= ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
                   QFileDevice::WriteOther);
    else
        perms |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    file.setPermissions(perms);
#endif
}

bool RecycleFile(const QString& path, QString* error)
{
    return RecycleFile(path, error, [](const QString& from, QString* reason, QString* trashed) {
        return MoveToTrash(from, reason, trashed);
    });
}

bool RecycleFile(const QString& path, QString* error, const TrashMove& move)
{
    if (error)
        error->clear();
    if (path.isEmpty())
        return false;
    SetReadOnly(path, false);
    if (!CurrentPrompt().confirmTrash(path))
        return false;
    QString reason;
    const bool moved = move(path, &reason, nullptr);
    // Gone means nothing is left at the path: a hidden file that stayed must not count as
    // deleted just because PathExists ignores hidden files.
    const bool gone = !PathExists(path, false) && !AnythingAt(path);
    if (!gone && error)
        *error = moved || reason.isEmpty() ? QStringLiteral("The file is still there.") : reason;
    return gone;
}
