// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RegistryBackend.h"

#include <QByteArray>
#include <QString>

// The registry of a Wine prefix, read from its text files: system.reg for the machine-wide
// root, user.reg for the current user. Read-only: writing is refused.
class WineRegistry : public RegistryBackend
{
public:
    // An empty prefix means the one named by $WINEPREFIX (default ~/.wine), looked up at
    // each read so that a changed environment is seen.
    explicit WineRegistry(const QString& prefix = QString());

    std::optional<RegistryValue> value(quint32 root, const QString& keyPath,
                                       const QString& name) const override;
    bool write(quint32 root, const QString& keyPath, const QString& name,
               const QString& text) override;

    QString prefix() const;

    // The prefix of the environment: $WINEPREFIX, or ~/.wine when unset or empty.
    static QString EnvironmentPrefix();
    // A value looked up in the text of a .reg file. Key and value names compare without
    // regard to case; "" names the key's default value.
    static std::optional<RegistryValue> FindValue(const QByteArray& regText, const QString& keyPath,
                                                  const QString& name);
    // A Windows path such as C:\Games\The Sims as a local path, through the prefix's
    // dosdevices drive links. Empty when the drive has no link.
    static QString ToLocalPath(const QString& prefix, const QString& windowsPath);

private:
    QString m_prefix;
};
