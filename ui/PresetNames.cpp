// SPDX-License-Identifier: GPL-3.0-or-later
#include "PresetNames.h"

#include "Cp1252.h"
#include "ProgramState.h"
#include "Prompt.h"

std::optional<QByteArray> AcceptPresetName(const QString& typed)
{
    if (typed.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> bytes = EncodeCp1252(typed);
    if (!bytes) {
        ShowMessage(QStringLiteral("This name holds characters that cannot be stored in a "
                                   "preset name. Please use other characters."));
        return std::nullopt;
    }
    if (bytes->size() > kMaxPresetNameBytes) {
        ShowMessage(QStringLiteral("This name is too long. A preset name can be at most %1 "
                                   "characters long.")
                        .arg(kMaxPresetNameBytes));
        return std::nullopt;
    }
    return bytes;
}

bool RoomForAnotherPreset()
{
    if (ProgramState.PresetCount() < kMaxPresets)
        return true;
    ShowMessage(QStringLiteral("No more presets can be made. Please delete one first."));
    return false;
}
