// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramState.h"
#include "Sha256.h"
#include "Sha256Aside.h"
#include "SyncAlongside.h"
#include "clsIFF.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace
{

constexpr qsizetype kChunkHeaderSize = 76;
constexpr qint64 kFileHeaderSize = 64;
// Past this size a file is hashed on another thread while it is written.
constexpr qint64 kHashAsideSize = 4 << 20;

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
    if (r.Format.size() != 4)
        return QStringLiteral("A resource's type code is not 4 bytes long (key bytes %1).")
            .arg(QString::fromLatin1(r.Key().toHex(' ')));
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

// Writes to the new file through a buffer, so that many small chunks cost few system calls;
// large bodies, and runs of chunks that are byte for byte as loaded, go out without a copy.
// Hashes what it writes when asked.
class StreamWriter
{
public:
    // With aside, what is written is hashed there, on its own thread; otherwise here when hash.
    StreamWriter(QIODevice& out, bool hash, Sha256Aside* aside) : m_out(out), m_aside(aside)
    {
        if (hash && !aside)
            m_hash = std::make_unique<Sha256Hash>();
        m_buffer.reserve(kBufferSize);
    }
    bool put(const char* bytes, qsizetype size)
    {
        if (!sendRun())
            return false;
        if (size >= kDirectSize)
            return sendBuffer() && send(bytes, size);
        if (m_buffer.size() + size > kBufferSize && !sendBuffer())
            return false;
        m_buffer.append(bytes, size);
        return true;
    }
    bool put(const QByteArray& bytes) { return put(bytes.constData(), bytes.size()); }
    // Bytes that stay in place until the writer is flushed; adjacent ones are written at once.
    bool putStored(const char* bytes, qsizetype size)
    {
        if (m_runSize > 0 && m_run + m_runSize == bytes) {
            m_runSize += size;
            return true;
        }
        if (!sendBuffer() || !sendRun())
            return false;
        m_run = bytes;
        m_runSize = size;
        return true;
    }
    bool flush() { return sendRun() && sendBuffer(); }
    qint64 written() const { return m_written; }
    QByteArray sha256() { return m_hash ? m_hash->result() : QByteArray(); }

private:
    static constexpr qsizetype kBufferSize = 1 << 20;
    static constexpr qsizetype kDirectSize = 64 << 10;

    bool sendBuffer()
    {
        const bool sent = send(m_buffer.constData(), m_buffer.size(), false);
        m_buffer.resize(0); // keeps the storage
        return sent;
    }
    bool sendRun()
    {
        const bool sent = send(m_run, m_runSize);
        m_runSize = 0;
        return sent;
    }
    // A long run goes out in pieces of the buffer's size, as the buffered bytes do. Bytes other
    // than the buffer's (the document's and the loaded file's) stay in place until the save ends.
    bool send(const char* bytes, qsizetype size, bool stable = true)
    {
        for (qsizetype at = 0; at < size; at += kBufferSize) {
            const qsizetype piece = std::min(kBufferSize, size - at);
            if (m_hash)
                m_hash->addData(bytes + at, piece);
            else if (m_aside && stable)
                m_aside->addStable(bytes + at, piece);
            else if (m_aside)
                m_aside->addCopy(bytes + at, piece);
            m_written += piece;
            if (m_out.write(bytes + at, piece) != piece)
                return false;
        }
        return true;
    }

    QIODevice& m_out;
    std::unique_ptr<Sha256Hash> m_hash;
    Sha256Aside* m_aside;
    QByteArray m_buffer;
    const char* m_run = nullptr;
    qsizetype m_runSize = 0;
    qint64 m_written = 0;
};

} // namespace

