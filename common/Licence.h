// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The terms Kestrane is shared under, as the About box and both programs' --version name them.
inline constexpr const char* kLicenceLine =
    "Free software under the GNU General Public License, version 3 or later.";

// What --version prints below the program's name and version (the GNU programs' wording).
inline constexpr const char* kVersionNotice =
    "Copyright (C) 2026 The Kestrane developers\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";
