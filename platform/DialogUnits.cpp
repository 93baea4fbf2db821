#include "platform/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

#include <cmath>

namespace
{
// Rounds a * b / c to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c)
{
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}
} // namespace

QFont DialogFont()
{
    QFont font = QApplication::font();
    font.setPointSize(9);
    return font;
}

QSize DialogBaseUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int averageWidth = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    return {averageWidth, metrics.height()};
}

int DluToPixelsX(int dlu, const QFont &font)
{
    return mulDiv(dlu, DialogBaseUnits(font).width(), 4);
}

int DluToPixelsY(int dlu, const QFont &font)
{
    return mulDiv(dlu, DialogBaseUnits(font).height(), 8);
}

QRect DluRectToPixels(int x, int y, int width, int height, const QFont &font)
{
    return {DluToPixelsX(x, font), DluToPixelsY(y, font), DluToPixelsX(width, font), DluToPixelsY(height, font)};
}

QLabel *CreateStaticText(const QString &text, const QRect &rect, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    return label;
}

QLabel *CreatePicture(const QPixmap &pixmap, const QPoint &position, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setPixmap(pixmap);
    picture->move(position);
    picture->resize(pixmap.size());
    return picture;
}
