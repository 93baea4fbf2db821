#include <QIcon>

#include <gtest/gtest.h>

#include "res/Images.h"
#include "res/Menus.h"
#include "res/ResourceIds.h"

namespace
{
// The share of `image`'s pixels that are not transparent.
double Covered(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            opaque += qAlpha(argb.pixel(x, y)) > 0;
    return argb.isNull() ? 0 : double(opaque) / (argb.width() * argb.height());
}
} // namespace

// With no icon theme installed here, every picture is the program's own drawing.
TEST(Images, EveryDrawingRenders)
{
    for (const SToolButton &button : MainToolBar()) {
        if (!button.icon)
            continue;
        const QString name = QString::fromUtf16(button.icon);
        const QImage picture = LoadToolbarIcon(name).pixmap(QSize(30, 20)).toImage();
        EXPECT_EQ(picture.size(), QSize(22, 20)) << qPrintable(name);
        EXPECT_GT(Covered(picture), 0.2) << qPrintable(name);
    }
    for (const QPixmap &picture : {LoadResBitmap(IDB_ABOUT_BANNER), LoadResBitmap(IDB_SETTINGS_LINE)})
        EXPECT_EQ(Covered(picture.toImage()), 1.0);
    // Every size of the application's mark is drawn.
    const QIcon icon = LoadAppIcon();
    for (int side : {16, 22, 32, 48, 64, 128, 256})
        EXPECT_GT(Covered(icon.pixmap(QSize(side, side)).toImage()), 0.5) << side;
}
