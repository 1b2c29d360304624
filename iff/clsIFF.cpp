// SPDX-License-Identifier: GPL-3.0-or-later
#include "clsIFF.h"

#include "HugePages.h"
#include "IffError.h"
#include "ProgramState.h"
#include "Prompt.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace
{

constexpr qsizetype kSignatureSize = 60;
// Bytes 0-34: the version text and its terminating 0x00. The rest is the maker's credit.
constexpr qsizetype kVersionPartSize = 35;
constexpr qsizetype kFileHeaderSize = 64;
constexpr qsizetype kChunkHeaderSize = 76;
constexpr qsizetype kNameSize = 64;

bool versionPartMatches(const QByteArray& data, const QByteArray& signature)
{
    return signature.size() >= kVersionPartSize &&
           std::memcmp(data.constData(), signature.constData(), kVersionPartSize) == 0;
}

// Bytes pos to pos + size of whole, sharing whole's storage instead of copying it. Qt's
// copy-on-write still holds: the first change through any sharer copies. Unlike a copy, the
// bytes are not followed by a 0x00.
QByteArray sharedSlice(const QByteArray& whole, qsizetype pos, qsizetype size)
{
    QByteArray slice = whole;
    QByteArray::DataPointer& d = slice.data_ptr();
    if (size == 0 || !d.d_ptr()) // nothing to share, or bytes the array does not own
        return whole.mid(pos, size);
    d.ptr += pos;
    d.size = size;
    return slice;
}

} // namespace

clsIFF::clsIFF() = default;
clsIFF::~clsIFF() = default;

QByteArray clsIFF::foldKey(QByteArray key)
{
    return std::move(key).toLower(); // in place
}

clsResource* clsIFF::find(const QByteArray& key) const
{
    indexAll();
    return m_byKey.value(foldKey(key), nullptr);
}

void clsIFF::append(std::unique_ptr<clsResource> record)
{
    record->m_heldKey = foldKey(record->Key());
    m_resources.push_back(std::move(record));
}

// Records not yet indexed are always the last ones, so indexing them in list order finds the
// first record of every key, as indexing each one as it came would.
void clsIFF::indexAll() const
{
    if (m_indexed == m_resources.size())
        return;
    m_byKey.reserve(m_byKey.size() + qsizetype(m_resources.size() - m_indexed));
    for (; m_indexed < m_resources.size(); ++m_indexed) {
        clsResource* record = m_resources[m_indexed].get();
        if (clsResource*& first = m_byKey[record->m_heldKey]; !first)
            first = record;
    }
}

std::unique_ptr<clsResource> clsIFF::take(const QByteArray& key)
{
    indexAll();
    const QByteArray folded = foldKey(key);
    clsResource* record = m_byKey.value(folded, nullptr);
    if (!record)
        throw IffError("no resource under the key " + key.toStdString());
    const auto it = std::find_if(m_resources.begin(), m_resources.end(),
                                 [record](const auto& r) { return r.get() == record; });
    std::unique_ptr<clsResource> taken = std::move(*it);
    const auto next = m_resources.erase(it);
    m_indexed = m_resources.size();
    // A record stays held under the key it was added with, whatever its ID or Format became
    // since: the next record held under this key is now the one found. Going by present keys
    // instead could leave a record findable under two keys, and so found after it was freed.
    m_byKey.remove(folded);
    for (auto later = next; later != m_resources.end(); ++later) {
        if ((*later)->m_heldKey == folded) {
            m_byKey.insert(folded, later->get());
            break;
        }
    }
    return taken;
}

int clsIFF::ResourceCount() const
{
    return int(m_resources.size());
}

clsResource& clsIFF::Resource(int position)
{
    return const_cast<clsResource&>(std::as_const(*this).Resource(position));
}

const clsResource& clsIFF::Resource(int position) const
{
    if (position < 1 || position > ResourceCount())
        throw IffError("no resource at position " + std::to_string(position));
    return *m_resources[std::size_t(position - 1)];
}

clsResource& clsIFF::Resource(const QByteArray& key)
{
    return const_cast<clsResource&>(std::as_const(*this).Resource(key));
}

const clsResource& clsIFF::Resource(const QByteArray& key) const
{
    clsResource* record = find(key);
    if (!record)
        throw IffError("no resource under the key " + key.toStdString());
    return *record;
}

