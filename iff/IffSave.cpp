#include "HugePages.h"
#include "ProgramState.h"
#include "Sha256.h"
#include "clsIFF.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QtEndian>
#include <limits>
#include <optional>

namespace
{

constexpr qsizetype kChunkHeaderSize = 76;

// Shown when the platform reports that another program holds the file (a sharing or lock
// conflict). Linux has no such refusal, so there it is never reached.
const char* const kFileInUseMessage = "This object is currently being used by another program "
                                      "and cannot be modified at this time.";

struct FormatGroup {
    QByteArray Format;
    QList<quint32> Offsets;
    QList<const clsResource*> Records;
};

void appendLE32(QByteArray& out, quint32 value)
{
    char b[4];
    qToLittleEndian(value, b);
    out.append(b, 4);
}

void appendLE16(QByteArray& out, quint16 value)
{
    char b[2];
    qToLittleEndian(value, b);
    out.append(b, 2);
}

void putBE32(QByteArray& out, qsizetype at, quint32 value)
{
    qToBigEndian(value, out.data() + at);
}

// What keeps a record from being written as a well-formed chunk, or nothing.
std::optional<QString> layoutProblem(const clsResource& r)
{
    const QString key = QString::fromLatin1(r.Key().toHex(' '));
    if (r.Format.size() != 4)
        return QStringLiteral("A resource's type code is not 4 bytes long (key bytes %1).")
            .arg(key);
    if (r.Unknown.size() != 2)
        return QStringLiteral("Resource %1 does not hold exactly 2 header bytes after its ID.")
            .arg(QString::fromLatin1(r.Key()));
    if (qint64(r.Length) != kChunkHeaderSize + r.Body().size())
        return QStringLiteral("Resource %1 declares %2 bytes but holds %3.")
            .arg(QString::fromLatin1(r.Key()))
            .arg(r.Length)
            .arg(kChunkHeaderSize + r.Body().size());
    return std::nullopt;
}

bool isLockConflict(const QSaveFile& file)
{
#ifdef Q_OS_WIN
    // Replacing a file that another program holds open is refused at the rename.
    return file.error() == QFileDevice::RenameError;
#else
    Q_UNUSED(file);
    return false;
#endif
}

// Lends the owner write permission for the save and gives the file its own permissions back,
// whatever the outcome.
class WritePermissionLoan
{
public:
    explicit WritePermissionLoan(const QString& path)
    {
        // A link is saved through to the file it names, so that file's permissions count.
        const QFileInfo link(path);
        m_path = link.isSymLink() ? link.symLinkTarget() : path;
        const QFileInfo info(m_path);
        // The "User" flags describe what this process may do, not the file's mode; setting
        // them back would widen the owner's bits.
        const auto mode = info.permissions() &
                          ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
        if (info.exists() && !(mode & QFileDevice::WriteOwner)) {
            m_original = mode;
            m_lent = QFile::setPermissions(path, *m_original | QFileDevice::WriteOwner);
        }
    }
    ~WritePermissionLoan()
    {
        if (m_lent)
            QFile::setPermissions(m_path, *m_original);
    }
    WritePermissionLoan(const WritePermissionLoan&) = delete;
    WritePermissionLoan& operator=(const WritePermissionLoan&) = delete;

private:
    QString m_path;
    std::optional<QFileDevice::Permissions> m_original;
    bool m_lent = false;
};

} // namespace

bool clsIFF::SaveFile(const QString& FileName, const BeforeReplace& beforeReplace)
{
    m_errorString.clear();

    qint64 total = 64;
    for (const auto& r : m_resources) {
        if (r->Format == "XXXX" || r->Format == "rsmp")
            continue;
        if (const auto problem = layoutProblem(*r)) {
            m_errorString = *problem + QStringLiteral(" The file was not saved.");
            return false;
        }
        total += r->Length;
        // The map's share, at most: a group head, the entry head, name, 0x00 and pad.
        total += 8 + 8 + r->Name.size() + 2;
    }
    total += 96; // map header and fixed part

    // Header: bytes 0-34 are always those of version 2.5; the credit is the loaded file's own.
    QByteArray image;
    image.reserve(total); // everything, map included: growing it later would copy it all
    AdviseHugePages(image);
    const QByteArray& signature = ProgramState.IffSignature25;
    image += signature.left(35);
    image += m_signatureCredit.size() == 25 ? m_signatureCredit : signature.mid(35);
    image.append(4, '\0'); // map offset, filled in below

    std::vector<FormatGroup> groups;
    QHash<QByteArray, std::size_t> groupOf;
    for (const auto& r : m_resources) {
        if (r->Format == "XXXX" || r->Format == "rsmp")
            continue;
        const quint32 offset = quint32(image.size());
        image += r->PrintResource();
        auto it = groupOf.constFind(r->Format);
        if (it == groupOf.constEnd()) {
            it = groupOf.insert(r->Format, groups.size());
            groups.push_back({r->Format, {}, {}});
        }
        FormatGroup& group = groups[it.value()];
        group.Offsets.append(offset);
        group.Records.append(r.get());
    }

    const qsizetype mapStart = image.size();
    QByteArray map;
    map.reserve(96 + qsizetype(m_resources.size()) * 16);
    map += "rsmp";
    map.append(4, '\0');               // Size, filled in below
    map.append("\x00\x00\x00\x10", 4); // ID 0, Unknown 00 10
    map.append(72, '\0');              // name, reserved, map version
    map += "pmsr";
    map.append(4, '\0'); // map size, filled in below
    appendLE32(map, quint32(groups.size()));
    for (const FormatGroup& group : groups) {
        QByteArray reversed = group.Format;
        std::reverse(reversed.begin(), reversed.end());
        map += reversed;
        appendLE32(map, quint32(group.Records.size()));
        for (qsizetype k = 0; k < group.Records.size(); ++k) {
            const clsResource& r = *group.Records[k];
            appendLE32(map, group.Offsets[k]);
            appendLE16(map, quint16(r.ID));
            map += r.Unknown[1];
            map += r.Unknown[0];
            map += r.Name;
            map += '\0';
            if (map.size() % 2 != 0)
                map += char(0xA3);
        }
    }

    if (qint64(mapStart) + map.size() > qint64(std::numeric_limits<quint32>::max())) {
        m_errorString = QStringLiteral("The file would be larger than 4 GB. It was not saved.");
        return false;
    }
    putBE32(map, 4, quint32(map.size()));
    qToLittleEndian(quint32(map.size()), map.data() + 88);
    putBE32(image, 60, quint32(mapStart));
    image += map;

    WritePermissionLoan loan(FileName);
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_errorString = file.errorString();
        return false;
    }
    if (file.write(image) != image.size()) {
        m_errorString = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (beforeReplace) {
        QString error;
        const QByteArray hash = Sha256(image);
        if (!beforeReplace(hash, image.size(), error)) {
            m_errorString = error;
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        m_errorString =
            isLockConflict(file) ? QString::fromLatin1(kFileInUseMessage) : file.errorString();
        return false;
    }
    return true;
}
