#include "res/Images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QtMath>

#include <array>
#include <cmath>

#include "res/ResourceIds.h"

// Images.qrc is compiled into this static library; naming its registration
// here keeps the linker from leaving it out of the program.
static void RegisterImageResources()
{
    Q_INIT_RESOURCE(Images);
}

namespace {

constexpr int kToolbarImageCount = 15;
constexpr int kToolbarImageWidth = 22;
constexpr int kToolbarImageHeight = 20;
constexpr QRgb kTransparentKey = 0xFFFF00FF; // magenta, opaque

constexpr int kAnimationFrameCount = 16;
constexpr int kAnimationSize = 22;

// ---------------------------------------------------------------------------
// Small drawing helpers shared by every picture.

QLinearGradient VerticalGradient(qreal top, qreal bottom, const QColor &upper, const QColor &lower)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, upper);
    gradient.setColorAt(1, lower);
    return gradient;
}

QLinearGradient VerticalGradient(qreal top, qreal bottom, const QColor &upper, const QColor &middle,
                                 const QColor &lower)
{
    QLinearGradient gradient = VerticalGradient(top, bottom, upper, lower);
    gradient.setColorAt(0.5, middle);
    return gradient;
}

void FillOutlined(QPainter &painter, const QPainterPath &path, const QBrush &fill, const QColor &outline,
                  qreal outlineWidth = 1.0)
{
    painter.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

QPainterPath PolygonPath(const QPolygonF &polygon)
{
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPointF Polar(const QPointF &centre, qreal radius, qreal degrees)
{
    const qreal radians = qDegreesToRadians(degrees);
    return {centre.x() + radius * std::cos(radians), centre.y() - radius * std::sin(radians)};
}

// A star of `points` tips around `centre`, first tip straight up.
QPolygonF Star(const QPointF &centre, int points, qreal outer, qreal inner)
{
    QPolygonF star;
    for (int i = 0; i < points * 2; ++i)
        star << Polar(centre, i % 2 ? inner : outer, 90.0 + i * 180.0 / points);
    return star;
}

// ---------------------------------------------------------------------------
// Toolbar images, each drawn in a 22 x 20 cell with its origin at the cell's
// top-left corner. Shapes keep about a pixel of margin on every side.

void DrawArrow(QPainter &painter, bool pointsLeft)
{
    QPolygonF arrow{{2.5, 10}, {10, 2.5}, {10, 6.5}, {19.5, 6.5}, {19.5, 13.5}, {10, 13.5}, {10, 17.5}};
    if (!pointsLeft) {
        for (QPointF &point : arrow)
            point.setX(kToolbarImageWidth - point.x());
    }
    FillOutlined(painter, PolygonPath(arrow),
                 VerticalGradient(2.5, 17.5, QColor(0xb4, 0xf0, 0x8c), QColor(0x4c, 0xb8, 0x2c),
                                  QColor(0x23, 0x7d, 0x16)),
                 QColor(0x1a, 0x5a, 0x10));
    // A soft highlight along the upper edge of the shaft gives the arrow some depth.
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
    const qreal from = pointsLeft ? 10.5 : 3.5;
    painter.drawLine(QPointF(from, 7.5), QPointF(from + 8, 7.5));
}

void DrawStop(QPainter &painter)
{
    const QPointF centre(11, 10);
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i)
        octagon << Polar(centre, 8.6, 22.5 + 45.0 * i);
    FillOutlined(painter, PolygonPath(octagon),
                 VerticalGradient(1.5, 18.5, QColor(0xff, 0x8a, 0x78), QColor(0xe8, 0x2a, 0x1c),
                                  QColor(0xa8, 0x0c, 0x06)),
                 QColor(0x80, 0x08, 0x04));
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7.8, 6.8), QPointF(14.2, 13.2));
    painter.drawLine(QPointF(14.2, 6.8), QPointF(7.8, 13.2));
}

void DrawRefresh(QPainter &painter)
{
    const QPointF centre(11, 11);
    const qreal radius = 6.0;
    const qreal startAngle = 20.0;
    const qreal sweep = -290.0; // clockwise, leaving a gap at the upper right
    QPainterPath arc;
    arc.arcMoveTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), startAngle);
    arc.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), startAngle, sweep);

    QPainterPathStroker stroker;
    stroker.setWidth(3.0);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath shape = stroker.createStroke(arc);

    // The arrow head continues the arc in its clockwise direction.
    const qreal endAngle = qDegreesToRadians(startAngle + sweep);
    const QPointF end = Polar(centre, radius, startAngle + sweep);
    const QPointF direction(std::sin(endAngle), std::cos(endAngle));
    const QPointF normal(-direction.y(), direction.x());
    const QPolygonF head{end + direction * 4.6, end + normal * 4.5 - direction * 0.6,
                         end - normal * 4.5 - direction * 0.6};
    shape = shape.united(PolygonPath(head)).simplified();
    FillOutlined(painter, shape,
                 VerticalGradient(2, 18, QColor(0x8c, 0xd2, 0xff), QColor(0x2a, 0x86, 0xe0),
                                  QColor(0x12, 0x52, 0xa8)),
                 QColor(0x0c, 0x3c, 0x80));
}

