// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// One chunk of an IFF file held in memory.
class clsResource
{
public:
    QByteArray Format;  // 4-byte type code, e.g. "OBJD"
    qint32 ID = 0;      // 0 to 65535 for loaded records
    qint32 Length = 0;  // whole chunk, 76-byte header included
    QByteArray Name;    // without the 0x00 padding of the file
    QByteArray Unknown; // the two header bytes after the ID, as read

    // Format followed by ID in decimal: "OBJD128".
    QByteArray Key() const;
    // Format followed by ID as five digits: "OBJD00128".
    QByteArray SortID() const;

    const QByteArray& Body() const { return m_body; }
    // Stores the bytes and sets Length to 76 + their count.
    void SetBody(const QByteArray& NewBody);

    static constexpr int kHeaderSize = 76;
    // The chunk header: Format, Length, ID, Unknown and the name padded or cut to 64 bytes.
    // Format and Unknown must be 4 and 2 bytes long.
    void PrintHeader(char (&out)[kHeaderSize]) const;
    // The record as chunk bytes: the header, then the body.
    QByteArray PrintResource() const;

    // Sets Name, ID and Format; tells the user through the prompt seam when the type code is
    // not one the program knows. The record is well formed afterwards (Unknown 00 00,
    // Length 76).
    void Create(const QByteArray& cFormat, quint16 cID, const QByteArray& cName);

private:
    friend class clsIFF;
    QByteArray m_body;
    QByteArray m_heldKey; // the folded key the document holds this record under
};
