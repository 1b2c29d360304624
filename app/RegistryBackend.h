// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

// A registry value as the registry holds it: text (REG_SZ), a 32-bit number (REG_DWORD), or
// another type the program does not read.
struct RegistryOther {
};
using RegistryValue = std::variant<QString, quint32, RegistryOther>;

inline constexpr quint32 HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;

// The platform's registry, read-only. On Linux: the system.reg of the game's Wine prefix.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;
    // nullopt when the key or the value is missing. keyPath uses backslashes.
    virtual std::optional<RegistryValue> value(quint32 root, const QString& keyPath,
                                               const QString& name) const = 0;
    virtual bool write(quint32 root, const QString& keyPath, const QString& name,
                       const QString& text) = 0;
};

// The backend of this platform (on Linux a WineRegistry on $WINEPREFIX, default ~/.wine).
RegistryBackend& PlatformRegistry();
// Replaces the platform backend (not owned); nullptr restores it. For tests.
void SetPlatformRegistry(RegistryBackend* backend);