void DrawHome(QPainter &painter)
{
    // Chimney, then walls, then the roof over both.
    FillOutlined(painter, PolygonPath(QPolygonF{{14.5, 3.5}, {17.5, 3.5}, {17.5, 8}, {14.5, 6}}),
                 QColor(0xb0, 0x50, 0x30), QColor(0x6a, 0x28, 0x14));
    FillOutlined(painter, PolygonPath(QPolygonF{{5.5, 9}, {16.5, 9}, {16.5, 17.5}, {5.5, 17.5}}),
                 VerticalGradient(9, 17.5, QColor(0xff, 0xf6, 0xdc), QColor(0xe6, 0xcc, 0x96)),
                 QColor(0x7a, 0x5a, 0x30));
    FillOutlined(painter, PolygonPath(QPolygonF{{9.5, 12.5}, {12.5, 12.5}, {12.5, 17.5}, {9.5, 17.5}}),
                 QColor(0x9a, 0x5a, 0x28), QColor(0x5a, 0x30, 0x10));
    FillOutlined(painter, PolygonPath(QPolygonF{{1.5, 10.5}, {11, 2}, {20.5, 10.5}, {18.5, 11.5}, {11, 5},
                                                {3.5, 11.5}}),
                 VerticalGradient(2, 11.5, QColor(0xff, 0x7a, 0x5c), QColor(0xc8, 0x28, 0x14)),
                 QColor(0x84, 0x14, 0x08));
}

void DrawNew(QPainter &painter)
{
    const QPolygonF page{{6.5, 3.5}, {14, 3.5}, {18.5, 8}, {18.5, 18.5}, {6.5, 18.5}};
    FillOutlined(painter, PolygonPath(page),
                 VerticalGradient(3.5, 18.5, Qt::white, QColor(0xdc, 0xe6, 0xf2)), QColor(0x5e, 0x6e, 0x84));
    FillOutlined(painter, PolygonPath(QPolygonF{{14, 3.5}, {14, 8}, {18.5, 8}}), QColor(0xc8, 0xd4, 0xe4),
                 QColor(0x5e, 0x6e, 0x84));
    // The spark at the top-left corner.
    const QPointF centre(5.5, 6);
    QRadialGradient glow(centre, 5.0);
    glow.setColorAt(0, QColor(0xff, 0xff, 0xe0));
    glow.setColorAt(0.5, QColor(0xff, 0xd8, 0x20));
    glow.setColorAt(1, QColor(0xf0, 0x98, 0x00));
    FillOutlined(painter, PolygonPath(Star(centre, 4, 5.8, 1.9)), glow, QColor(0xc0, 0x78, 0x00), 0.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xc8, 0x10));
    painter.drawPath(PolygonPath(Star(centre, 4, 3.0, 0.9)));
    painter.setBrush(QColor(0xff, 0xff, 0xf0));
    painter.drawEllipse(centre, 1.2, 1.2);
}

void DrawPrint(QPainter &painter)
{
    // Sheet waiting at the back.
    FillOutlined(painter, PolygonPath(QPolygonF{{6.5, 2.5}, {15.5, 2.5}, {15.5, 9}, {6.5, 9}}), Qt::white,
                 QColor(0x70, 0x78, 0x84));
    QPainterPath body;
    body.addRoundedRect(QRectF(2.5, 8.5, 17, 7), 1.5, 1.5);
    FillOutlined(painter, body,
                 VerticalGradient(8.5, 15.5, QColor(0xd8, 0xe0, 0xea), QColor(0x9a, 0xa8, 0xba),
                                  QColor(0x5e, 0x6c, 0x80)),
                 QColor(0x38, 0x44, 0x56));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x30, 0xd0, 0x40));
    painter.drawEllipse(QPointF(16.8, 10.8), 1.1, 1.1);
    // Printed sheet coming out at the front.
    FillOutlined(painter, PolygonPath(QPolygonF{{5.5, 13}, {16.5, 13}, {16.5, 18.5}, {5.5, 18.5}}), Qt::white,
                 QColor(0x70, 0x78, 0x84));
    painter.setPen(QPen(QColor(0x30, 0x70, 0xd0), 1));
    painter.drawLine(QPointF(7.5, 15.5), QPointF(14.5, 15.5));
    painter.setPen(QPen(QColor(0x90, 0x98, 0xa8), 1));
    painter.drawLine(QPointF(7.5, 17), QPointF(12.5, 17));
}

