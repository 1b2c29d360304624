// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

// presets.dat and folders.dat in ProgramState.ProgramFolder.

// Readers fill ProgramState.Presets / ProgramState.Folders; a missing or damaged file keeps
// what could be read whole.
void LoadPresets();
void LoadFolders();
// Writers replace the file atomically. False (with the reason, not naming the file, in *error)
// when the file could not be written or an entry cannot be stored (a name over 255 bytes, a path
// over 65535 bytes); the old file then stays as it was.
bool SavePresets(QString* error = nullptr);
bool SaveFolders(QString* error = nullptr);

// The byte formats themselves.
QList<Preset> DecodePresets(const QByteArray& bytes);
QList<FolderEntry> DecodeFolders(const QByteArray& bytes);
// False when an entry cannot be stored.
bool EncodePresets(const QList<Preset>& presets, QByteArray* out, QString* error = nullptr);
bool EncodeFolders(const QList<FolderEntry>& folders, QByteArray* out, QString* error = nullptr);
