#include "CtssTable.h"

namespace CtssTable
{
namespace
{

constexpr int kWanted = 2; // the catalog uses the name and the description only

class Cursor
{
public:
    Cursor(const QByteArray& body, qsizetype pos) : m_body(body), m_pos(pos) {}

    bool byte(quint8* out)
    {
        if (m_pos >= m_body.size())
            return false;
        *out = quint8(m_body.at(m_pos++));
        return true;
    }
    bool word(quint16* out)
    {
        quint8 low = 0, high = 0;
        if (m_body.size() - m_pos < 2 || !byte(&low) || !byte(&high))
            return false;
        *out = quint16(low | (high << 8));
        return true;
    }
    // A string ended by a 0 byte; the cursor moves past the 0.
    bool terminated(Text* out)
    {
        const qsizetype end = m_body.indexOf('\0', m_pos);
        if (end < 0)
            return false;
        if (out)
            *out = Text{m_body.mid(m_pos, end - m_pos), m_pos};
        m_pos = end + 1;
        return true;
    }
    bool counted(qsizetype length, Text* out)
    {
        if (length < 0 || m_body.size() - m_pos < length)
            return false;
        if (out)
            *out = Text{m_body.mid(m_pos, length), m_pos};
        m_pos += length;
        return true;
    }
    // A length in 7-bit groups, lowest first, the top bit set on every group but the last.
    bool varLength(qsizetype* out)
    {
        qsizetype length = 0;
        for (int shift = 0; shift < 32; shift += 7) {
            quint8 b = 0;
            if (!byte(&b))
                return false;
            length |= qsizetype(b & 0x7F) << shift;
            if (!(b & 0x80)) {
                *out = length;
                return true;
            }
        }
        return false;
    }

private:
    const QByteArray& m_body;
    qsizetype m_pos;
};

// Reads strings until the count, the two wanted, or the first one not whole.
template <typename ReadOne> void readStrings(Table& table, ReadOne readOne)
{
    for (int i = 0; i < qMin(table.declared, kWanted); ++i) {
        Text text;
        if (!readOne(&text))
            return;
        table.strings.append(text);
    }
}

} // namespace

Table Read(const QByteArray& body)
{
    Table table;
    Cursor in(body, 0);
    if (!in.word(&table.format))
        return table;
    table.known = true;
    quint16 count = 0;
    switch (table.format) {
    case kPascal:
        if (in.word(&count)) {
            table.declared = count;
            readStrings(table, [&](Text* t) {
                quint8 length = 0;
                return in.byte(&length) && in.counted(length, t);
            });
        }
        break;
    case kTerminated:
        if (in.word(&count)) {
            table.declared = count;
            readStrings(table, [&](Text* t) { return in.terminated(t); });
        }
        break;
    case kPairs:
        if (in.word(&count)) {
            table.declared = count;
            // A text whose comment is cut off is still whole.
            bool commentCut = false;
            readStrings(table, [&](Text* t) {
                if (commentCut || !in.terminated(t))
                    return false;
                commentCut = !in.terminated(nullptr);
                return true;
            });
        }
        break;
    case kLanguage:
        if (in.word(&count)) {
            table.declared = count;
            bool commentCut = false;
            readStrings(table, [&](Text* t) {
                quint8 language = 0;
                if (commentCut || !in.byte(&language) || !in.terminated(t))
                    return false;
                commentCut = !in.terminated(nullptr);
                return true;
            });
        }
        break;
    case kLanguageSets: {
        quint8 sets = 0;
        if (in.byte(&sets) && sets > 0 && in.word(&count)) {
            table.declared = count;
            bool commentCut = false;
            readStrings(table, [&](Text* t) {
                quint8 language = 0;
                qsizetype length = 0, commentLength = 0;
                if (commentCut || !in.byte(&language) || !in.varLength(&length) ||
                    !in.counted(length, t))
                    return false;
                commentCut = !in.varLength(&commentLength) || !in.counted(commentLength, nullptr);
                return true;
            });
        }
        break;
    }
    default:
        table.known = false;
        break;
    }
    return table;
}

} // namespace CtssTable
