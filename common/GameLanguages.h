// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// The game's languages by the codes its catalog text tables use: 1 US English, 2 UK English,
// 3 French, ... 20 Korean.
namespace GameLanguages
{

constexpr quint8 kUsEnglish = 1;
constexpr quint8 kCount = 20;

// "UK English" for 2; "Language 25" for a code the game does not name.
QString Name(quint8 code);
// A code from 1 to 20 as digits, or a name as Name gives it or the game's registry writes it
// ("UKEnglish", "uk_english"); letter case, blanks and underscores do not matter. 0 when the
// text names no language.
quint8 FromText(const QString& text);
// The language of a Windows locale ID (0x409 US English, 0x809 UK English, 0x40C French);
// other locales of a language map to its code. 0 for a language the game has not.
quint8 FromLocaleId(quint32 lcid);

} // namespace GameLanguages