bool clsIFF::streamOut(const std::function<QIODevice*()>& open, bool hash,
                       std::function<QByteArray()>* sha256, qint64* size)
{
    m_errorString.clear();

    // Every chunk's place follows from the sizes before it, so the map is built first and the
    // chunks are then streamed from the records to the file: no image of the file is held.
    std::vector<const clsResource*> written;
    written.reserve(m_resources.size());
    std::vector<FormatGroup> groups;
    QHash<QByteArray, std::size_t> groupOf;
    qint64 offset = kFileHeaderSize;
    for (const auto& r : m_resources) {
        if (r->Format == "XXXX" || r->Format == "rsmp")
            continue;
        if (const auto problem = layoutProblem(*r)) {
            m_errorString = *problem + QStringLiteral(" The file was not saved.");
            return false;
        }
        auto it = groupOf.constFind(r->Format);
        if (it == groupOf.constEnd()) {
            it = groupOf.insert(r->Format, groups.size());
            groups.push_back({r->Format, {}, {}});
        }
        FormatGroup& group = groups[it.value()];
        group.Offsets.append(quint32(offset)); // checked against 4 GB below
        group.Records.append(r.get());
        written.push_back(r.get());
        offset += r->Length;
    }
    const qint64 mapStart = offset;

    QByteArray map;
    map.reserve(96 + qsizetype(written.size()) * 16);
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

    if (mapStart + map.size() > qint64(std::numeric_limits<quint32>::max())) {
        m_errorString = QStringLiteral("The file would be larger than 4 GB. It was not saved.");
        return false;
    }
    putBE32(map, 4, quint32(map.size()));
    qToLittleEndian(quint32(map.size()), map.data() + 88);

    // Header: bytes 0-34 are always those of version 2.5; the credit is the loaded file's own.
    const QByteArray& signature = ProgramState.IffSignature25;
    QByteArray header = signature.left(35);
    header += m_signatureCredit.size() == 25 ? m_signatureCredit : signature.mid(35);
    if (header.size() != 60) {
        m_errorString = QStringLiteral("The IFF signature is not set. The file was not saved.");
        return false;
    }
    header.append(4, '\0');
    putBE32(header, 60, quint32(mapStart));

    QIODevice* device = open();
    if (!device)
        return false;
    // A large file is hashed on another thread as it goes out, and that hash may still be
    // finishing while the file is synced.
    const std::shared_ptr<Sha256Aside> aside =
        hash && mapStart + map.size() > kHashAsideSize ? std::make_shared<Sha256Aside>() : nullptr;
    StreamWriter out(*device, hash, aside.get());
    bool ok = out.put(header);
    char chunkHeader[clsResource::kHeaderSize];
    const auto address = [](const char* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const std::uintptr_t loadedFrom = address(m_loaded.constData());
    const std::uintptr_t loadedTo = loadedFrom + std::uintptr_t(m_loaded.size());
    for (auto it = written.cbegin(); ok && it != written.cend(); ++it) {
        (*it)->PrintHeader(chunkHeader);
        const QByteArray& body = (*it)->Body();
        // A body that still lies in the loaded bytes, after the very header this save writes:
        // the chunk is written from there.
        const std::uintptr_t at = address(body.constData());
        const char* stored = nullptr;
        if (!body.isEmpty() && at >= loadedFrom + sizeof chunkHeader &&
            at + std::uintptr_t(body.size()) <= loadedTo) {
            stored = m_loaded.constData() + (at - loadedFrom - sizeof chunkHeader);
            if (std::memcmp(stored, chunkHeader, sizeof chunkHeader) != 0)
                stored = nullptr;
        }
        if (stored)
            ok = out.putStored(stored, sizeof chunkHeader + body.size());
        else
            ok = out.put(chunkHeader, sizeof chunkHeader) && out.put(body);
    }
    ok = ok && out.put(map) && out.flush();
    if (!ok || out.written() != mapStart + map.size()) {
        m_errorString = device->errorString();
        return false;
    }
    if (aside) // the map is local: kept until the hash is taken
        *sha256 = [aside, map] { return aside->result(); };
    else
        *sha256 = [digest = out.sha256()] { return digest; };
    *size = out.written();
    return true;
}

bool clsIFF::SaveFile(const QString& FileName, const BeforeReplace& beforeReplace)
{
    std::optional<WritePermissionLoan> loan;
    QSaveFile file(FileName);
    // Opened only once the layout is known to be sound.
    const auto open = [&]() -> QIODevice* {
        loan.emplace(FileName);
        // Unbuffered: the writer buffers already.
        if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return &file;
        m_errorString = file.errorString();
        return nullptr;
    };
    std::function<QByteArray()> sha;
    qint64 size = 0;
    if (!streamOut(open, bool(beforeReplace), &sha, &size)) {
        if (file.isOpen())
            file.cancelWriting();
        return false;
    }
    if (beforeReplace) {
        QString error;
        const auto before = [&] { return beforeReplace(sha(), size, error); };
        if (!SyncAlongside(file, before)) {
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

std::optional<QByteArray> clsIFF::SaveBytes()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    std::function<QByteArray()> sha;
    qint64 size = 0;
    if (!streamOut([&] { return &buffer; }, false, &sha, &size))
        return std::nullopt;
    return buffer.buffer();
}
