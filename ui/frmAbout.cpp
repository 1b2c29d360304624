// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAbout.h"

#include "Licence.h"
#include "Pictures.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "WindowStyle.h"

#include <QLabel>
#include <QPushButton>

frmAbout::frmAbout(QWidget* parent, const QString& homePage) : QDialog(parent), HomePage(homePage)
{
    setWindowTitle(QStringLiteral("About"));
    setFont(KestraneFont());
    setFixedSize(Twips(6000), Twips(3000));

    picDiamond = new QLabel(this);
    PlaceTwips(picDiamond, 240, 240, 1440, 1440);
    picDiamond->setPixmap(QPixmap::fromImage(AboutImage()));

    lblVersion = new QLabel(QStringLiteral("Version"), this);
    PlaceTwips(lblVersion, 1920, 240, 3840, 300);
    QFont big = font();
    big.setPointSizeF(12);
    big.setBold(true);
    lblVersion->setFont(big);

    const QString notices[3] = {
        QString::fromLatin1(kLicenceLine),
        QStringLiteral("It comes with no warranty."),
        QStringLiteral("Written by the Kestrane developers."),
    };
    for (int i = 0; i < 3; ++i) {
        lblAbout[i] = new QLabel(notices[i], this);
        lblAbout[i]->setWordWrap(true);
        PlaceTwips(lblAbout[i], 1920, 600 + i * 480, 3840, 450);
    }

    cmdWeb = new QPushButton(QStringLiteral("Visit the Kestrane web site"), this);
    PlaceTwips(cmdWeb, 240, 2280, 3000, 375);
    cmdWeb->setVisible(!HomePage.isEmpty());
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    PlaceTwips(cmdOK, 3480, 2280, 2280, 375);
    cmdOK->setDefault(true);

    connect(cmdWeb, &QPushButton::clicked, this, [this] { cmdWeb_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    Form_Load();
}

void frmAbout::Form_Load()
{
    lblVersion->setText(QStringLiteral("v") + ProgramState.VersionText);
}

void frmAbout::cmdWeb_Click()
{
    if (!HomePage.isEmpty())
        CurrentPrompt().openUrl(HomePage);
}

void frmAbout::cmdOK_Click()
{
    accept();
}
