// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>

// Catalog icons for the demo installation, drawn here rather than copied from anywhere.
enum class IconPicture {
    Chair,
    Sofa,
    Counter,
    Fridge,
    Television,
    Painting,
    Bed,
    Lamp,
    Gnome,
    Stool,
    Torch,
    HotTub,
    Window,
    Door,
    Bowl
};

// A 74x37 icon: the picture in a light tone on a background of the given colour.
QImage DrawDemoIcon(IconPicture picture, QRgb background);
// The image as a complete uncompressed 24-bit .bmp file, as the game stores its icons.
QByteArray EncodeBmp24(const QImage& image);
