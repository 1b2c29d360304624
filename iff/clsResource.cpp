#include "clsResource.h"

#include "Cp1252.h"
#include "Prompt.h"

#include <QtEndian>

namespace
{

constexpr int kHeaderSize = 76;
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
    return Format + QByteArray::number(ID);
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
