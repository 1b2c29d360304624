// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliPrompt.h"

#include <QTextStream>

namespace
{

// Messages may span lines in a window; on a terminal each is one line.
QString OneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line.trimmed();
}

} // namespace

PromptAnswer CliPrompt::message(const QString& text, const QString&, PromptIcon,
                                PromptButtons buttons)
{
    m_err << OneLine(text) << Qt::endl;
    return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
}

QString CliPrompt::inputBox(const QString&, const QString&, const QString&)
{
    return QString();
}

QString CliPrompt::pickFolder(const QString&)
{
    return QString();
}

bool CliPrompt::confirmTrash(const QString&)
{
    return false;
}

void CliPrompt::openUrl(const QString& url)
{
    m_err << OneLine(url) << Qt::endl;
}
