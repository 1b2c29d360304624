// SPDX-License-Identifier: GPL-3.0-or-later
#include "CProgramSettings.h"

#include "RegistryBackend.h"

QString CProgramSettings::KeyPath() const
{
    const QChar sep = QLatin1Char('\\');
    QString path = m_mainBranch + sep + m_regBase + sep + m_program + sep + m_section;
    if (path.endsWith(sep))
        path.chop(1);
    return path;
}

QString CProgramSettings::ReadEntry(const QString& strEntry, const QString& strDefault) const
{
    const auto value = PlatformRegistry().value(m_rootKey, KeyPath(), strEntry);
    QString text;
    if (value) {
        if (const auto* s = std::get_if<QString>(&*value))
            text = *s;
        else if (const auto* n = std::get_if<quint32>(&*value))
            text = QString::number(*n);
    }
    return text.isEmpty() ? strDefault : text;
}

void CProgramSettings::WriteEntry(const QString& strEntry, const QString& strValue)
{
    // Nothing calls this in normal use; a refused write is silent, as for any registry write.
    PlatformRegistry().write(m_rootKey, KeyPath(), strEntry, strValue);
}
