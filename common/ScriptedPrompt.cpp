// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompt.h"

QStringList ScriptedPrompt::messages() const
{
    QStringList texts;
    for (const Asked& a : m_asked)
        if (a.kind == Kind::Message)
            texts.append(a.text);
    return texts;
}

PromptAnswer ScriptedPrompt::message(const QString& text, const QString& title, PromptIcon icon,
                                     PromptButtons buttons)
{
    m_asked.append({Kind::Message, text, title, icon, buttons, QString()});
    // A plain notice has only one answer; queued answers are kept for real questions.
    if (buttons == PromptButtons::Ok)
        return PromptAnswer::Ok;
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
}

QString ScriptedPrompt::inputBox(const QString& prompt, const QString& title,
                                 const QString& defaultText)
{
    m_asked.append({Kind::Input, prompt, title, PromptIcon::None, PromptButtons::Ok, defaultText});
    return m_inputs.isEmpty() ? QString() : m_inputs.dequeue();
}

int ScriptedPrompt::chooseItem(const QString& prompt, const QString& title,
                               const QStringList& items, int current)
{
    m_asked.append(
        {Kind::Choice, prompt, title, PromptIcon::None, PromptButtons::Ok,
         items.join(QLatin1Char('\n')) + QStringLiteral("\ncurrent: ") + QString::number(current)});
    return m_choices.isEmpty() ? -1 : m_choices.dequeue();
}

QString ScriptedPrompt::pickFolder(const QString& title)
{
    m_asked.append({Kind::Folder, title, title, PromptIcon::None, PromptButtons::Ok, QString()});
    return m_folders.isEmpty() ? QString() : m_folders.dequeue();
}

bool ScriptedPrompt::confirmTrash(const QString& path)
{
    m_asked.append({Kind::Trash, path, QString(), PromptIcon::None, PromptButtons::Ok, QString()});
    return m_trash.isEmpty() ? false : m_trash.dequeue();
}

void ScriptedPrompt::openUrl(const QString& url)
{
    m_asked.append({Kind::Url, url, QString(), PromptIcon::None, PromptButtons::Ok, QString()});
}

PromptScope::PromptScope(Prompt& prompt) : m_previous(&CurrentPrompt())
{
    SetPrompt(&prompt);
}

PromptScope::~PromptScope()
{
    SetPrompt(m_previous);
}
