// SPDX-License-Identifier: GPL-3.0-or-later
#include "CtssTable.h"

namespace CtssTable
{
namespace
{

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

// Reads count strings, stopping at the first one not whole; false when it stopped early. A
// string whose comment is cut off is still whole, but nothing after it is read.
template <typename ReadOne> bool readStrings(Table& table, int count, ReadOne readOne)
{
    for (int i = 0; i < count; ++i) {
        String string;
        bool commentCut = false;
        if (!readOne(&string, &commentCut))
            return false;
        table.strings.append(string);
        if (commentCut)
            return i + 1 == count; // nothing after it can be read
    }
    return true;
}

// False when the body ends before every declared string was read.
bool readFormat(Table& table, Cursor& in)
{
    quint16 count = 0;
    switch (table.format) {
    case kPascal:
        if (in.word(&count)) {
            table.declared = count;
            return readStrings(table, count, [&](String* s, bool*) {
                quint8 length = 0;
                return in.byte(&length) && in.counted(length, &s->text);
            });
        }
        return false;
    case kTerminated:
        if (in.word(&count)) {
            table.declared = count;
            return readStrings(table, count,
                               [&](String* s, bool*) { return in.terminated(&s->text); });
        }
        return false;
    case kPairs:
        if (in.word(&count)) {
            table.declared = count;
            return readStrings(table, count, [&](String* s, bool* commentCut) {
                if (!in.terminated(&s->text))
                    return false;
                *commentCut = !in.terminated(nullptr);
                return true;
            });
        }
        return false;
    case kLanguage:
        if (in.word(&count)) {
            table.declared = count;
            return readStrings(table, count, [&](String* s, bool* commentCut) {
                if (!in.byte(&s->language) || !in.terminated(&s->text))
                    return false;
                *commentCut = !in.terminated(nullptr);
                return true;
            });
        }
        return false;
    case kLanguageSets: {
        // Set n holds language n + 1; the language bytes of its strings are not needed.
        quint8 sets = 0;
        if (!in.byte(&sets))
            return false;
        for (int set = 0; set < sets; ++set) {
            if (!in.word(&count))
                return false;
            table.declared += count;
            const bool whole = readStrings(table, count, [&](String* s, bool* commentCut) {
                quint8 language = 0;
                qsizetype length = 0, commentLength = 0;
                if (!in.byte(&language) || !in.varLength(&length) || !in.counted(length, &s->text))
                    return false;
                s->language = quint8(set + 1);
                *commentCut = !in.varLength(&commentLength) || !in.counted(commentLength, nullptr);
                return true;
            });
            if (!whole)
                return false;
        }
        return true;
    }
    default:
        table.known = false;
        return false;
    }
}

} // namespace

const LanguageSet* Table::set(quint8 language) const
{
    for (const LanguageSet& s : sets) {
        if (s.language == language)
            return &s;
    }
    return nullptr;
}

const Text* Table::text(const LanguageSet& set, int index) const
{
    return index < set.strings.size() ? &strings[set.strings[index]].text : nullptr;
}

Table Read(const QByteArray& body)
{
    Table table;
    Cursor in(body, 0);
    if (!in.word(&table.format))
        return table;
    table.known = true;
    table.whole = readFormat(table, in);
    for (int i = 0; i < table.strings.size(); ++i) {
        String& string = table.strings[i];
        if (string.language == 0)
            string.language = kUsEnglish;
        qsizetype at = 0;
        while (at < table.sets.size() && table.sets[at].language != string.language)
            ++at;
        if (at == table.sets.size())
            table.sets.append(LanguageSet{string.language, {}});
        table.sets[at].strings.append(i);
    }
    return table;
}

const LanguageSet* ShownSet(const Table& table, quint8 language)
{
    if (const LanguageSet* own = table.set(language)) {
        for (int i = 0; i < qMin<qsizetype>(2, own->strings.size()); ++i) {
            if (!table.text(*own, i)->bytes.isEmpty())
                return own;
        }
    }
    if (const LanguageSet* english = table.set(kUsEnglish))
        return english;
    return table.sets.isEmpty() ? nullptr : &table.sets.first();
}

} // namespace CtssTable
