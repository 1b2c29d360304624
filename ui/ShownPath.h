// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file as a person knows it: below the game folder when it lies there, else whole.
QString ShownGamePath(const QString& file, const QString& gameFolder);
