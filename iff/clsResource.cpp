// SPDX-License-Identifier: GPL-3.0-or-later
#include "clsResource.h"

#include "Cp1252.h"
#include "Prompt.h"

#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cstring>

namespace
{

constexpr int kHeaderSize = clsResource::kHeaderSize;
constexpr int kNameSize = 64;

// Type codes for which a new, empty resource makes sense; byte for byte, so case matters.
constexpr const char* kCreatableFormats[] = {"STR#", "TTAs", "CTSS", "FAMs", "BCON",
                                             "BMP_", "FBMP", "PALT", "OBJD", "OBJf",
                                             "FWAV", "GLOB", "SPR#", "TTAB"};

bool isCreatable(const QByteArray& format)
{
    for (const char* known : kCreatableFormats)
        if (format == known)
            return true;
    return false;
}

} // namespace

QByteArray clsResource::Key() const
{
    char digits[12];
    const char* digitsEnd = std::to_chars(digits, digits + sizeof digits, ID).ptr;
    QByteArray key;
    key.reserve(Format.size() + (digitsEnd - digits));
    key.append(Format.constData(), Format.size()); // a copy, not a share of Format
    key.append(digits, digitsEnd - digits);
    return key;
}

QByteArray clsResource::SortID() const
{
    return Format + (QByteArray("00000") + QByteArray::number(ID)).right(5);
}

void clsResource::SetBody(const QByteArray& NewBody)
{
    m_body = NewBody;
    Length = kHeaderSize + qint32(NewBody.size());
}

void clsResource::PrintHeader(char (&out)[kHeaderSize]) const
{
    Q_ASSERT(Format.size() == 4 && Unknown.size() == 2);
    std::memcpy(out, Format.constData(), 4);
    qToBigEndian(quint32(Length), out + 4);
    qToBigEndian(quint16(ID), out + 8);
    std::memcpy(out + 10, Unknown.constData(), 2);
    const qsizetype nameSize = std::min<qsizetype>(Name.size(), kNameSize);
    std::memcpy(out + 12, Name.constData(), size_t(nameSize));
    std::memset(out + 12 + nameSize, 0, size_t(kNameSize - nameSize));
}

QByteArray clsResource::PrintResource() const
{
    QByteArray out;
    out.reserve(kHeaderSize + m_body.size());
    out += Format;
    char number[4];
    qToBigEndian(quint32(Length), number);
    out.append(number, 4);
    qToBigEndian(quint16(ID), number);
    out.append(number, 2);
    out += Unknown;
    QByteArray name = Name.left(kNameSize);
    name.append(kNameSize - name.size(), '\0');
    out += name;
    out += m_body;
    return out;
}

void clsResource::Create(const QByteArray& cFormat, quint16 cID, const QByteArray& cName)
{
    Name = cName;
    ID = cID;
    Format = cFormat;
    // Well formed from the start, so a created record saves as a valid empty chunk.
    Unknown = QByteArray(2, '\0');
    m_body.clear();
    Length = kHeaderSize;
    if (!isCreatable(Format)) {
        const QString format = DecodeCp1252(Format);
        ShowMessage("The format of the " + format +
                        " resource has not been determined yet. The new resource could not be "
                        "created.",
                    PromptIcon::Exclamation, format);
    }
}
