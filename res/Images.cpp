#include "res/Images.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QtMath>

#include <cmath>

#include "res/ResourceIds.h"

// Images.qrc is compiled into this static library; naming its registration
// here keeps the linker from leaving it out of the program.
static void RegisterImageResources()
{
    Q_INIT_RESOURCE(Images);
}

namespace {

constexpr int kAnimationFrameCount = 16;
constexpr int kAnimationSize = 22;

QPointF Polar(const QPointF &centre, qreal radius, qreal degrees)
{
    const qreal radians = qDegreesToRadians(degrees);
    return {centre.x() + radius * std::cos(radians), centre.y() - radius * std::sin(radians)};
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

QString Drawing(const QString &name)
{
    static const bool registered = (RegisterImageResources(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/res/images/") + name + QStringLiteral(".svg");
}

QImage RenderSvg(const QString &path, const QSize &size)
{
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

} // namespace

QPixmap LoadResBitmap(int id)
{
    switch (id) {
    case IDB_ABOUT_BANNER:
        return QPixmap::fromImage(RenderSvg(Drawing(QStringLiteral("about-banner")), QSize(420, 32)));
    case IDB_SETTINGS_LINE:
        return QPixmap::fromImage(RenderSvg(Drawing(QStringLiteral("settings-line")), QSize(401, 1)));
    default:
        return {};
    }
}

QIcon LoadToolbarIcon(const QString &name)
{
    const QString drawing = Drawing(name);
    if (!QFile::exists(drawing))
        return {};
    return QIcon::fromTheme(name, QIcon(drawing));
}

QIcon LoadAppIcon()
{
    // The small sizes have drawings of their own, laid out on the pixel
    // grid; the larger ones scale the desktop's drawing.
    QIcon icon;
    for (int size : {16, 22})
        icon.addPixmap(QPixmap::fromImage(RenderSvg(Drawing(QStringLiteral("quaerio-%1").arg(size)), QSize(size, size))));
    for (int size : {32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(RenderSvg(Drawing(QStringLiteral("quaerio")), QSize(size, size))));
    return icon;
}

QList<QImage> LoadAnimationFrames()
{
    static const QList<QImage> frames = DrawAnimation();
    return frames;
}
