// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The bytes the game's catalog stores for a name or description typed by a person, or nullopt
// with a message for that person in *error when the text cannot be stored: a null character
// would split the catalog strings, and the catalog holds Windows-1252 only.
std::optional<QByteArray> EncodeCatalogText(const QString& text, QString* error);