bool clsIFF::IsResource(const QByteArray& key) const
{
    return find(key) != nullptr;
}

clsResource* clsIFF::FindExact(const QByteArray& format, quint16 id)
{
    return const_cast<clsResource*>(std::as_const(*this).FindExact(format, id));
}

const clsResource* clsIFF::FindExact(const QByteArray& format, quint16 id) const
{
    const QByteArray key = format + QByteArray::number(id);
    const clsResource* first = find(key);
    if (!first || first->Key() == key)
        return first;
    // A chunk whose code differs only in case came first: the one sought is further on.
    for (const auto& record : m_resources) {
        if (record->m_heldKey == first->m_heldKey && record->Key() == key)
            return record.get();
    }
    return nullptr;
}

void clsIFF::UpdateKey(const QByteArray& currentKey)
{
    append(take(currentKey));
}

bool clsIFF::AddResource(const QByteArray& cFormat, quint16 cID, const QByteArray& cName)
{
    auto record = std::make_unique<clsResource>();
    record->Create(cFormat, cID, cName);
    if (IsResource(record->Key()))
        return false;
    append(std::move(record));
    return true;
}

void clsIFF::DelResource(const QByteArray& key)
{
    take(key);
}

void clsIFF::Clear()
{
    m_byKey.clear();
    m_indexed = 0;
    m_resources.clear();
    m_objdIDs.clear();
    m_bmpIDs.clear();
    m_ctssIDs.clear();
    m_signatureCredit.clear();
    m_loaded.clear();
}

bool clsIFF::LoadFile(const QString& FileName)
{
    QFile file(FileName);
    // A folder, a pipe or a device named like an object file: reading it could block or
    // never end.
    const QFileInfo info(FileName);
    if (info.exists() && !info.isFile()) {
        m_loadError = LoadError::CannotOpen;
        m_errorString = QStringLiteral("%1 is not a regular file").arg(FileName);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadError = LoadError::CannotOpen;
        m_errorString = file.errorString();
        return false;
    }
    // The signature first: a large file that is no object file is never read whole.
    const QByteArray head = file.read(kSignatureSize);
    if (file.error() != QFileDevice::NoError) {
        m_loadError = LoadError::CannotOpen;
        m_errorString = file.errorString();
        return false;
    }
    if (!signatureMatches(head)) {
        refuse(LoadError::InvalidSignature, QStringLiteral("Invalid IFF File"));
        ShowMessage(m_errorString, PromptIcon::Exclamation, QStringLiteral("Invalid File"));
        return false;
    }
    if (file.size() > kMaxFileSize) {
        refuse(LoadError::TooLarge, QStringLiteral("This file is larger than an IFF file can be."));
        ShowMessage(m_errorString, PromptIcon::Exclamation, QStringLiteral("Invalid File"));
        return false;
    }

    QByteArray data;
    try {
        // One read into a buffer of the file's size; a file that grew meanwhile is read to
        // its end.
        data = QByteArray(qMax<qint64>(file.size(), head.size()), Qt::Uninitialized);
        AdviseHugePages(data);
        std::memcpy(data.data(), head.constData(), size_t(head.size()));
        const qint64 rest = data.size() - head.size();
        const qint64 got = rest == 0 ? 0 : file.read(data.data() + head.size(), rest);
        if (got >= 0) {
            data.truncate(head.size() + got);
            data += file.readAll();
        }
        if (got < 0 || file.error() != QFileDevice::NoError) {
            m_loadError = LoadError::CannotOpen;
            m_errorString = file.errorString();
            return false;
        }
    } catch (const std::bad_alloc&) {
        m_loadError = LoadError::CannotOpen;
        m_errorString = QStringLiteral("There is not enough memory to read %1.").arg(FileName);
        return false;
    }
    file.close();
    if (!loadBytes(data)) {
        // It grew past the limit while being read.
        ShowMessage(m_errorString, PromptIcon::Exclamation, QStringLiteral("Invalid File"));
        return false;
    }
    return true;
}

bool clsIFF::LoadData(const QByteArray& data)
{
    return loadBytes(data);
}

