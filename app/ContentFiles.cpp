// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContentFiles.h"

#include "Sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// zlib's fastest level packs a typical object file to a third of its size at hundreds of MB/s;
// above this size the time would show in the save, so larger files are kept as they are.
constexpr qsizetype kCompressUpTo = 8 * 1024 * 1024;
const QString kCompressedSuffix = QStringLiteral(".z");

bool isHexHash(const QByteArray& hash)
{
    if (hash.size() != 64)
        return false;
    for (const char c : hash) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

} // namespace

namespace
{

#ifdef Q_OS_UNIX
FileStamp stampFrom(const struct stat& st)
{
    FileStamp stamp;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.links = quint64(st.st_nlink);
    stamp.size = qint64(st.st_size);
    stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}
#endif

} // namespace

FileStamp StampOf(int fd)
{
#ifdef Q_OS_UNIX
    struct stat st {
    };
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return stampFrom(st);
#else
    Q_UNUSED(fd);
#endif
    return FileStamp();
}

FileStamp StampOfPath(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
        return stampFrom(st);
#else
    Q_UNUSED(path);
#endif
    return FileStamp();
}

bool SyncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

ContentFiles::ContentFiles(const QString& folder) : m_folder(folder) {}

bool ContentFiles::ensureFolder(QString* error) const
{
    const QFileInfo info(m_folder);
    if (info.isDir())
        return true;
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = QStringLiteral("The history folder %1 could not be made.").arg(m_folder);
        return false;
    }
    SyncFolder(QFileInfo(QDir::cleanPath(m_folder)).path());
    return true;
}

QString ContentFiles::fileOf(const QByteArray& hexHash) const
{
    if (!isHexHash(hexHash))
        return QString();
    const QString plain = m_folder + QString::fromLatin1(hexHash);
    if (QFileInfo::exists(plain))
        return plain;
    if (QFileInfo::exists(plain + kCompressedSuffix))
        return plain + kCompressedSuffix;
    return QString();
}

bool ContentFiles::put(const QByteArray& hexHash, const QByteArray& bytes, qint64* storedSize,
                       QString* error) const
{
    const QString existing = fileOf(hexHash);
    if (!existing.isEmpty()) {
        if (storedSize)
            *storedSize = QFileInfo(existing).size();
        return true;
    }
    if (!isHexHash(hexHash) || !ensureFolder(error)) {
        if (error && error->isEmpty())
            *error = QStringLiteral("The content has no valid name.");
        return false;
    }
    bool compressed = false;
    const QByteArray data = pack(bytes, &compressed);
    QSaveFile file(m_folder + QString::fromLatin1(hexHash) +
                   (compressed ? kCompressedSuffix : QString()));
    // QSaveFile syncs the content before it renames it into place.
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!SyncFolder(m_folder)) {
        if (error)
            *error = QStringLiteral("The history folder %1 could not be synced.").arg(m_folder);
        return false;
    }
    if (storedSize)
        *storedSize = data.size();
    return true;
}

QByteArray ContentFiles::pack(const QByteArray& bytes, bool* compressed)
{
    *compressed = false;
    if (bytes.size() > kCompressUpTo || bytes.size() < 64)
        return bytes;
    QByteArray packed = qCompress(bytes, 1);
    // Worth it only when it saves a tenth or more.
    if (packed.size() > bytes.size() - bytes.size() / 10)
        return bytes;
    *compressed = true;
    return packed;
}

bool ContentFiles::link(const QByteArray& hexHash, const QString& source,
                        const FileStamp& stamp) const
{
#ifdef Q_OS_UNIX
    // A file with other names could be changed through them after the save.
    if (!isHexHash(hexHash) || !stamp.valid() || stamp.links != 1 || has(hexHash) ||
        !ensureFolder(nullptr))
        return false;
    const QString target = m_folder + QString::fromLatin1(hexHash);
    const QByteArray from = QFile::encodeName(source);
    if (::link(from.constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    // The same file, unchanged since it was hashed, and its bytes on disk.
    const FileStamp linked = StampOfPath(target);
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY);
    const bool synced = fd >= 0 && ::fdatasync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced || !linked.sameBytes(stamp) || linked.links != 2 || !SyncFolder(m_folder)) {
        QFile::remove(target);
        return false;
    }
    return true;
#else
    Q_UNUSED(hexHash);
    Q_UNUSED(source);
    Q_UNUSED(stamp);
    return false;
#endif
}

std::optional<QByteArray> ContentFiles::get(const QByteArray& hexHash, QString* error) const
{
    const QString name = fileOf(hexHash);
    if (name.isEmpty()) {
        if (error)
            *error = QStringLiteral("The kept copy is missing from the history.");
        return std::nullopt;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (name.endsWith(kCompressedSuffix))
        bytes = qUncompress(bytes);
    if (Sha256(bytes).toHex() != hexHash) {
        if (error)
            *error = QStringLiteral("The kept copy in the history is damaged.");
        return std::nullopt;
    }
    return bytes;
}

qint64 ContentFiles::storedSize(const QByteArray& hexHash) const
{
    const QString name = fileOf(hexHash);
    return name.isEmpty() ? 0 : QFileInfo(name).size();
}

void ContentFiles::remove(const QByteArray& hexHash) const
{
    if (!isHexHash(hexHash))
        return;
    const QString plain = m_folder + QString::fromLatin1(hexHash);
    QFile::remove(plain);
    QFile::remove(plain + kCompressedSuffix);
}

std::optional<QByteArray> HashOfFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Sha256(file.readAll()).toHex();
}
