// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include "WindowStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QTransform>

namespace
{

// A kestrel in flight seen from below: swept wings, a fanned tail. Drawn in a 100x60 box.
QPainterPath BirdPath()
{
    QPainterPath bird;
    bird.moveTo(50, 22);
    bird.cubicTo(38, 10, 18, 6, 0, 10);   // left wing, leading edge
    bird.cubicTo(16, 16, 30, 24, 44, 30); // left wing, trailing edge
    bird.lineTo(42, 52);                  // tail, left
    bird.lineTo(50, 56);
    bird.lineTo(58, 52); // tail, right
    bird.lineTo(56, 30);
    bird.cubicTo(70, 24, 84, 16, 100, 10); // right wing, trailing edge
    bird.cubicTo(82, 6, 62, 10, 50, 22);   // right wing, leading edge
    bird.closeSubpath();
    bird.addEllipse(QPointF(50, 20), 4.5, 5.5); // head
    return bird;
}

void DrawBird(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 100.0, box.height() / 60.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(BirdPath());
    painter.restore();
}

QImage BlueGround(const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, KestraneBlue().lighter(150));
    sky.setColorAt(1, KestraneBlue());
    painter.fillRect(image.rect(), sky);
    return image;
}

} // namespace

QImage LogoImage(const QSize& size)
{
    const QSize area = size.isValid() && !size.isEmpty() ? size : QSize(161, 137);
    QImage image = BlueGround(area);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = area.width();
    const qreal h = area.height();
    DrawBird(painter, QRectF(w * 0.15, h * 0.08, w * 0.7, h * 0.42), QColor(255, 200, 120));
    QFont font = KestraneFont();
    font.setPixelSize(qMax(10, int(h * 0.18)));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, h * 0.55, w, h * 0.25), Qt::AlignCenter, QStringLiteral("Kestrane"));
    font.setPixelSize(qMax(8, int(h * 0.08)));
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRectF(0, h * 0.78, w, h * 0.15), Qt::AlignCenter,
                     QStringLiteral("catalog editor"));
    return image;
}

QImage SplashImage()
{
    QImage image = LogoImage(QSize(360, 240));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(255, 200, 120), 3));
    painter.drawRect(image.rect().adjusted(1, 1, -2, -2));
    return image;
}

QImage NoIconImage()
{
    QImage image(41, 41, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    painter.drawRect(QRectF(1.5, 1.5, 37, 37));
    QFont font = KestraneFont();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(120, 120, 120));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

QImage AboutImage()
{
    QImage image(96, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF diamond;
    diamond << QPointF(48, 4) << QPointF(92, 48) << QPointF(48, 92) << QPointF(4, 48);
    QRadialGradient glow(QPointF(40, 36), 60);
    glow.setColorAt(0, QColor(170, 255, 170));
    glow.setColorAt(1, QColor(0, 150, 60));
    painter.setPen(QPen(QColor(0, 90, 40), 2));
    painter.setBrush(glow);
    painter.drawPolygon(diamond);
    DrawBird(painter, QRectF(22, 34, 52, 31), Qt::white);
    return image;
}

IconDrawing ProgramIconDrawing(qreal side)
{
    IconDrawing drawing;
    const qreal margin = side / 32;
    drawing.ground.addRoundedRect(QRectF(margin, margin, side - 2 * margin, side - 2 * margin),
                                  side * 0.18, side * 0.18);
    drawing.skyTop = KestraneBlue().lighter(150);
    drawing.skyBottom = KestraneBlue();
    // The bird's 100x60 box, centred and a little high, as on the logo.
    const qreal width = side * 0.8;
    QTransform place;
    place.translate((side - width) / 2, side * 0.24);
    place.scale(width / 100.0, width / 100.0);
    drawing.bird = place.map(BirdPath());
    drawing.birdColour = QColor(255, 200, 120);
    return drawing;
}

QImage IconImage(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const IconDrawing drawing = ProgramIconDrawing(side);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QLinearGradient sky(0, 0, 0, side);
    sky.setColorAt(0, drawing.skyTop);
    sky.setColorAt(1, drawing.skyBottom);
    painter.setBrush(sky);
    painter.drawPath(drawing.ground);
    painter.setBrush(drawing.birdColour);
    painter.drawPath(drawing.bird);
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(IconImage(side)));
    return icon;
}
