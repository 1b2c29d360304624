// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliContext.h"

#include "Cp1252.h"
#include "GameLanguages.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int CliContext::fail(const QString& message) const
{
    err << message << Qt::endl;
    return CliExit::Failed;
}

int CliContext::usage(const QString& message) const
{
    err << message << QStringLiteral(" See kestrane-cli --help.") << Qt::endl;
    return CliExit::Usage;
}

quint8 CliContext::language() const
{
    return GameLanguages::FromText(parser.value(QStringLiteral("language")));
}

StartupOptions CliContext::startupOptions() const
{
    QString dataDir = parser.value(QStringLiteral("data-dir"));
    if (dataDir.isEmpty()) {
        QStringList portable;
        if (QCoreApplication::instance()) {
            const QString own = QCoreApplication::applicationDirPath();
            portable << own;
            // In a build tree the window lives in ../ui: a copy of the files kept beside it
            // counts as well, so that both programs read the same ones.
            const QFileInfo window(own + QStringLiteral("/../ui/kestrane"));
            if (own.endsWith(QStringLiteral("/tools")) && window.isExecutable())
                portable << QDir(window.absolutePath()).canonicalPath();
        }
        dataDir = ChooseDataFolder(QString(), portable);
    }
    return StartupOptions{dataDir, parser.value(QStringLiteral("game-dir")), language()};
}

bool CliContext::startUp() const
{
    if (RunStartup(startupOptions()) == StartupResult::Ready)
        return true;
    fail(QStringLiteral("The Sims directory could not be found."));
    return false;
}

bool CliContext::loadDocument(clsIFF& doc, const QString& path) const
{
    doc.Clear();
    if (doc.LoadFile(path))
        return true;
    // A wrong signature or a file too large has already been reported through the prompt.
    if (doc.lastLoadError() == clsIFF::LoadError::CannotOpen) {
        const QString reason = doc.errorString();
        fail(reason.isEmpty() ? QStringLiteral("%1 could not be opened.").arg(path) : reason);
    }
    return false;
}

bool CliContext::refuseDamaged(const clsIFF& doc, const QString& path) const
{
    if (doc.damageString().isEmpty() || parser.isSet(QStringLiteral("force")))
        return false;
    fail(QStringLiteral("%1 is damaged: %2. Saving it would drop the part that could not be "
                        "read. Give --force to save it anyway (the original is kept in the "
                        "history).")
             .arg(path, doc.damageString()));
    return true;
}

QString PrintableText(const QByteArray& bytes)
{
    const QString text = DecodeCp1252(bytes);
    QString printable;
    printable.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            printable += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        else
            printable += ch;
    }
    return printable;
}

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
