// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameLanguage.h"

#include "GameLanguages.h"
#include "WineRegistry.h"

namespace
{

constexpr quint32 kCurrentUser = 0x80000001u;
const QString kClassicKey = QStringLiteral("Software\\Maxis\\The Sims");
const QString kReReleaseKey = QStringLiteral("Software\\Electronic Arts\\The Sims 25");
const QString kSimsLanguage = QStringLiteral("SIMS_LANGUAGE");

// A locale ID stored as a number, or as text in decimal or "0x" hexadecimal.
quint8 FromLocaleValue(const RegistryValue& value)
{
    if (const auto* number = std::get_if<quint32>(&value))
        return GameLanguages::FromLocaleId(*number);
    if (const auto* text = std::get_if<QString>(&value)) {
        bool ok = false;
        const uint lcid = text->trimmed().toUInt(&ok, 0);
        return ok ? GameLanguages::FromLocaleId(lcid) : 0;
    }
    return 0;
}

quint8 FromName(const std::optional<RegistryValue>& value)
{
    const auto* text = value ? std::get_if<QString>(&*value) : nullptr;
    return text ? GameLanguages::FromText(*text) : 0;
}

} // namespace

quint8 ReadGameLanguage(const QString& prefix)
{
    if (prefix.isEmpty())
        return 0;
    const WineRegistry registry(prefix);
    if (const auto lcid =
            registry.value(HKEY_LOCAL_MACHINE_ROOT, kClassicKey, QStringLiteral("Language"))) {
        if (const quint8 code = FromLocaleValue(*lcid))
            return code;
    }
    if (const quint8 code =
            FromName(registry.value(HKEY_LOCAL_MACHINE_ROOT, kClassicKey, kSimsLanguage)))
        return code;
    return FromName(registry.value(kCurrentUser, kReReleaseKey, kSimsLanguage));
}
