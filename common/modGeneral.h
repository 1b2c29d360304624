// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// Small helpers shared across the program. Paths use "/"; a folder path ends in "/".

// Folder flag set: true when the folder exists and can be listed. Folder flag clear: true
// when a regular file of exactly that name exists and is not hidden (a dot-file).
bool PathExists(const QString& path, bool isFolder);
// False when an entry of ProgramState.Folders other than indexToIgnore has exactly this path
// (case-sensitive); -1 ignores none.
bool IsNewFolder(const QString& path, int indexToIgnore);
// Read-only is the absence of write permission; other permission bits are kept.
void SetReadOnly(const QString& path, bool readOnly);
// Asks through the prompt seam, then moves the file to the trash. True once the file is gone
// from its path. When the person agreed and the file is still there, *error (when given) says
// why; it stays empty when the person declined.
bool RecycleFile(const QString& path, QString* error = nullptr);
// As RecycleFile, with the move itself done by move (path, *error, *trashedPath): the history
// keeps the bytes first.
using TrashMove = std::function<bool(const QString& path, QString* error, QString* trashedPath)>;
bool RecycleFile(const QString& path, QString* error, const TrashMove& move);
