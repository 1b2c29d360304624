// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// A catalog text (CTSS) body read by the string-list format its first two bytes name: every
// string the count declares, with where it lies, so that the same reading serves showing and
// writing. Every read stays inside the body: a truncated or damaged body gives fewer strings.
namespace CtssTable
{

// Format codes, as the little-endian word at the start of the body.
constexpr quint16 kPascal = 0x0000;       // count, then strings of a 1-byte length and bytes
constexpr quint16 kTerminated = 0xFFFF;   // count, then 0-terminated strings
constexpr quint16 kPairs = 0xFFFE;        // count, then 0-terminated string and comment pairs
constexpr quint16 kLanguage = 0xFFFD;     // count, then language byte, string, comment
constexpr quint16 kLanguageSets = 0xFFFC; // set count, then per set a count and strings with
                                          // a language byte and 7-bit length prefixes

constexpr quint8 kUsEnglish = 1;

struct Text {
    QByteArray bytes;
    qsizetype offset = 0; // where the bytes start in the body
};

struct String {
    quint8 language = kUsEnglish; // a language byte of 0 counts as US English
    Text text;
};

// The strings of one language, in table order: string 0 is the catalog name, 1 the
// description.
struct LanguageSet {
    quint8 language = kUsEnglish;
    QList<int> strings; // indexes into Table::strings
};

struct Table {
    bool known = false; // a format this reader knows
    quint16 format = 0;
    int declared = 0;        // strings the body says it holds (every set's for 0xFFFC)
    QList<String> strings;   // the whole strings, in table order, never more than declared
    QList<LanguageSet> sets; // in the order their first string stands
    bool whole = false;      // every declared string was read
    // The set of that language, or nullptr.
    const LanguageSet* set(quint8 language) const;
    // String `index` of set, or nullptr when the set holds fewer.
    const Text* text(const LanguageSet& set, int index) const;
};

// Nothing is read from a body too short for its format code.
Table Read(const QByteArray& body);

// The set the game shows for that language: its own when it holds a text that is not empty,
// else US English, else the first set; nullptr when the table holds no string.
const LanguageSet* ShownSet(const Table& table, quint8 language);

} // namespace CtssTable
