#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

TEST(Images, ToolbarIconsComeFromTheIconThemeElseFromTheirDrawings)
{
    // A theme that has only the stop sign, a red square.
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Plain/22x22/actions"));
    QFile index(root.filePath(QStringLiteral("Plain/index.theme")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Plain\nDirectories=22x22/actions\n\n[22x22/actions]\nSize=22\nType=Fixed\n");
    index.close();
    QImage square(22, 22, QImage::Format_ARGB32);
    square.fill(Qt::red);
    ASSERT_TRUE(square.save(root.filePath(QStringLiteral("Plain/22x22/actions/process-stop.png"))));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({root.path()});
    QIcon::setThemeName(QStringLiteral("Plain"));

    for (const SToolButton &button : MainToolBar()) {
        if (!button.icon)
            continue;
        const QString name = QString::fromUtf16(button.icon);
        const QIcon icon = LoadToolbarIcon(name);
        const QImage picture = icon.pixmap(QSize(30, 20)).toImage();
        if (name == u"process-stop") {
            EXPECT_EQ(icon.name(), name);
            EXPECT_EQ(picture.pixel(picture.width() / 2, 10), QColor(Qt::red).rgb());
        } else {
            // The program's own drawing, 22 x 20, with something on it.
            EXPECT_EQ(picture.size(), QSize(22, 20)) << qPrintable(name);
            EXPECT_GT(Covered(picture), 0.2) << qPrintable(name);
        }
    }
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(theme);
}

TEST(Images, EveryDrawingRenders)
{
    for (const QPixmap &picture : {LoadResBitmap(IDB_ABOUT_BANNER), LoadResBitmap(IDB_SETTINGS_LINE)})
        EXPECT_EQ(Covered(picture.toImage()), 1.0);
    // Every size of the application's mark is drawn.
    const QIcon icon = LoadAppIcon();
    for (int side : {16, 22, 32, 48, 64, 128, 256})
        EXPECT_GT(Covered(icon.pixmap(QSize(side, side)).toImage()), 0.5) << side;
}
