// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's icon files from the drawing the window itself uses: PNGs for the hicolor
// theme's fixed sizes and an SVG for its scalable folder.
//   kestrane-icons OUTPUT_FOLDER ICON_NAME

#include "Pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace
{

QString Number(qreal value)
{
    return QString::number(value, 'f', 2);
}

// The path in SVG's path syntax; QPainterPath keeps closed figures as a line back to the start.
QString SvgPath(const QPainterPath& path)
{
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            data += QStringLiteral("M%1 %2 ").arg(Number(e.x), Number(e.y));
        } else if (e.isLineTo()) {
            data += QStringLiteral("L%1 %2 ").arg(Number(e.x), Number(e.y));
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            data += QStringLiteral("C%1 %2 %3 %4 %5 %6 ")
                        .arg(Number(e.x), Number(e.y), Number(c2.x), Number(c2.y), Number(end.x),
                             Number(end.y));
            i += 2;
        }
    }
    return data.trimmed();
}

QString Svg(int side)
{
    const IconDrawing drawing = ProgramIconDrawing(side);
    const QString fillRule = drawing.bird.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd")
                                                                        : QStringLiteral("nonzero");
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
               "viewBox=\"0 0 %1 %1\">\n"
               "  <defs>\n"
               "    <linearGradient id=\"sky\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" "
               "x2=\"0\" y2=\"%1\">\n"
               "      <stop offset=\"0\" stop-color=\"%2\"/>\n"
               "      <stop offset=\"1\" stop-color=\"%3\"/>\n"
               "    </linearGradient>\n"
               "  </defs>\n"
               "  <path fill=\"url(#sky)\" d=\"%4\"/>\n"
               "  <path fill=\"%5\" fill-rule=\"%6\" d=\"%7\"/>\n"
               "</svg>\n")
        .arg(QString::number(side), drawing.skyTop.name(), drawing.skyBottom.name(),
             SvgPath(drawing.ground), drawing.birdColour.name(), fillRule, SvgPath(drawing.bird));
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: kestrane-icons OUTPUT_FOLDER ICON_NAME\n");
        return 2;
    }
    const QString out = QFile::decodeName(argv[1]), name = QFile::decodeName(argv[2]);
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path =
            QStringLiteral("%1/%2x%2/apps/%3.png").arg(out, QString::number(side), name);
        if (!QDir().mkpath(QFileInfo(path).path()) || !IconImage(side).save(path, "PNG")) {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString svg = QStringLiteral("%1/scalable/apps/%2.svg").arg(out, name);
    if (!Write(svg, Svg(256).toUtf8())) {
        std::fprintf(stderr, "Could not write %s\n", qPrintable(svg));
        return 1;
    }
    return 0;
}
