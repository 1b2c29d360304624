// SPDX-License-Identifier: GPL-3.0-or-later
#include "Prompt.h"

#include "ProgramState.h"

#include <cstdio>

namespace
{

// Used until a window or tool installs its own: nobody is there to answer, so every
// question gets the cautious answer and messages go to stderr.
class DefaultPrompt : public Prompt
{
public:
    PromptAnswer message(const QString& text, const QString& title, PromptIcon,
                         PromptButtons buttons) override
    {
        std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString pickFolder(const QString&) override { return {}; }
    bool confirmTrash(const QString&) override { return false; }
    void openUrl(const QString&) override {}
};

DefaultPrompt g_defaultPrompt;
Prompt* g_prompt = nullptr;

} // namespace

Prompt& CurrentPrompt()
{
    return g_prompt ? *g_prompt : g_defaultPrompt;
}

void SetPrompt(Prompt* prompt)
{
    g_prompt = prompt;
}

void ShowMessage(const QString& text, PromptIcon icon, const QString& title)
{
    CurrentPrompt().message(text, title.isEmpty() ? QString::fromLatin1(kProgramName) : title, icon,
                            PromptButtons::Ok);
}
