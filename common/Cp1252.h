// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Windows-1252, the code page of the game's catalog text. The five bytes that Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the code point of the same value,
// so every byte string survives DecodeCp1252 -> EncodeCp1252 unchanged.
QString DecodeCp1252(const QByteArray& bytes);
// nullopt when the text holds a character that Windows-1252 cannot hold.
std::optional<QByteArray> EncodeCp1252(const QString& text);