void DrawMagnifier(QPainter &painter, const QPointF &centre, qreal radius, const QPointF &handleEnd)
{
    const QPointF handleStart = centre + (handleEnd - centre) * (radius / QLineF(centre, handleEnd).length());
    painter.setPen(QPen(QColor(0x3a, 0x2a, 0x1a), 4.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleStart, handleEnd);
    painter.setPen(QPen(QColor(0xb8, 0x78, 0x3c), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleStart + (handleEnd - handleStart) * 0.25, handleEnd);

    QRadialGradient glass(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    glass.setColorAt(0, QColor(0xf4, 0xfc, 0xff));
    glass.setColorAt(1, QColor(0x8c, 0xc8, 0xf0));
    painter.setBrush(glass);
    painter.setPen(QPen(QColor(0x1c, 0x44, 0x84), 2.0));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const qreal inner = radius - 2.2;
    painter.drawArc(QRectF(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner), 100 * 16, 70 * 16);
}

void DrawSearch(QPainter &painter)
{
    DrawMagnifier(painter, QPointF(9, 8.5), 5.5, QPointF(18, 17.5));
}

// A serif capital A beside a small a: the usual sign for text size.
void DrawFont(QPainter &painter)
{
    const QColor ink(0x14, 0x28, 0x68);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(3.2, 17), QPointF(8.3, 2.6));
    painter.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(7.6, 2.4), QPointF(12.7, 17));
    painter.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(5.2, 12), QPointF(11, 12));
    painter.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(1.5, 17.6), QPointF(5.2, 17.6));
    painter.drawLine(QPointF(10.3, 17.6), QPointF(15, 17.6));

    const QColor red(0xd0, 0x20, 0x18);
    painter.setPen(QPen(red, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QPointF(17.2, 15.4), 2.3, 2.2);
    painter.setPen(QPen(red, 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(19.6, 12.2), QPointF(19.6, 18.3));
    painter.setPen(QPen(red, 1.5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath hook;
    hook.moveTo(15.4, 11.4);
    hook.quadTo(17.5, 9.6, 19.6, 11.6);
    painter.drawPath(hook);
}

void DrawSave(QPainter &painter)
{
    const QPolygonF disk{{3.5, 2.5}, {16.5, 2.5}, {18.5, 4.5}, {18.5, 17.5}, {3.5, 17.5}};
    FillOutlined(painter, PolygonPath(disk),
                 VerticalGradient(2.5, 17.5, QColor(0x6c, 0xa4, 0xf0), QColor(0x20, 0x58, 0xb8)),
                 QColor(0x10, 0x30, 0x70));
    // Metal shutter with its window.
    FillOutlined(painter, PolygonPath(QPolygonF{{6.5, 2.5}, {15.5, 2.5}, {15.5, 7.5}, {6.5, 7.5}}),
                 VerticalGradient(2.5, 7.5, QColor(0xf0, 0xf2, 0xf6), QColor(0xa8, 0xb0, 0xbc)),
                 QColor(0x50, 0x58, 0x64));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x30, 0x3a, 0x48));
    painter.drawRect(QRectF(12, 3.5, 2, 3));
    // Label.
    FillOutlined(painter, PolygonPath(QPolygonF{{6, 10.5}, {16, 10.5}, {16, 17.5}, {6, 17.5}}), Qt::white,
                 QColor(0x10, 0x30, 0x70));
    painter.setPen(QPen(QColor(0x90, 0xa0, 0xb8), 1));
    painter.drawLine(QPointF(7.5, 13), QPointF(14.5, 13));
    painter.drawLine(QPointF(7.5, 15), QPointF(14.5, 15));
}

void DrawGear(QPainter &painter)
{
    const QPointF centre(11, 10);
    const int teeth = 8;
    const qreal base = 6.2;
    const qreal tip = 8.8;
    QPolygonF outline;
    for (int i = 0; i < teeth; ++i) {
        const qreal angle = 360.0 * i / teeth;
        outline << Polar(centre, base, angle - 17) << Polar(centre, tip, angle - 10)
                << Polar(centre, tip, angle + 10) << Polar(centre, base, angle + 17)
                << Polar(centre, base, angle + 22.5);
    }
    QPainterPath hole;
    hole.addEllipse(centre, 2.6, 2.6);
    const QPainterPath gear = PolygonPath(outline).subtracted(hole);
    QRadialGradient metal(centre - QPointF(3, 3), 12);
    metal.setColorAt(0, QColor(0xe4, 0xec, 0xf6));
    metal.setColorAt(0.55, QColor(0x86, 0x9e, 0xc0));
    metal.setColorAt(1, QColor(0x3e, 0x58, 0x80));
    FillOutlined(painter, gear, metal, QColor(0x24, 0x36, 0x54));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x24, 0x36, 0x54, 170), 1));
    painter.drawEllipse(centre, 4.6, 4.6);
}

void DrawFavourites(QPainter &painter)
{
    const QPointF centre(11, 10.8);
    FillOutlined(painter, PolygonPath(Star(centre, 5, 9.0, 3.7)),
                 VerticalGradient(1.5, 18.5, QColor(0xff, 0xf8, 0xa0), QColor(0xff, 0xc8, 0x10),
                                  QColor(0xe0, 0x80, 0x00)),
                 QColor(0x98, 0x58, 0x00));
}

void DrawHistory(QPainter &painter)
{
    const QPointF centre(11, 10);
    QRadialGradient face(centre - QPointF(2, 2), 9);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(0xd8, 0xe4, 0xf0));
    painter.setBrush(face);
    painter.setPen(QPen(QColor(0x1e, 0x5c, 0xb0), 1.8));
    painter.drawEllipse(centre, 7.6, 7.6);
    painter.setPen(QPen(QColor(0x60, 0x70, 0x84), 1));
    for (int i = 0; i < 4; ++i)
        painter.drawLine(Polar(centre, 6.2, 90.0 * i), Polar(centre, 5.0, 90.0 * i));
    painter.setPen(QPen(QColor(0x20, 0x24, 0x30), 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, Polar(centre, 4.6, 90));
    painter.drawLine(centre, Polar(centre, 3.6, -30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd8, 0x20, 0x18));
    painter.drawEllipse(centre, 1.1, 1.1);
}

