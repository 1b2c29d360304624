// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryBackend.h"

#include "WineRegistry.h"

namespace
{
RegistryBackend* g_override = nullptr;
} // namespace

RegistryBackend& PlatformRegistry()
{
    if (g_override)
        return *g_override;
    // Windows backend: RegOpenKeyExW(..., KEY_READ | KEY_WOW64_32KEY) - reading needs no more.
    static WineRegistry wine;
    return wine;
}

void SetPlatformRegistry(RegistryBackend* backend)
{
    g_override = backend;
}
