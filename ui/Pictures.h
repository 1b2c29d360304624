// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPainterPath>
#include <QSize>

// The program's own pictures, drawn when first needed.

// The logo of the main window, filling the given size.
QImage LogoImage(const QSize& size);
// The splash screen's picture (the window takes its size).
QImage SplashImage();
// The small picture shown for an object that has no catalog icon.
QImage NoIconImage();
// The decorative picture of the About box.
QImage AboutImage();

// The program's icon in a square of the given side: the logo's kestrel on a rounded square of
// the logo's sky. Given as parts so that the icon files (PNG and SVG) come from one drawing.
struct IconDrawing {
    QPainterPath ground; // the rounded square, filled top to bottom from skyTop to skyBottom
    QColor skyTop;
    QColor skyBottom;
    QPainterPath bird;
    QColor birdColour;
};
IconDrawing ProgramIconDrawing(qreal side);
QImage IconImage(int side);
// The icon at the usual sizes, for the windows and the taskbar.
QIcon ProgramIcon();