void DrawMail(QPainter &painter)
{
    const QRectF envelope(2.5, 4.5, 17, 12);
    QPainterPath shape;
    shape.addRect(envelope);
    FillOutlined(painter, shape, VerticalGradient(4.5, 16.5, QColor(0xff, 0xfc, 0xf0), QColor(0xf0, 0xdc, 0xa8)),
                 QColor(0x8a, 0x68, 0x28));
    painter.setPen(QPen(QColor(0xb8, 0x98, 0x58), 1));
    painter.drawLine(QPointF(2.5, 16.5), QPointF(9, 10.5));
    painter.drawLine(QPointF(19.5, 16.5), QPointF(13, 10.5));
    QPainterPath flap;
    flap.moveTo(2.5, 4.5);
    flap.lineTo(11, 11.5);
    flap.lineTo(19.5, 4.5);
    FillOutlined(painter, flap, VerticalGradient(4.5, 11.5, QColor(0xff, 0xf4, 0xd0), QColor(0xf0, 0xd8, 0x98)),
                 QColor(0x8a, 0x68, 0x28));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd0, 0x28, 0x20));
    painter.drawEllipse(QPointF(11, 11), 1.8, 1.8);
}

void DrawAbout(QPainter &painter)
{
    const QPointF centre(11, 10);
    QRadialGradient ball(centre - QPointF(3, 3.5), 11);
    ball.setColorAt(0, QColor(0x9c, 0xd4, 0xff));
    ball.setColorAt(0.6, QColor(0x2e, 0x7c, 0xe0));
    ball.setColorAt(1, QColor(0x12, 0x48, 0xa0));
    painter.setBrush(ball);
    painter.setPen(QPen(QColor(0x0c, 0x34, 0x7c), 1));
    painter.drawEllipse(centre, 8.5, 8.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(11, 5.6), 1.45, 1.45);
    painter.drawPath(PolygonPath(QPolygonF{{8.8, 8.2}, {12.2, 8.2}, {12.2, 13.6}, {13.4, 13.6}, {13.4, 15},
                                           {8.6, 15}, {8.6, 13.6}, {9.8, 13.6}, {9.8, 9.4}, {8.8, 9.4}}));
}

using IconPainter = void (*)(QPainter &);

const std::array<IconPainter, kToolbarImageCount> &ToolbarPainters()
{
    static const std::array<IconPainter, kToolbarImageCount> painters{
        [](QPainter &p) { DrawArrow(p, true); },  // 0 Back
        [](QPainter &p) { DrawArrow(p, false); }, // 1 Forward
        DrawStop,                                 // 2 Stop
        DrawRefresh,                              // 3 Refresh
        DrawHome,                                 // 4 Home
        DrawNew,                                  // 5 New
        DrawPrint,                                // 6 Print
        DrawSearch,                               // 7 Search
        DrawFont,                                 // 8 Font
        DrawSave,                                 // 9 Save
        DrawGear,                                 // 10 Setting
        DrawFavourites,                           // 11 Favourites
        DrawHistory,                              // 12 History
        DrawMail,                                 // 13 Mail
        DrawAbout,                                // 14 About
    };
    return painters;
}

// The normal image is a little muted; the one under the pointer is brighter
// and more saturated, so the button visibly lights up.
QRgb Toned(QRgb pixel, bool hot)
{
    QColor colour = QColor::fromRgb(pixel).toHsv();
    const qreal saturation = colour.hsvSaturationF() * (hot ? 1.15 : 0.85);
    const qreal value = colour.valueF() * (hot ? 1.0 : 0.95) + (hot ? 0.06 : 0.0);
    colour.setHsvF(colour.hsvHueF(), qMin<qreal>(saturation, 1.0), qMin<qreal>(value, 1.0));
    return colour.rgb();
}

// Antialiased edges are blended with a light toolbar grey and cut off where
// they are mostly transparent, so that no pink fringe survives on the keyed
// bitmap.
QImage KeyedStrip(const QImage &drawing, bool hot)
{
    const QImage source = drawing.convertToFormat(QImage::Format_ARGB32);
    QImage strip(source.size(), QImage::Format_RGB32);
    const QColor backdrop(0xf0, 0xf0, 0xf0);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        QRgb *out = reinterpret_cast<QRgb *>(strip.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            if (alpha < 90) {
                out[x] = kTransparentKey;
                continue;
            }
            const QRgb toned = Toned(in[x], hot);
            auto mix = [alpha](int front, int back) { return (front * alpha + back * (255 - alpha) + 127) / 255; };
            QRgb blended = qRgb(mix(qRed(toned), backdrop.red()), mix(qGreen(toned), backdrop.green()),
                                mix(qBlue(toned), backdrop.blue()));
            if (blended == kTransparentKey)
                blended = qRgb(254, 0, 254);
            out[x] = blended;
        }
    }
    return strip;
}

QImage DrawToolbarStrip(bool hot)
{
    QImage drawing(kToolbarImageWidth * kToolbarImageCount, kToolbarImageHeight,
                   QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kToolbarImageCount; ++i) {
        painter.save();
        painter.translate(i * kToolbarImageWidth, 0);
        painter.setClipRect(0, 0, kToolbarImageWidth, kToolbarImageHeight);
        ToolbarPainters()[i](painter);
        painter.restore();
    }
    painter.end();
    return KeyedStrip(drawing, hot);
}

