// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmSplashScreen.h"

#include "Pictures.h"
#include "WindowStyle.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>

frmSplashScreen::frmSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Kestrane"));
    setFont(KestraneFont());
    picLogoHidden = new QLabel(this);
    picLogoHidden->setPixmap(QPixmap::fromImage(SplashImage()));
    picLogoHidden->hide();
    // The window is exactly as large as its picture, in the middle of the screen.
    const QSize size = picLogoHidden->pixmap().size();
    setFixedSize(size);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplashScreen::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.drawPixmap(0, 0, picLogoHidden->pixmap());
}
