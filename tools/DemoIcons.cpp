// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoIcons.h"

#include <QLinearGradient>
#include <QPainter>

namespace
{

constexpr int kIconWidth = 74;
constexpr int kIconHeight = 37;

void AppendLe(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void DrawPicture(QPainter& p, IconPicture picture)
{
    const QColor light(250, 246, 230);
    const QColor dark(40, 40, 48);
    p.setPen(QPen(dark, 1.5));
    p.setBrush(light);
    switch (picture) {
    case IconPicture::Chair:
        p.drawRect(27, 4, 6, 20);  // back
        p.drawRect(27, 18, 20, 5); // seat
        p.drawRect(28, 23, 3, 11);
        p.drawRect(43, 23, 3, 11);
        break;
    case IconPicture::Sofa:
        p.drawRoundedRect(14, 8, 46, 12, 4, 4);
        p.drawRoundedRect(10, 16, 54, 12, 4, 4);
        p.drawRect(14, 28, 4, 5);
        p.drawRect(56, 28, 4, 5);
        break;
    case IconPicture::Counter:
        p.drawRect(12, 10, 50, 5);
        p.drawRect(14, 15, 46, 18);
        p.drawLine(37, 15, 37, 33);
        p.drawEllipse(QPointF(33, 24), 1.5, 1.5);
        p.drawEllipse(QPointF(41, 24), 1.5, 1.5);
        break;
    case IconPicture::Fridge:
        p.drawRoundedRect(26, 2, 22, 33, 3, 3);
        p.drawLine(26, 13, 48, 13);
        p.drawLine(44, 6, 44, 10);
        p.drawLine(44, 17, 44, 24);
        break;
    case IconPicture::Television:
        p.drawRoundedRect(16, 4, 42, 26, 4, 4);
        p.setBrush(QColor(90, 160, 210));
        p.drawRoundedRect(20, 8, 28, 18, 3, 3);
        p.setBrush(light);
        p.drawEllipse(QPointF(53, 12), 2, 2);
        p.drawLine(26, 30, 22, 35);
        p.drawLine(48, 30, 52, 35);
        break;
    case IconPicture::Painting:
        p.setBrush(QColor(200, 150, 60));
        p.drawRect(18, 3, 38, 31);
        p.setBrush(QColor(250, 170, 90));
        p.drawRect(22, 7, 30, 23);
        p.setBrush(QColor(240, 90, 60));
        p.drawEllipse(QPointF(37, 20), 6, 6);
        p.drawLine(22, 22, 52, 22);
        break;
    case IconPicture::Bed:
        p.drawRect(8, 8, 6, 26);
        p.drawRect(14, 18, 52, 10);
        p.drawRect(62, 14, 4, 20);
        p.setBrush(QColor(230, 120, 140));
        p.drawRoundedRect(16, 13, 12, 6, 2, 2);
        break;
    case IconPicture::Lamp:
        p.setBrush(QColor(255, 230, 120));
        p.drawPolygon(
            QPolygonF({QPointF(28, 16), QPointF(46, 16), QPointF(42, 4), QPointF(32, 4)}));
        p.drawLine(37, 16, 37, 32);
        p.setBrush(light);
        p.drawRect(30, 32, 14, 3);
        break;
    case IconPicture::Gnome:
        p.setBrush(QColor(220, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(30, 14), QPointF(44, 14), QPointF(37, 1)}));
        p.setBrush(QColor(255, 210, 180));
        p.drawEllipse(QPointF(37, 17), 5, 4);
        p.setBrush(light);
        p.drawPolygon(QPolygonF({QPointF(32, 19), QPointF(42, 19), QPointF(37, 27)}));
        p.setBrush(QColor(60, 120, 200));
        p.drawRect(31, 26, 12, 9);
        break;
    case IconPicture::Stool:
        p.drawEllipse(QRectF(26, 8, 22, 7));
        p.drawLine(29, 13, 25, 34);
        p.drawLine(45, 13, 49, 34);
        p.drawLine(37, 15, 37, 34);
        break;
    case IconPicture::Torch:
        p.drawRect(35, 14, 4, 21);
        p.setBrush(QColor(255, 140, 0));
        p.drawEllipse(QPointF(37, 9), 5, 7);
        p.setBrush(QColor(255, 230, 80));
        p.drawEllipse(QPointF(37, 10), 2, 4);
        break;
    case IconPicture::HotTub:
        p.drawRoundedRect(12, 16, 50, 17, 6, 6);
        p.setBrush(QColor(80, 180, 230));
        p.drawRoundedRect(16, 18, 42, 7, 3, 3);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(24, 6, 8, 8), 0, 180 * 16);
        p.drawArc(QRectF(40, 4, 8, 8), 0, 180 * 16);
        break;
    case IconPicture::Window:
        p.setBrush(QColor(170, 215, 245));
        p.drawRect(22, 4, 30, 28);
        p.drawLine(37, 4, 37, 32);
        p.drawLine(22, 18, 52, 18);
        break;
    case IconPicture::Door:
        p.setBrush(QColor(160, 100, 50));
        p.drawRect(26, 2, 22, 33);
        p.setBrush(light);
        p.drawRect(29, 5, 16, 10);
        p.drawEllipse(QPointF(44, 21), 1.5, 1.5);
        break;
    case IconPicture::Bowl:
        p.drawChord(QRectF(22, 10, 30, 22), 180 * 16, 180 * 16);
        p.setBrush(QColor(150, 100, 60));
        p.drawEllipse(QRectF(26, 18, 22, 5));
        break;
    }
}

} // namespace

QImage DrawDemoIcon(IconPicture picture, QRgb background)
{
    QImage image(kIconWidth, kIconHeight, QImage::Format_RGB32);
    const QColor base = QColor::fromRgb(background);
    QLinearGradient gradient(0, 0, 0, kIconHeight);
    gradient.setColorAt(0, base.lighter(130));
    gradient.setColorAt(1, base.darker(120));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), gradient);
    DrawPicture(painter, picture);
    painter.end();
    return image;
}

QByteArray EncodeBmp24(const QImage& image)
{
    const int width = image.width();
    const int height = image.height();
    const int rowSize = (width * 3 + 3) & ~3; // rows are padded to four bytes
    const int dataSize = rowSize * height;
    QByteArray bmp;
    bmp.reserve(54 + dataSize);
    bmp.append("BM");
    AppendLe(bmp, 54 + dataSize, 4);
    AppendLe(bmp, 0, 4);
    AppendLe(bmp, 54, 4); // pixel data offset
    AppendLe(bmp, 40, 4); // BITMAPINFOHEADER
    AppendLe(bmp, width, 4);
    AppendLe(bmp, height, 4); // positive: rows stored bottom-up
    AppendLe(bmp, 1, 2);
    AppendLe(bmp, 24, 2);
    AppendLe(bmp, 0, 4); // no compression
    AppendLe(bmp, dataSize, 4);
    AppendLe(bmp, 2835, 4); // 72 dpi
    AppendLe(bmp, 2835, 4);
    AppendLe(bmp, 0, 4);
    AppendLe(bmp, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            bmp.append(static_cast<char>(qBlue(pixel)));
            bmp.append(static_cast<char>(qGreen(pixel)));
            bmp.append(static_cast<char>(qRed(pixel)));
        }
        bmp.append(QByteArray(rowSize - width * 3, '\0'));
    }
    return bmp;
}
