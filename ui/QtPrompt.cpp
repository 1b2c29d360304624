// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPrompt.h"

#include "ProgramState.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace
{

QWidget* Owner()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

QString TitleOrProgramName(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(kProgramName) : title;
}

QMessageBox::Icon BoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

PromptAnswer QtPrompt::message(const QString& text, const QString& title, PromptIcon icon,
                               PromptButtons buttons)
{
    QMessageBox box(BoxIcon(icon), TitleOrProgramName(title), text, QMessageBox::NoButton, Owner());
    if (buttons == PromptButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptAnswer::Ok;
}

QString QtPrompt::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(Owner(), TitleOrProgramName(title), prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtPrompt::pickFolder(const QString& title)
{
    return QFileDialog::getExistingDirectory(Owner(), title, QString(), QFileDialog::ShowDirsOnly);
}

int QtPrompt::chooseItem(const QString& prompt, const QString& title, const QStringList& items,
                         int current)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(Owner(), TitleOrProgramName(title), prompt, items,
                                                 current, false, &ok);
    return ok ? int(items.indexOf(chosen)) : -1;
}

bool QtPrompt::confirmTrash(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const QString text =
        QStringLiteral("Are you sure you want to move \"%1\" to the Trash?").arg(name);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Delete File"), text,
                    QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompt::openUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}
