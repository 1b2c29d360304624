// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Moves a file to the desktop's trash (on Linux the freedesktop.org trash of the file's
// volume). True when the file was moved, and then *trashedPath (when given) is where it lies in
// the trash; otherwise *error, when given, says why. The caller decides what "gone" means.
// A move that lands outside a trash folder is undone and reported as a failure.
bool MoveToTrash(const QString& path, QString* error = nullptr, QString* trashedPath = nullptr);
