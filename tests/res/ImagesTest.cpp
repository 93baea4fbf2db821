#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "res/Images.h"
#include "res/ResourceIds.h"

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;

bool IsUniform(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

int OpaqueCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

// The toolbar's images, in the order its buttons use them: New, Back,
// Forward, Stop, Refresh, Font, Setting, About.
const int kUsedImages[] = {5, 0, 1, 2, 3, 8, 10, 14};

} // namespace

TEST(Images, BitmapsHaveTheirSizesAndUnknownIdsGiveNothing)
{
    EXPECT_EQ(LoadResBitmap(IDB_ABOUT_BANNER).size(), QSize(420, 32));
    EXPECT_EQ(LoadResBitmap(IDB_TOOLBAR_NORMAL).size(), QSize(330, 20));
    EXPECT_EQ(LoadResBitmap(IDB_TOOLBAR_HOT).size(), QSize(330, 20));
    EXPECT_EQ(LoadResBitmap(IDB_SETTINGS_LINE).size(), QSize(401, 1));
    for (int id : {0, -1, IDR_MAINFRAME, IDR_BUSY_ANIMATION, 264})
        EXPECT_TRUE(LoadResBitmap(id).isNull()) << id;

    EXPECT_TRUE(ToolbarImage(IDB_TOOLBAR_NORMAL, -1).isNull());
    EXPECT_TRUE(ToolbarImage(IDB_TOOLBAR_HOT, 15).isNull());
    EXPECT_TRUE(ToolbarImage(IDB_ABOUT_BANNER, 0).isNull());
    EXPECT_EQ(ToolbarImage(IDB_TOOLBAR_HOT, 14).size(), QSize(22, 20));
}

TEST(Images, BannerShowsMoreThanAFlatColourAndTheSettingsLineIsDark)
{
    EXPECT_FALSE(IsUniform(LoadResBitmap(IDB_ABOUT_BANNER).toImage()));
    const QImage line = LoadResBitmap(IDB_SETTINGS_LINE).toImage();
    for (int x = 0; x < line.width(); ++x)
        ASSERT_LT(qGray(line.pixel(x, 0)), 170) << x;
}

TEST(Images, StripsAreKeyedOnExactMagentaWithoutPinkFringes)
{
    for (int strip : {IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_HOT}) {
        const QImage image = LoadResBitmap(strip).toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                ASSERT_EQ(qAlpha(pixel), 255);
                // A colour close to the key but not equal to it would show as
                // a pink halo around the button images.
                const bool nearKey = qRed(pixel) > 200 && qBlue(pixel) > 200 && qGreen(pixel) < 90;
                ASSERT_TRUE(!nearKey || pixel == kMagenta) << strip << " at " << x << "," << y;
            }
        }
        for (int i = 0; i < 15; ++i) {
            // Each cell keeps a transparent rim in its top corners and the
            // pixmap handed to the toolbar is transparent exactly there.
            const QImage cell = image.copy(i * 22, 0, 22, 20);
            EXPECT_EQ(cell.pixel(0, 0), kMagenta) << i;
            EXPECT_EQ(cell.pixel(21, 0), kMagenta) << i;
            const QImage keyed = ToolbarImage(strip, i).toImage().convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 22; ++x)
                    ASSERT_EQ(qAlpha(keyed.pixel(x, y)) == 0, cell.pixel(x, y) == kMagenta) << i;
            EXPECT_GT(OpaqueCount(keyed), 60) << "image " << i << " is nearly empty";
        }
    }
}

TEST(Images, ToolbarImagesAreDistinctAndLightUpUnderThePointer)
{
    QSet<QByteArray> seen;
    for (int i : kUsedImages) {
        const QImage normal = ToolbarImage(IDB_TOOLBAR_NORMAL, i).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage hot = ToolbarImage(IDB_TOOLBAR_HOT, i).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_NE(normal, hot) << i;
        const QByteArray bits(reinterpret_cast<const char *>(normal.constBits()), normal.sizeInBytes());
        EXPECT_FALSE(seen.contains(bits)) << "image " << i << " repeats another";
        seen.insert(bits);

        // The hot image is the same shape, only livelier.
        double normalSaturation = 0, hotSaturation = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 22; ++x) {
                ASSERT_EQ(qAlpha(normal.pixel(x, y)), qAlpha(hot.pixel(x, y))) << i;
                normalSaturation += QColor(normal.pixel(x, y)).hsvSaturationF();
                hotSaturation += QColor(hot.pixel(x, y)).hsvSaturationF();
            }
        }
        EXPECT_GT(hotSaturation, normalSaturation) << i;
    }
}

TEST(Images, AnimationIdlesOnItsFirstFrameAndMovesOnEveryOther)
{
    const QList<QImage> frames = LoadAnimationFrames();
    ASSERT_EQ(frames.size(), 16);
    for (const QImage &frame : frames) {
        EXPECT_EQ(frame.size(), QSize(22, 22));
        EXPECT_TRUE(frame.hasAlphaChannel());
        EXPECT_EQ(qAlpha(frame.pixel(0, 0)), 0);
        EXPECT_GT(OpaqueCount(frame), 100);
    }
    for (int i = 1; i < frames.size(); ++i) {
        EXPECT_NE(frames[i], frames[0]) << i;
        const int next = i == frames.size() - 1 ? 1 : i + 1;
        EXPECT_NE(frames[i], frames[next]) << i;
    }
}

TEST(Images, AppIconComesInEverySizeTheDesktopAsksFor)
{
    const QIcon icon = LoadAppIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 22, 32, 48, 64, 128, 256}) {
        ASSERT_TRUE(sizes.contains(QSize(side, side))) << side;
        const QImage image = icon.pixmap(QSize(side, side)).toImage();
        EXPECT_EQ(image.size(), QSize(side, side));
        EXPECT_EQ(qAlpha(image.pixel(0, side - 1)), 0) << side;
        EXPECT_GT(OpaqueCount(image), side * side / 3) << side;
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
    EXPECT_EQ(reader.attributes().value(QLatin1String("viewBox")), u"0 0 256 256");
    int shapes = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement
            && (reader.name() == u"path" || reader.name() == u"circle" || reader.name() == u"line"))
            ++shapes;
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_GT(shapes, 5);
}