const QImage &ToolbarStrip(bool hot)
{
    static const QImage normal = DrawToolbarStrip(false);
    static const QImage lit = DrawToolbarStrip(true);
    return hot ? lit : normal;
}

// ---------------------------------------------------------------------------
// The application's mark: three stacked tab cards (several engines' pages)
// under a magnifying glass, designed on a 256 x 256 grid. res/quaerio.svg
// holds the same drawing for the desktop.

struct CardStyle
{
    qreal tabTop;
    qreal tabLeft;
    qreal bottom;
    QColor bodyTop;
    QColor bodyBottom;
    QColor tabUpper;
    QColor tabLower;
    QColor outline;
};

constexpr qreal kCardLeft = 16, kCardRight = 208, kTabWidth = 56, kTabHeight = 24, kCardCorner = 14,
                kTabCorner = 8;

// A card with a tab on its top edge; a tab at the card's left edge continues
// that edge straight up, like a folder.
QPainterPath CardPath(const CardStyle &card)
{
    const qreal top = card.tabTop + kTabHeight;
    const qreal tabRight = card.tabLeft + kTabWidth;
    QPainterPath path;
    if (card.tabLeft <= kCardLeft) {
        path.moveTo(kCardLeft, card.tabTop + kTabCorner);
        path.quadTo(kCardLeft, card.tabTop, kCardLeft + kTabCorner, card.tabTop);
    } else {
        path.moveTo(kCardLeft, top + kCardCorner);
        path.quadTo(kCardLeft, top, kCardLeft + kCardCorner, top);
        path.lineTo(card.tabLeft, top);
        path.lineTo(card.tabLeft, card.tabTop + kTabCorner);
        path.quadTo(card.tabLeft, card.tabTop, card.tabLeft + kTabCorner, card.tabTop);
    }
    path.lineTo(tabRight - kTabCorner, card.tabTop);
    path.quadTo(tabRight, card.tabTop, tabRight, card.tabTop + kTabCorner);
    path.lineTo(tabRight, top);
    path.lineTo(kCardRight - kCardCorner, top);
    path.quadTo(kCardRight, top, kCardRight, top + kCardCorner);
    path.lineTo(kCardRight, card.bottom - kCardCorner);
    path.quadTo(kCardRight, card.bottom, kCardRight - kCardCorner, card.bottom);
    path.lineTo(kCardLeft + kCardCorner, card.bottom);
    path.quadTo(kCardLeft, card.bottom, kCardLeft, card.bottom - kCardCorner);
    path.closeSubpath();
    return path;
}

QPainterPath TabPath(const CardStyle &card)
{
    const qreal top = card.tabTop + kTabHeight;
    const qreal tabRight = card.tabLeft + kTabWidth;
    QPainterPath path;
    path.moveTo(card.tabLeft, top);
    path.lineTo(card.tabLeft, card.tabTop + kTabCorner);
    path.quadTo(card.tabLeft, card.tabTop, card.tabLeft + kTabCorner, card.tabTop);
    path.lineTo(tabRight - kTabCorner, card.tabTop);
    path.quadTo(tabRight, card.tabTop, tabRight, card.tabTop + kTabCorner);
    path.lineTo(tabRight, top);
    path.closeSubpath();
    return path;
}

