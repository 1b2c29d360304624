// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the tests of stored state, the game lookup and the file walk.

#include "IffBytes.h"
#include "ProgramState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Sets (or, given a null text, unsets) an environment variable for the life of a scope.
struct EnvVarScope {
    EnvVarScope(const char* name, const QString& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, QFile::encodeName(value));
    }
    ~EnvVarScope() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// A temporary home: HOME, XDG_DATA_HOME and WINEPREFIX point inside it.
struct TempHome {
    QTemporaryDir dir;
    QString home = dir.path() + QStringLiteral("/home");
    QString dataHome = home + QStringLiteral("/.local/share");
    QString winePrefix = home + QStringLiteral("/.wine");
    EnvVarScope h{"HOME", home}, d{"XDG_DATA_HOME", dataHome}, w{"WINEPREFIX", winePrefix};
    TempHome() { QDir().mkpath(dataHome); }
};

// Puts ProgramState back as it was when the test began.
struct StateGuard {
    ProgramStateData saved = ProgramState;
    ~StateGuard() { ProgramState = saved; }
};

// Creates the folders of path and a small file there.
inline void MakeFile(const QString& path, const QByteArray& bytes = QByteArray("x"))
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path())) << path.toStdString();
    WriteFile(path, bytes);
}
