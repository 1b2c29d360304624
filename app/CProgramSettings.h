// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reads and writes named text values under one registry key composed of four parts.
class CProgramSettings
{
public:
    quint32 RootKey() const { return m_rootKey; }
    void setRootKey(quint32 eValue) { m_rootKey = eValue; }
    QString MainBranch() const { return m_mainBranch; }
    void setMainBranch(const QString& strValue) { m_mainBranch = strValue; }
    QString RegBase() const { return m_regBase; }
    void setRegBase(const QString& strValue) { m_regBase = strValue; }
    QString Program() const { return m_program; }
    void setProgram(const QString& strValue) { m_program = strValue; }
    QString Section() const { return m_section; }
    void setSection(const QString& strValue) { m_section = strValue; }

    // The key path: MainBranch\RegBase\Program\Section without a trailing backslash.
    QString KeyPath() const;
    QString ReadEntry(const QString& strEntry, const QString& strDefault) const;
    void WriteEntry(const QString& strEntry, const QString& strValue);

private:
    quint32 m_rootKey = 0x80000002u;
    QString m_mainBranch = QStringLiteral("SOFTWARE");
    QString m_regBase;
    QString m_program;
    QString m_section = QStringLiteral("Settings");
};
