// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

// Shows the logo while the program starts.
class frmSplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplashScreen(QWidget* parent = nullptr);

    QLabel* picLogoHidden = nullptr; // holds the picture; the window paints it as background

protected:
    void paintEvent(QPaintEvent* event) override;
};
