// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The one seam for every question the program asks a person: message boxes, input boxes,
// the folder picker, the trash confirmation and opening a web page. The window installs a Qt
// implementation, the command-line tool its own, tests a ScriptedPrompt.

enum class PromptIcon { None, Information, Exclamation, Critical, Question };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

class Prompt
{
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer message(const QString& text, const QString& title, PromptIcon icon,
                                 PromptButtons buttons) = 0;
    // Returns the empty text when the person cancels.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // Returns the chosen folder, or the empty text when the person cancels.
    virtual QString pickFolder(const QString& title) = 0;
    // One of items (index current chosen at first); -1 when the person cancels. Without a
    // person to ask, the question is cancelled.
    virtual int chooseItem(const QString& /*prompt*/, const QString& /*title*/,
                           const QStringList& /*items*/, int /*current*/)
    {
        return -1;
    }
    // Asks before a file goes to the trash; true to go ahead.
    virtual bool confirmTrash(const QString& path) = 0;
    virtual void openUrl(const QString& url) = 0;
};

// The installed prompt; until one is installed, a prompt that writes messages to stderr
// and answers every question with No / cancel.
Prompt& CurrentPrompt();
// Installs a prompt (not owned); nullptr restores the default.
void SetPrompt(Prompt* prompt);

// Shorthand for an OK message titled with the program's name unless a title is given.
void ShowMessage(const QString& text, PromptIcon icon = PromptIcon::Exclamation,
                 const QString& title = QString());