bool clsIFF::signatureMatches(const QByteArray& data)
{
    return data.size() >= kSignatureSize &&
           (versionPartMatches(data, ProgramState.IffSignature25) ||
            versionPartMatches(data, ProgramState.IffSignature20));
}

void clsIFF::refuse(LoadError error, const QString& reason)
{
    m_loadError = error;
    m_errorString = reason;
}

bool clsIFF::loadBytes(const QByteArray& data)
{
    if (!signatureMatches(data)) {
        refuse(LoadError::InvalidSignature, QStringLiteral("Invalid IFF File"));
        return false;
    }
    if (data.size() > kMaxFileSize) {
        refuse(LoadError::TooLarge, QStringLiteral("This file is larger than an IFF file can be."));
        return false;
    }
    m_signatureCredit = data.mid(kVersionPartSize, kSignatureSize - kVersionPartSize);
    // Bytes held elsewhere (no capacity of their own) may go away: they are not kept.
    m_loaded = data.capacity() > 0 ? data : QByteArray();
    m_damage.clear();
    if (data.size() < kFileHeaderSize)
        m_damage = QStringLiteral("the file header is cut short");
    // Bytes 60-63 (the old map's offset) are not used: the chunks are walked one by one.
    parseChunks(data);
    m_loadError = LoadError::None;
    m_errorString.clear();
    return true;
}

// Damaged files end the walk instead of breaking it (and the first damage is noted):
// - fewer than 76 bytes left cannot hold a chunk header; they are left out and the walk ends;
// - a Size below 76 gives a record with the header's fields and an empty body, and the walk
//   moves on by 76 (the header it read), so it always advances;
// - a Size beyond the end of the file (up to 2^32 - 1) gives a record holding the body bytes
//   that are there, and the walk ends.
// In every case Length is 76 + the body actually held, so a save writes a chunk that loads
// back as the same record.
void clsIFF::parseChunks(const QByteArray& data)
{
    const char* bytes = data.constData();
    const qsizetype end = data.size();
    qsizetype pos = kFileHeaderSize;
    const auto damage = [this](const QString& what) {
        if (m_damage.isEmpty())
            m_damage = what;
    };
    while (end - pos >= kChunkHeaderSize) {
        const char* header = bytes + pos;
        const quint32 size = qFromBigEndian<quint32>(header + 4);
        const qsizetype bodyStart = pos + kChunkHeaderSize;
        qsizetype bodyLength = 0;
        if (size < kChunkHeaderSize)
            damage(QStringLiteral("the chunk at byte %1 declares a size of %2, below 76")
                       .arg(pos)
                       .arg(size));
        else if (qsizetype(size) - kChunkHeaderSize > end - bodyStart)
            damage(QStringLiteral("the chunk at byte %1 runs past the end of the file").arg(pos));
        if (size > kChunkHeaderSize)
            bodyLength = std::min<qsizetype>(qsizetype(size) - kChunkHeaderSize, end - bodyStart);
        // Length is 32-bit signed; nothing this program can hold is larger.
        bodyLength =
            std::min<qsizetype>(bodyLength, std::numeric_limits<qint32>::max() - kChunkHeaderSize);

        QByteArray format(header, 4);
        const quint16 id = qFromBigEndian<quint16>(header + 8);
        if (format != "XXXX") {
            auto record = std::make_unique<clsResource>();
            record->Format = format;
            record->ID = id;
            record->Unknown = QByteArray(header + 10, 2);
            const char* name = header + 12;
            const char* nameEnd = std::find(name, name + kNameSize, '\0');
            record->Name = QByteArray(name, nameEnd - name);
            // Bodies share the file's bytes: a large file is held once, not twice.
            record->SetBody(sharedSlice(data, bodyStart, bodyLength));
            record->m_heldKey = foldKey(record->Key());
            m_resources.push_back(std::move(record));
        }
        // Every OBJD, BMP_ and CTSS chunk met is listed, duplicates included.
        if (format == "OBJD")
            m_objdIDs.append(id);
        else if (format == "BMP_")
            m_bmpIDs.append(id);
        else if (format == "CTSS")
            m_ctssIDs.append(id);

        pos = bodyStart + bodyLength;
    }
    if (pos < end)
        damage(QStringLiteral("%1 bytes at the end hold no whole chunk").arg(end - pos));
}
