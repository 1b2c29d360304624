#pragma once

// Helpers for the tests of stored state, the game lookup and the file walk: a scoped
// environment (HOME, XDG_DATA_HOME, WINEPREFIX inside a temporary folder) and a guard that
// puts ProgramState back.

#include "IffBytes.h"
#include "ProgramState.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Sets an environment variable for the life of a scope ("unset" when value is null).
class EnvVarScope
{
public:
    EnvVarScope(const char* name, const QString& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~EnvVarScope()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    EnvVarScope(const EnvVarScope&) = delete;
    EnvVarScope& operator=(const EnvVarScope&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// A temporary home: HOME, XDG_DATA_HOME and WINEPREFIX all point inside it.
class TempHome
{
public:
    TempHome()
        : m_home("HOME", m_dir.path() + QStringLiteral("/home")),
          m_data("XDG_DATA_HOME", m_dir.path() + QStringLiteral("/home/.local/share")),
          m_wine("WINEPREFIX", m_dir.path() + QStringLiteral("/home/.wine"))
    {
        QDir().mkpath(m_dir.path() + QStringLiteral("/home/.local/share"));
    }
    QString root() const { return m_dir.path(); }
    QString home() const { return m_dir.path() + QStringLiteral("/home"); }
    QString dataHome() const { return home() + QStringLiteral("/.local/share"); }
    QString winePrefix() const { return home() + QStringLiteral("/.wine"); }

private:
    QTemporaryDir m_dir;
    EnvVarScope m_home;
    EnvVarScope m_data;
    EnvVarScope m_wine;
};

// Puts ProgramState back as it was when the test began.
class StateGuard
{
public:
    StateGuard() : m_saved(ProgramState) {}
    ~StateGuard() { ProgramState = m_saved; }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;

private:
    ProgramStateData m_saved;
};

// Creates the folders of path and a file there with the given bytes.
inline void MakeFile(const QString& path, const QByteArray& bytes = QByteArray("x"))
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path())) << path.toStdString();
    WriteFile(path, bytes);
}
