// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

#include <QList>
#include <QQueue>

// A prompt for tests: queue the next answers, then read what was asked.
// With nothing queued: messages answer Ok (or No for Yes/No), input boxes and the folder
// picker cancel, the trash question declines.
class ScriptedPrompt : public Prompt
{
public:
    enum class Kind { Message, Input, Folder, Trash, Url, Choice };
    struct Asked {
        Kind kind;
        QString text; // message text, input prompt, picker title, trashed path or URL
        QString title;
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
        QString defaultText;
    };

    void queueAnswer(PromptAnswer answer) { m_answers.enqueue(answer); }
    void queueInput(const QString& text) { m_inputs.enqueue(text); }
    void queueFolder(const QString& path) { m_folders.enqueue(path); }
    void queueTrash(bool accept) { m_trash.enqueue(accept); }
    void queueChoice(int index) { m_choices.enqueue(index); }

    const QList<Asked>& asked() const { return m_asked; }
    QStringList messages() const; // texts of the message boxes, in order
    void clearAsked() { m_asked.clear(); }

    PromptAnswer message(const QString& text, const QString& title, PromptIcon icon,
                         PromptButtons buttons) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString pickFolder(const QString& title) override;
    // Asked records the prompt as text, the items joined by line breaks as defaultText.
    int chooseItem(const QString& prompt, const QString& title, const QStringList& items,
                   int current) override;
    bool confirmTrash(const QString& path) override;
    void openUrl(const QString& url) override;

private:
    QQueue<PromptAnswer> m_answers;
    QQueue<QString> m_inputs;
    QQueue<QString> m_folders;
    QQueue<bool> m_trash;
    QQueue<int> m_choices;
    QList<Asked> m_asked;
};

// Installs a prompt for the life of a scope and restores the previous one.
class PromptScope
{
public:
    explicit PromptScope(Prompt& prompt);
    ~PromptScope();
    PromptScope(const PromptScope&) = delete;
    PromptScope& operator=(const PromptScope&) = delete;

private:
    Prompt* m_previous;
};
