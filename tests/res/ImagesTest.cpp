#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "res/Images.h"
#include "res/ResourceIds.h"

TEST(Images, BitmapsAndIconsHaveTheirSizes)
{
    EXPECT_EQ(LoadResBitmap(IDB_ABOUT_BANNER).size(), QSize(420, 32));
    EXPECT_EQ(LoadResBitmap(IDB_TOOLBAR_NORMAL).size(), QSize(330, 20));
    EXPECT_EQ(LoadResBitmap(IDB_TOOLBAR_HOT).size(), QSize(330, 20));
    EXPECT_EQ(LoadResBitmap(IDB_SETTINGS_LINE).size(), QSize(401, 1));
    for (int id : {0, IDR_MAINFRAME, IDR_BUSY_ANIMATION})
        EXPECT_TRUE(LoadResBitmap(id).isNull()) << id;
    EXPECT_TRUE(ToolbarImage(IDB_TOOLBAR_NORMAL, -1).isNull());
    EXPECT_TRUE(ToolbarImage(IDB_TOOLBAR_HOT, 15).isNull());
    EXPECT_TRUE(ToolbarImage(IDB_ABOUT_BANNER, 0).isNull());

    const QIcon icon = LoadAppIcon();
    for (int side : {16, 32, 48, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
        EXPECT_EQ(icon.pixmap(QSize(side, side)).size(), QSize(side, side));
    }
}

TEST(Images, ToolbarImagesAreTransparentWhereMagentaAndTheUsedOnesDistinct)
{
    // The toolbar's buttons use these images: New, Back, Forward, Stop,
    // Refresh, Font, Setting, About.
    const QSet<int> used{5, 0, 1, 2, 3, 8, 10, 14};
    QSet<QByteArray> seen;
    for (int strip : {IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_HOT}) {
        const QImage image = LoadResBitmap(strip).toImage();
        for (int i = 0; i < 15; ++i) {
            const QImage cell = image.copy(i * 22, 0, 22, 20);
            const QImage keyed = ToolbarImage(strip, i).toImage().convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(keyed.size(), QSize(22, 20));
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 22; ++x)
                    ASSERT_EQ(qAlpha(keyed.pixel(x, y)) == 0, cell.pixel(x, y) == 0xFFFF00FF) << strip << " image " << i;
            // Every used image differs from the others, and its hot form from its normal one.
            if (used.contains(i)) {
                const QByteArray bits(reinterpret_cast<const char *>(keyed.constBits()), keyed.sizeInBytes());
                EXPECT_FALSE(seen.contains(bits)) << strip << " image " << i << " repeats another";
                seen.insert(bits);
            }
        }
    }
}

TEST(Images, BannerAndSettingsLineComeFromTheirDrawings)
{
    // The banner runs from dark blue on the left to light blue on the right.
    const QImage banner = LoadResBitmap(IDB_ABOUT_BANNER).toImage();
    EXPECT_LT(qBlue(banner.pixel(2, 28)) + qGreen(banner.pixel(2, 28)),
              qBlue(banner.pixel(417, 28)) + qGreen(banner.pixel(417, 28)));
    EXPECT_EQ(qAlpha(banner.pixel(200, 16)), 255);
    // The line is a groove that lightens towards both ends.
    const QImage line = LoadResBitmap(IDB_SETTINGS_LINE).toImage();
    EXPECT_LT(qGray(line.pixel(200, 0)), qGray(line.pixel(0, 0)));
    EXPECT_LT(qGray(line.pixel(200, 0)), qGray(line.pixel(400, 0)));
    EXPECT_EQ(qGray(line.pixel(100, 0)), qGray(line.pixel(300, 0)));
}

namespace
{
// Installs an icon theme for one test and puts the previous one back.
class ScopedIconTheme final
{
public:
    ScopedIconTheme(const QStringList &searchPaths, const QString &name)
        : m_paths(QIcon::themeSearchPaths()), m_name(QIcon::themeName()), m_fallbackPaths(QIcon::fallbackSearchPaths())
    {
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(name);
    }
    ~ScopedIconTheme()
    {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_name);
        QIcon::setFallbackSearchPaths(m_fallbackPaths);
    }
    Q_DISABLE_COPY_MOVE(ScopedIconTheme)

private:
    QStringList m_paths;
    QString m_name;
    QStringList m_fallbackPaths;
};

