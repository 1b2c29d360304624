// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// The nine catalog sort values of one object or preset, slots 0 to 8: Function, Sub-Function,
// Room, Downtown, Vacation, Community, Studio Town, Magic Town, Build Mode.
using SortSet = std::array<qint32, 9>;

struct Preset {
    QByteArray Name; // Windows-1252 bytes, as stored in presets.dat
    SortSet Sorts{};
};

struct FolderEntry {
    QString Path; // ends in "/"
    bool IncludeSubfolders = false;
};
