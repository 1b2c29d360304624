#pragma once

// Shared by the kestrane-cli tests: running a command line in-process with its output
// captured, fixture files on disk, and scoped environment and program state.

#include "CliCommands.h"
#include "ProgramState.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

struct CliResult {
    int code = -1;
    QString out;
    QString err;
};

inline CliResult RunTool(QStringList arguments)
{
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    arguments.prepend(QStringLiteral("kestrane-cli"));
    result.code = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path())) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Sets an environment variable for the life of a scope.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QString& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Keeps every test away from the user's home, Wine prefix, Steam libraries and trash, and
// puts the program state back afterwards.
class CliTest : public ::testing::Test
{
protected:
    QTemporaryDir tmp;
    ScopedEnv home{"HOME", tmp.path() + QStringLiteral("/home")};
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.path() + QStringLiteral("/home/.local/share")};
    ScopedEnv wine{"WINEPREFIX", tmp.path() + QStringLiteral("/home/.wine")};
    ProgramStateData savedState = ProgramState;

    void TearDown() override { ProgramState = savedState; }

    QString path(const QString& relative) const { return tmp.path() + QLatin1Char('/') + relative; }
};