void DrawCard(QPainter &painter, const CardStyle &card, qreal outlineWidth)
{
    const QPainterPath path = CardPath(card);
    painter.setPen(Qt::NoPen);
    painter.setBrush(VerticalGradient(card.tabTop, card.bottom, card.bodyTop, card.bodyBottom));
    painter.drawPath(path);
    // The tab is tinted so the row of tabs reads at a glance.
    painter.setBrush(VerticalGradient(card.tabTop, card.tabTop + kTabHeight, card.tabUpper, card.tabLower));
    painter.drawPath(TabPath(card));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(card.outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

const CardStyle kBackCard{24,
                          138,
                          176,
                          QColor(0xff, 0xc4, 0x5a),
                          QColor(0xf2, 0xa5, 0x31),
                          QColor(0xff, 0xa5, 0x3a),
                          QColor(0xe8, 0x83, 0x0c),
                          QColor(0x9a, 0x56, 0x00)};
const CardStyle kMiddleCard{44,
                            77,
                            196,
                            QColor(0x74, 0xd8, 0x84),
                            QColor(0x4f, 0xb8, 0x62),
                            QColor(0x48, 0xc0, 0x62),
                            QColor(0x24, 0x96, 0x3e),
                            QColor(0x1a, 0x6a, 0x2a)};
const CardStyle kFrontCard{64,
                           16,
                           220,
                           QColor(0xff, 0xff, 0xff),
                           QColor(0xed, 0xf2, 0xf8),
                           QColor(0x5a, 0xa2, 0xff),
                           QColor(0x2f, 0x80, 0xed),
                           QColor(0x3a, 0x50, 0x70)};

struct ResultLine
{
    qreal left;
    qreal right;
    qreal y;
    bool title;
};

// Result lines on the front card: a blue title over grey text, twice.
constexpr std::array<ResultLine, 5> kResultLines{{
    {42, 124, 114, true},
    {42, 170, 138, false},
    {42, 150, 158, false},
    {42, 108, 184, true},
    {42, 130, 204, false},
}};

QPen ResultLinePen(const ResultLine &line, qreal scale)
{
    return QPen(line.title ? QColor(0x2f, 0x80, 0xed) : QColor(0xa8, 0xb4, 0xc4), (line.title ? 12 : 8) * scale,
                Qt::SolidLine, Qt::RoundCap);
}

void DrawResultLines(QPainter &painter)
{
    for (const ResultLine &line : kResultLines) {
        painter.setPen(ResultLinePen(line, 1));
        painter.drawLine(QPointF(line.left, line.y), QPointF(line.right, line.y));
    }
}

// The result lines enlarged about the lens centre and cut at a circle well
// inside the rim, so that their ends disappear under it. The cut is computed
// rather than clipped so the desktop drawing can do the same without clip
// paths.
void DrawMagnifiedLines(QPainter &painter, const QPointF &lens, qreal cutRadius, qreal zoom)
{
    for (const ResultLine &line : kResultLines) {
        const qreal y = lens.y() + (line.y - lens.y()) * zoom;
        const qreal rise = std::abs(y - lens.y());
        if (rise >= cutRadius)
            continue;
        const qreal halfChord = std::sqrt(cutRadius * cutRadius - rise * rise);
        const qreal left = qMax(lens.x() + (line.left - lens.x()) * zoom, lens.x() - halfChord);
        const qreal right = qMin(lens.x() + (line.right - lens.x()) * zoom, lens.x() + halfChord);
        if (left >= right)
            continue;
        painter.setPen(ResultLinePen(line, zoom));
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
}

void DrawAppMark(QPainter &painter, int size)
{
    const bool small = size < 32;
    const qreal unit = 256.0 / size; // one device pixel in design units
    const qreal outlineWidth = qMax<qreal>(3.0, unit);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);

    DrawCard(painter, kBackCard, outlineWidth);
    DrawCard(painter, kMiddleCard, outlineWidth);
    DrawCard(painter, kFrontCard, outlineWidth);
    if (!small)
        DrawResultLines(painter);

    // The magnifying glass over the stack; through its lens the front card
    // shows enlarged.
    const QPointF lens(166, 162);
    const qreal lensRadius = 44;
    const qreal ring = small ? qMax<qreal>(20, 1.6 * unit) : 14;
    const QPointF handleStart(202, 198);
    const QPointF handleEnd(234, 234);
    const QColor rim(0x22, 0x2e, 0x3c);
    painter.setPen(QPen(rim, small ? qMax<qreal>(34, 2.6 * unit) : 30, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleStart, handleEnd);
    if (!small) {
        painter.setPen(QPen(QColor(0xe0, 0x7a, 0x22), 16, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(216, 212), handleEnd);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kFrontCard.bodyBottom);
        painter.drawEllipse(lens, lensRadius, lensRadius);
        DrawMagnifiedLines(painter, lens, lensRadius - 2, 1.3);
    }
    QRadialGradient glass(lens - QPointF(18, 18), lensRadius * 1.4);
    glass.setColorAt(0, QColor(0xff, 0xff, 0xff, small ? 170 : 90));
    glass.setColorAt(1, QColor(0x7c, 0xc4, 0xf4, small ? 140 : 110));
    painter.setBrush(glass);
    painter.setPen(QPen(rim, ring));
    painter.drawEllipse(lens, lensRadius, lensRadius);
    if (!small) {
        painter.setPen(QPen(QColor(0x5c, 0x74, 0x90), 4));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(lens, lensRadius - 2, lensRadius - 2);
        painter.setPen(QPen(QColor(255, 255, 255, 210), 7, Qt::SolidLine, Qt::RoundCap));
        const qreal shine = 30;
        painter.drawArc(QRectF(lens.x() - shine, lens.y() - shine, 2 * shine, 2 * shine), 105 * 16, 60 * 16);
    }
    painter.restore();
}

// At 16 and 22 pixels the mark is laid out on the pixel grid itself, so that
// the tab row and the card edges stay crisp instead of blurring together.
struct PixelMarkLayout
{
    int tabWidth;
    int tabHeight;
    int right;
    std::array<int, 3> tabLeft;   // back, middle, front
    std::array<int, 3> tabTop;    // back, middle, front
    std::array<int, 3> bottom;    // back, middle, front
    QPointF lens;
    qreal lensRadius;
    qreal ringWidth;
    QPointF handleEnd;
    qreal handleWidth;
    std::array<QLineF, 4> lines; // title, text, text, title
};

const PixelMarkLayout &PixelLayout(int size)
{
    static const PixelMarkLayout tiny{4,      2,    15,  {11, 6, 1}, {1, 3, 5}, {11, 13, 15},
                                      {10.5, 10.5}, 3.3, 1.5, {15, 15},   2.4,
                                      {{{3, 9.5, 7, 9.5}, {3, 11.5, 6, 11.5}, {3, 13.5, 5, 13.5}, {}}}};
    static const PixelMarkLayout small{6,      3,    21,  {15, 8, 1}, {1, 3, 5}, {16, 18, 20},
                                       {14.5, 14}, 4.6, 1.8, {20.6, 20.6}, 2.8,
                                       {{{3, 11, 10, 11}, {3, 13.5, 9, 13.5}, {3, 15.5, 8, 15.5}, {3, 18, 7, 18}}}};
    return size <= 16 ? tiny : small;
}

void DrawPixelAppMark(QPainter &painter, int size)
{
    const PixelMarkLayout &layout = PixelLayout(size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const std::array<const CardStyle *, 3> cards{&kBackCard, &kMiddleCard, &kFrontCard};
    for (int i = 0; i < 3; ++i) {
        const CardStyle &style = *cards[i];
        const qreal left = 1.5, right = layout.right - 0.5;
        const qreal tabTop = layout.tabTop[i] + 0.5;
        const qreal bodyTop = tabTop + layout.tabHeight;
        const qreal bottom = layout.bottom[i] - 0.5;
        const qreal tabLeft = layout.tabLeft[i] + 0.5;
        const qreal tabRight = tabLeft + layout.tabWidth - 1;
        QPainterPath body;
        body.addRect(QRectF(QPointF(left, bodyTop), QPointF(right, bottom)));
        QPainterPath tab;
        tab.addRect(QRectF(QPointF(tabLeft, tabTop), QPointF(tabRight, bodyTop)));
        painter.setPen(Qt::NoPen);
        painter.setBrush(VerticalGradient(bodyTop, bottom, style.bodyTop, style.bodyBottom));
        painter.drawPath(body);
        painter.setBrush(style.tabLower);
        painter.drawPath(tab);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(style.outline, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPath(body.united(tab).simplified());
    }
    for (int i = 0; i < 4; ++i) {
        if (layout.lines[i].isNull())
            continue;
        const bool title = i % 3 == 0;
        painter.setPen(QPen(title ? kFrontCard.tabLower : QColor(0xa0, 0xac, 0xbc), size <= 16 ? 1 : 1.5,
                            Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(layout.lines[i]);
    }
    const QColor rim(0x22, 0x2e, 0x3c);
    const QPointF towardsHandle = (layout.handleEnd - layout.lens) / QLineF(layout.lens, layout.handleEnd).length();
    painter.setPen(QPen(rim, layout.handleWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(layout.lens + towardsHandle * layout.lensRadius, layout.handleEnd - towardsHandle * 0.8);
    QRadialGradient glass(layout.lens - QPointF(1.5, 1.5), layout.lensRadius * 1.6);
    glass.setColorAt(0, QColor(0xff, 0xff, 0xff, 200));
    glass.setColorAt(1, QColor(0x7c, 0xc4, 0xf4, 190));
    painter.setBrush(glass);
    painter.setPen(QPen(rim, layout.ringWidth));
    painter.drawEllipse(layout.lens, layout.lensRadius, layout.lensRadius);
    painter.restore();
}

QImage AppMark(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (size <= 22)
        DrawPixelAppMark(painter, size);
    else
        DrawAppMark(painter, size);
    painter.end();
    return image;
}

// ---------------------------------------------------------------------------
// Busy animation: a globe; while busy it turns and a bright comet circles it.

void DrawGlobe(QPainter &painter, qreal turn, bool busy)
{
    const QPointF centre(11, 11);
    const qreal radius = 6.8;
    QRadialGradient sea(centre - QPointF(2.5, 2.5), radius * 1.6);
    if (busy) {
        sea.setColorAt(0, QColor(0xb8, 0xe6, 0xff));
        sea.setColorAt(0.5, QColor(0x30, 0x90, 0xe8));
        sea.setColorAt(1, QColor(0x10, 0x4a, 0xa8));
    } else {
        sea.setColorAt(0, QColor(0xec, 0xee, 0xf2));
        sea.setColorAt(0.5, QColor(0xa8, 0xb0, 0xbc));
        sea.setColorAt(1, QColor(0x6c, 0x76, 0x84));
    }
    painter.setBrush(sea);
    painter.setPen(QPen(busy ? QColor(0x0c, 0x34, 0x80) : QColor(0x58, 0x60, 0x6c), 1));
    painter.drawEllipse(centre, radius, radius);

    // Grid: equator and two parallels, and meridians 45 degrees apart that
    // move with the turn.
    painter.save();
    QPainterPath ball;
    ball.addEllipse(centre, radius - 0.5, radius - 0.5);
    painter.setClipPath(ball);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, busy ? 170 : 150), 0.9));
    painter.drawLine(QPointF(centre.x() - radius, centre.y()), QPointF(centre.x() + radius, centre.y()));
    for (qreal latitude : {-3.6, 3.6}) {
        const qreal half = std::sqrt(radius * radius - latitude * latitude);
        painter.drawLine(QPointF(centre.x() - half, centre.y() + latitude),
                         QPointF(centre.x() + half, centre.y() + latitude));
    }
    for (int k = 0; k < 4; ++k) {
        const qreal longitude = qDegreesToRadians(-90.0 + 45.0 * k + turn);
        const qreal halfWidth = radius * std::sin(longitude);
        const QRectF bounds(centre.x() - std::abs(halfWidth), centre.y() - radius, 2 * std::abs(halfWidth),
                            2 * radius);
        if (std::abs(halfWidth) < 0.3)
            painter.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
        else
            painter.drawArc(bounds, halfWidth > 0 ? -90 * 16 : 90 * 16, 180 * 16);
    }
    painter.restore();
}

void DrawComet(QPainter &painter, qreal headDegrees)
{
    const QPointF centre(11, 11);
    const qreal orbit = 9.2;
    const QRectF bounds(centre.x() - orbit, centre.y() - orbit, 2 * orbit, 2 * orbit);
    // The tail trails the clockwise-moving head, fading and thinning.
    const int pieces = 12;
    const qreal tailLength = 150.0;
    for (int i = pieces - 1; i >= 0; --i) {
        const qreal fade = 1.0 - qreal(i) / pieces;
        QColor colour(0xff, 0x9a, 0x10);
        colour.setAlphaF(0.9 * fade);
        painter.setPen(QPen(colour, 0.8 + 1.4 * fade, Qt::SolidLine, Qt::FlatCap));
        const qreal start = headDegrees + tailLength * i / pieces;
        painter.drawArc(bounds, qRound(start * 16), qRound(tailLength / pieces * 16) + 4);
    }
    const QPointF head = Polar(centre, orbit, headDegrees);
    QRadialGradient spark(head, 2.2);
    spark.setColorAt(0, QColor(0xff, 0xff, 0xe8));
    spark.setColorAt(0.55, QColor(0xff, 0xd0, 0x40));
    spark.setColorAt(1, QColor(0xff, 0x90, 0x00, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(spark);
    painter.drawEllipse(head, 2.2, 2.2);
}

QList<QImage> DrawAnimation()
{
    QList<QImage> frames;
    for (int i = 0; i < kAnimationFrameCount; ++i) {
        QImage frame(kAnimationSize, kAnimationSize, QImage::Format_ARGB32);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool busy = i > 0;
        // Fifteen moving frames make one loop: the globe turns by one meridian
        // spacing and the comet goes once round.
        const qreal step = busy ? i - 1 : 0;
        DrawGlobe(painter, step * 45.0 / (kAnimationFrameCount - 1), busy);
        if (busy)
            DrawComet(painter, 90.0 - step * 360.0 / (kAnimationFrameCount - 1));
        painter.end();
        frames.append(frame);
    }
    return frames;
}

// ---------------------------------------------------------------------------
// Pictures kept as drawings in the resource file Images.qrc.

QImage RenderSvg(const QString &path, const QSize &size)
{
    static const bool registered = (RegisterImageResources(), true);
    Q_UNUSED(registered);
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

// Freedesktop icon names of the strip's images, by index.
constexpr std::array<const char *, kToolbarImageCount> kToolbarThemeNames{
    "go-previous",              // 0 Back
    "go-next",                  // 1 Forward
    "process-stop",             // 2 Stop
    "view-refresh",             // 3 Refresh
    "go-home",                  // 4 Home
    "document-new",             // 5 New
    "document-print",           // 6 Print
    "edit-find",                // 7 Search
    "preferences-desktop-font", // 8 Font
    "document-save",            // 9 Save
    "preferences-system",       // 10 Setting
    "bookmark-new",             // 11 Favourites
    "document-open-recent",     // 12 History
    "mail-message-new",         // 13 Mail
    "help-about",               // 14 About
};

} // namespace

QPixmap LoadResBitmap(int id)
{
    switch (id) {
    case IDB_ABOUT_BANNER:
        return QPixmap::fromImage(RenderSvg(QStringLiteral(":/res/images/about-banner.svg"), QSize(420, 32)));
    case IDB_TOOLBAR_NORMAL:
        return QPixmap::fromImage(ToolbarStrip(false));
    case IDB_TOOLBAR_HOT:
        return QPixmap::fromImage(ToolbarStrip(true));
    case IDB_SETTINGS_LINE:
        return QPixmap::fromImage(RenderSvg(QStringLiteral(":/res/images/settings-line.svg"), QSize(401, 1)));
    default:
        return {};
    }
}

QPixmap ToolbarImage(int stripId, int index)
{
    if ((stripId != IDB_TOOLBAR_NORMAL && stripId != IDB_TOOLBAR_HOT) || index < 0 || index >= kToolbarImageCount)
        return {};
    // The cell's exact magenta pixels become fully transparent; everything
    // else stays opaque, as a one-bit mask would have it.
    QImage cell = ToolbarStrip(stripId == IDB_TOOLBAR_HOT)
                      .copy(index * kToolbarImageWidth, 0, kToolbarImageWidth, kToolbarImageHeight)
                      .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cell.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(cell.scanLine(y));
        for (int x = 0; x < cell.width(); ++x) {
            if (row[x] == kTransparentKey)
                row[x] = 0;
        }
    }
    return QPixmap::fromImage(cell);
}

QString ToolbarIconName(int index)
{
    if (index < 0 || index >= kToolbarImageCount)
        return {};
    return QString::fromLatin1(kToolbarThemeNames[index]);
}

QIcon LoadToolbarIcon(int index)
{
    QIcon drawn;
    const QPixmap normal = ToolbarImage(IDB_TOOLBAR_NORMAL, index);
    if (normal.isNull())
        return drawn;
    drawn.addPixmap(normal, QIcon::Normal);
    drawn.addPixmap(ToolbarImage(IDB_TOOLBAR_HOT, index), QIcon::Active);
    return QIcon::fromTheme(ToolbarIconName(index), drawn);
}

QIcon LoadAppIcon()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(AppMark(size)));
    return icon;
}

QList<QImage> LoadAnimationFrames()
{
    static const QList<QImage> frames = DrawAnimation();
    return frames;
}
