// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>

// The project's home page, opened by the About box; set when building
// (-DKESTRANE_HOMEPAGE=https://...), empty otherwise.
inline constexpr const char* kHomePage = KESTRANE_HOMEPAGE;

class QLabel;
class QPushButton;

// The About box: the version, the licence, the authors, and the web site.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // Without a home page the web button stays hidden.
    explicit frmAbout(QWidget* parent = nullptr,
                      const QString& homePage = QString::fromUtf8(kHomePage));

    QLabel* picDiamond = nullptr;
    QLabel* lblVersion = nullptr;
    std::array<QLabel*, 3> lblAbout{};
    QPushButton* cmdWeb = nullptr;
    QPushButton* cmdOK = nullptr;

    QString HomePage;

    void Form_Load();
    void cmdWeb_Click();
    void cmdOK_Click();
};
