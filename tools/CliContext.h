// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Startup.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QCommandLineParser;
class QTextStream;
class clsIFF;

namespace CliExit
{
inline constexpr int Done = 0;
inline constexpr int Failed = 1; // the work could not be done
inline constexpr int Usage = 2;  // the command line itself is wrong
} // namespace CliExit

// What a command gets: its streams, the parsed command line and its own arguments.
struct CliContext {
    QTextStream& out;
    QTextStream& err;
    const QCommandLineParser& parser;
    QStringList arguments; // the positional arguments after the command name

    // One line on the error stream; returns the matching exit code.
    int fail(const QString& message) const;
    int usage(const QString& message) const;

    // The code --language names; 0 when it is not given or names no language.
    quint8 language() const;
    StartupOptions startupOptions() const;
    // The data folder (presets.dat, folders.dat and the history), as start-up would choose it.
    QString dataFolder() const { return startupOptions().dataDir; }
    // Runs the start-up steps that read the stored state; false (after saying so) when no
    // game folder was found.
    bool startUp() const;
    // Clears doc and loads path into it; false after saying why it could not.
    bool loadDocument(clsIFF& doc, const QString& path) const;
    // A save drops what the load of a damaged file could not read: true (after saying so) when
    // doc is damaged and --force was not given.
    bool refuseDamaged(const clsIFF& doc, const QString& path) const;
};

// Catalog bytes as text for a terminal: Windows-1252 decoded, control characters escaped so
// that one row stays one line.
QString PrintableText(const QByteArray& bytes);
// One field of RFC 4180 CSV: quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text);
