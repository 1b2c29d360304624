// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

// The window program's prompt: real message boxes, input boxes and folder pickers, owned by
// the window that is active when the question is asked.
class QtPrompt : public Prompt
{
public:
    QtPrompt() = default;

    PromptAnswer message(const QString& text, const QString& title, PromptIcon icon,
                         PromptButtons buttons) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString pickFolder(const QString& title) override;
    int chooseItem(const QString& prompt, const QString& title, const QStringList& items,
                   int current) override;
    bool confirmTrash(const QString& path) override;
    void openUrl(const QString& url) override;
};
