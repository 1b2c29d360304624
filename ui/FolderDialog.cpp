// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderDialog.h"

#include "ProgramState.h"
#include "Prompt.h"
#include "WindowStyle.h"
#include "frmFolders.h"
#include "modGeneral.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FolderDialog::FolderDialog(const QString& caption, frmFolders* owner)
    : QDialog(owner), m_owner(owner)
{
    setWindowTitle(caption);
    setModal(true);
    setFixedSize(Twips(5535), Twips(1695));

    Label1 = new QLabel(QStringLiteral("Directory:"), this);
    PlaceTwips(Label1, 120, 120, 1215, 255);
    txtFolder = new QLineEdit(this);
    PlaceTwips(txtFolder, 120, 390, 4815, 315);
    cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    PlaceTwips(cmdBrowse, 5010, 390, 405, 315);
    chkSubfolders = new QCheckBox(QStringLiteral("Include Subfolders"), this);
    PlaceTwips(chkSubfolders, 120, 810, 2535, 255);
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    PlaceTwips(cmdOk, 2880, 1200, 1215, 375);
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    PlaceTwips(cmdCancel, 4200, 1200, 1215, 375);

    ApplyWindowStyle(this);

    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void FolderDialog::cmdBrowse_Click()
{
    QString picked = CurrentPrompt().pickFolder(QStringLiteral("Select a folder:"));
    if (picked.isEmpty())
        return;
    if (!picked.endsWith(QLatin1Char('/')))
        picked += QLatin1Char('/');
    txtFolder->setText(picked);
}

void FolderDialog::cmdOk_Click()
{
    // The box keeps what was typed; only the stored path gets its trailing "/".
    QString path = txtFolder->text();
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    if (path.isEmpty()) {
        ShowMessage(QStringLiteral("You must enter a folder path."));
        return;
    }
    if (QFile::encodeName(path).size() > kMaxFolderPathBytes) {
        ShowMessage(QStringLiteral("This folder path is too long to be kept on the list. A "
                                   "folder path can be at most %1 bytes long.")
                        .arg(kMaxFolderPathBytes));
        return;
    }
    if (PathExists(path, true)) {
        if (!IsNewFolder(path, IndexToIgnore())) {
            ShowMessage(QStringLiteral("This folder is already on the list."));
            return;
        }
    } else {
        const PromptAnswer answer = CurrentPrompt().message(
            QStringLiteral("This folder does not exist, are you sure you want to continue?"),
            QString::fromLatin1(kProgramName), PromptIcon::Critical, PromptButtons::YesNo);
        if (answer != PromptAnswer::Yes)
            return;
    }
    Store(path, chkSubfolders->isChecked());
    accept();
}

void FolderDialog::cmdCancel_Click()
{
    reject();
}