// A theme "Plain" whose 22-pixel icons are squares of one colour each.
void WriteTheme(const QString &root, const QList<std::pair<QString, QColor>> &icons)
{
    QDir(root).mkpath(QStringLiteral("Plain/22x22/actions"));
    QFile index(root + QStringLiteral("/Plain/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Plain\nDirectories=22x22/actions\n\n"
                "[22x22/actions]\nSize=22\nContext=Actions\nType=Fixed\n");
    index.close();
    for (const auto &[name, colour] : icons) {
        QImage square(22, 22, QImage::Format_ARGB32);
        square.fill(colour);
        ASSERT_TRUE(square.save(root + QStringLiteral("/Plain/22x22/actions/") + name + QStringLiteral(".png")));
    }
}
} // namespace

TEST(Images, ToolbarIconsAreDrawnWhenNoIconThemeHasThem)
{
    QTemporaryDir empty;
    ScopedIconTheme theme({empty.path()}, QStringLiteral("Absent"));
    for (int i = 0; i < 15; ++i) {
        const QIcon icon = LoadToolbarIcon(i);
        EXPECT_TRUE(icon.name().isEmpty()) << i;
        EXPECT_EQ(icon.pixmap(QSize(22, 20)).toImage(), ToolbarImage(IDB_TOOLBAR_NORMAL, i).toImage()) << i;
        EXPECT_EQ(icon.pixmap(QSize(22, 20), QIcon::Active).toImage(), ToolbarImage(IDB_TOOLBAR_HOT, i).toImage())
            << i;
    }
    EXPECT_TRUE(LoadToolbarIcon(15).isNull());
    EXPECT_TRUE(LoadToolbarIcon(-1).isNull());
    EXPECT_TRUE(ToolbarIconName(15).isEmpty());
}

TEST(Images, ToolbarIconsComeFromTheIconThemeWhereItHasThem)
{
    QTemporaryDir root;
    WriteTheme(root.path(), {{QStringLiteral("go-previous"), Qt::red}, {QStringLiteral("help-about"), Qt::blue}});
    ScopedIconTheme theme({root.path()}, QStringLiteral("Plain"));

    const QIcon back = LoadToolbarIcon(0);
    EXPECT_EQ(back.name(), QStringLiteral("go-previous"));
    EXPECT_EQ(back.pixmap(QSize(22, 22)).toImage().pixel(11, 11), QColor(Qt::red).rgb());
    EXPECT_EQ(LoadToolbarIcon(14).pixmap(QSize(22, 22)).toImage().pixel(11, 11), QColor(Qt::blue).rgb());
    // What the theme lacks is drawn.
    const QIcon forward = LoadToolbarIcon(1);
    EXPECT_TRUE(forward.name().isEmpty());
    EXPECT_EQ(forward.pixmap(QSize(22, 20)).toImage(), ToolbarImage(IDB_TOOLBAR_NORMAL, 1).toImage());
}

TEST(Images, AnimationIdlesOnItsFirstFrameAndMovesOnEveryOther)
{
    const QList<QImage> frames = LoadAnimationFrames();
    ASSERT_EQ(frames.size(), 16);
    for (int i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].size(), QSize(22, 22));
        EXPECT_EQ(qAlpha(frames[i].pixel(0, 0)), 0);
        if (i > 0) {
            EXPECT_NE(frames[i], frames[0]) << i;
            EXPECT_NE(frames[i], frames[i == frames.size() - 1 ? 1 : i + 1]) << i;
        }
    }
}

TEST(Images, DesktopIconIsAWellFormedSvgDocument)
{
    QFile file(QStringLiteral(QUAERIO_SOURCE_DIR "/res/quaerio.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    ASSERT_TRUE(reader.readNextStartElement());
    EXPECT_EQ(reader.name(), u"svg");
    EXPECT_EQ(reader.namespaceUri(), u"http://www.w3.org/2000/svg");
    int elements = 0;
    while (!reader.atEnd())
        elements += reader.readNext() == QXmlStreamReader::StartElement;
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_GT(elements, 5);
}
