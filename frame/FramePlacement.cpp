#include "frame/FramePlacement.h"

#include <limits>

namespace
{
// Window coordinates beyond this are not positions any screen arrangement
// gives; a stored value outside the range is garbage.
constexpr qint64 kCoordinateLimit = 32767;

constexpr qsizetype kFieldOffsets[] = {0, 5, 10, 15};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// A decimal integer as the C library's wide-string conversion reads it,
// saturated to the range of int.
int readInteger(const QString &text, qsizetype at)
{
    qsizetype i = at;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            value = qint64(std::numeric_limits<int>::max()) + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
} // namespace

QString FormatFramePosition(const QRect &rect)
{
    return QString::asprintf("%04d %04d %04d %04d", rect.x(), rect.y(), rect.x() + rect.width(),
                             rect.y() + rect.height());
}

std::optional<QRect> ParseFramePosition(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    qint64 fields[4] = {};
    for (int i = 0; i < 4; ++i) {
        const qsizetype offset = kFieldOffsets[i];
        fields[i] = offset < text.size() ? readInteger(text, offset) : 0;
        if (fields[i] < -kCoordinateLimit || fields[i] > kCoordinateLimit)
            return std::nullopt;
    }
    const qint64 width = fields[2] - fields[0];
    const qint64 height = fields[3] - fields[1];
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return QRect(static_cast<int>(fields[0]), static_cast<int>(fields[1]), static_cast<int>(width),
                 static_cast<int>(height));
}

QRect FitOntoScreens(const QRect &rect, const QList<QRect> &screens, const QRect &primaryAvailable)
{
    for (const QRect &screen : screens) {
        if (screen.intersects(rect))
            return rect;
    }
    if (primaryAvailable.isEmpty())
        return rect;
    return QRect(primaryAvailable.topLeft(), rect.size().boundedTo(primaryAvailable.size()));
}
