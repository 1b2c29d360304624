// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The longest preset name presets.dat can hold: its length is one byte.
inline constexpr int kMaxPresetNameBytes = 255;
// The most presets presets.dat can hold: its count is a 16-bit signed number.
inline constexpr int kMaxPresets = 32767;

// Turns a typed preset name into the bytes stored in the preset list. Empty text gives
// nullopt silently (the person cancelled or typed nothing); a name Windows-1252 cannot hold,
// or one longer than 255 bytes once encoded, is refused with a message and gives nullopt.
std::optional<QByteArray> AcceptPresetName(const QString& typed);

// True while the preset list can take one more preset; otherwise tells the person and gives
// false (one more would keep presets.dat from being written at all).
bool RoomForAnotherPreset();
