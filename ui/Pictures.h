#pragma once

#include <QImage>
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
