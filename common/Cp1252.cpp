// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cp1252.h"

#include <QHash>

namespace
{

// 0x80-0x9F; the five bytes Windows-1252 leaves undefined keep their own value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char16_t decodeByte(quint8 b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char16_t(b);
}

const QHash<char16_t, quint8>& encodeTable()
{
    static const QHash<char16_t, quint8> table = [] {
        QHash<char16_t, quint8> t;
        for (int b = 0x80; b <= 0x9F; ++b)
            t.insert(kHigh[b - 0x80], quint8(b));
        return t;
    }();
    return table;
}

} // namespace

QString DecodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(decodeByte(quint8(bytes[i])));
    return text;
}

std::optional<QByteArray> EncodeCp1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        const auto it = encodeTable().constFind(u);
        if (it == encodeTable().constEnd())
            return std::nullopt; // also 0x80-0x9F code points that the table moved elsewhere
        bytes.append(char(it.value()));
    }
    return bytes;
}
