#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The first strings of a catalog text (CTSS) body, read by the string-list format its first two
// bytes name. Every read stays inside the body: a truncated or damaged body gives fewer strings.
namespace CtssTable
{

// Format codes, as the little-endian word at the start of the body.
constexpr quint16 kPascal = 0x0000;       // count, then strings of a 1-byte length and bytes
constexpr quint16 kTerminated = 0xFFFF;   // count, then 0-terminated strings
constexpr quint16 kPairs = 0xFFFE;        // count, then 0-terminated string and comment pairs
constexpr quint16 kLanguage = 0xFFFD;     // count, then language byte, string, comment
constexpr quint16 kLanguageSets = 0xFFFC; // set count, then per set a count and strings with
                                          // a language byte and 7-bit length prefixes

struct Text {
    QByteArray bytes;
    qsizetype offset = 0; // where the bytes start in the body
};

struct Table {
    bool known = false; // a format this reader knows
    quint16 format = 0;
    int declared = 0;    // strings the body says it holds (the first language set's for 0xFFFC)
    QList<Text> strings; // the first up to two strings that are whole, in order
};

// Nothing is read from a body too short for its format code.
Table Read(const QByteArray& body);

} // namespace CtssTable
