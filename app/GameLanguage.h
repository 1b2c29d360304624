// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// The language the game runs in (GameLanguages.h codes), read from the registry files of a
// Wine prefix: the classic game's key (HKEY_LOCAL_MACHINE\Software\Maxis\The Sims) value
// "Language", a Windows locale ID, else its "SIMS_LANGUAGE"; else the re-release's key
// (HKEY_CURRENT_USER\Software\Electronic Arts\The Sims 25) "SIMS_LANGUAGE". 0 when none of
// them names a language the game has.
quint8 ReadGameLanguage(const QString& prefix);
