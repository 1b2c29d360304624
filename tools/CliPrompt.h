// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

class QTextStream;

// The command-line tool's prompt: every message becomes one line on the error stream, and
// every question is answered No or cancelled, since nobody is there to answer it.
class CliPrompt : public Prompt
{
public:
    explicit CliPrompt(QTextStream& err) : m_err(err) {}

    PromptAnswer message(const QString& text, const QString& title, PromptIcon icon,
                         PromptButtons buttons) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString pickFolder(const QString& title) override;
    bool confirmTrash(const QString& path) override;
    void openUrl(const QString& url) override;

private:
    QTextStream& m_err;
};
