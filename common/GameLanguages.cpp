// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameLanguages.h"

namespace GameLanguages
{
namespace
{

struct Language {
    const char* name;
    quint16 primaryLanguage; // the low ten bits of a Windows locale ID
};

// Index = code - 1.
constexpr Language kLanguages[kCount] = {
    {"US English", 0x09},
    {"UK English", 0x09},
    {"French", 0x0C},
    {"German", 0x07},
    {"Italian", 0x10},
    {"Spanish", 0x0A},
    {"Dutch", 0x13},
    {"Danish", 0x06},
    {"Swedish", 0x1D},
    {"Norwegian", 0x14},
    {"Finnish", 0x0B},
    {"Hebrew", 0x0D},
    {"Russian", 0x19},
    {"Portuguese", 0x16},
    {"Japanese", 0x11},
    {"Polish", 0x15},
    {"Simplified Chinese", 0x04},
    {"Traditional Chinese", 0x04},
    {"Thai", 0x1E},
    {"Korean", 0x12},
};

QString Folded(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            out += c.toCaseFolded();
    }
    return out;
}

} // namespace

QString Name(quint8 code)
{
    if (code >= 1 && code <= kCount)
        return QString::fromLatin1(kLanguages[code - 1].name);
    return QStringLiteral("Language %1").arg(code);
}

quint8 FromText(const QString& text)
{
    bool number = false;
    const uint code = text.trimmed().toUInt(&number);
    if (number)
        return code >= 1 && code <= kCount ? quint8(code) : 0;
    const QString wanted = Folded(text);
    if (wanted == QLatin1String("english"))
        return kUsEnglish;
    for (quint8 c = 1; c <= kCount; ++c) {
        if (Folded(Name(c)) == wanted)
            return c;
    }
    return 0;
}

quint8 FromLocaleId(quint32 lcid)
{
    switch (lcid) {
    case 0x809:  // United Kingdom
    case 0x1809: // Ireland
        return 2;
    case 0x404:  // Taiwan
    case 0xC04:  // Hong Kong
    case 0x1404: // Macao
        return 18;
    default:
        break;
    }
    const quint16 primary = quint16(lcid & 0x3FF);
    for (quint8 c = 1; c <= kCount; ++c) {
        if (kLanguages[c - 1].primaryLanguage == primary)
            return c; // the first of a shared language: US English, Simplified Chinese
    }
    return 0;
}

} // namespace GameLanguages
