// The first-show page that ships beside the program: a valid MIME HTML file
// that Qt WebEngine renders from a local path.

#include <QEventLoop>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace
{
const QString kFirstShow = QStringLiteral(QUAERIO_FIRSTSHOW);
} // namespace

TEST(FirstShowPage, IsMimeHtmlWithCrlfLineEnds)
{
    QFile file(kFirstShow);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(kFirstShow);
    const QByteArray mime = file.readAll();

    const qsizetype headerEnd = mime.indexOf("\r\n\r\n");
    ASSERT_GT(headerEnd, 0);
    const QByteArray headers = mime.left(headerEnd);
    EXPECT_TRUE(headers.contains("\r\nMIME-Version: 1.0\r\n"));
    EXPECT_TRUE(headers.contains("\r\nContent-Type: multipart/related;"));
    EXPECT_TRUE(headers.contains("Subject: Welcome to Quaerio"));

    const qsizetype boundaryAt = headers.indexOf("boundary=\"");
    ASSERT_GT(boundaryAt, 0);
    const qsizetype boundaryStart = boundaryAt + 10;
    const QByteArray boundary = headers.mid(boundaryStart, headers.indexOf('"', boundaryStart) - boundaryStart);
    ASSERT_FALSE(boundary.isEmpty());
    const QByteArray firstPart = QByteArray("\r\n--") + boundary + QByteArray("\r\nContent-Type: text/html\r\n");
    const QByteArray closing = QByteArray("--") + boundary + QByteArray("--");
    EXPECT_TRUE(mime.contains(firstPart));
    EXPECT_TRUE(mime.trimmed().endsWith(closing));

    // Every line ends in CRLF, and no path of the machine that made it remains.
    EXPECT_EQ(mime.count('\n'), mime.count("\r\n"));
    EXPECT_FALSE(mime.contains("file:///home/") || mime.contains("file:///work/") || mime.contains("file:///tmp/"));
}

TEST(FirstShowPage, RendersFromItsLocalFile)
{
    QWebEngineView view;
    view.resize(800, 600);
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.load(QUrl::fromLocalFile(kFirstShow));
    ASSERT_TRUE(loaded.wait(120'000));
    EXPECT_TRUE(loaded.first().first().toBool());
    EXPECT_EQ(view.title(), QStringLiteral("Welcome to Quaerio"));

    QString text;
    bool done = false;
    QEventLoop loop;
    QTimer::singleShot(120'000, &loop, &QEventLoop::quit);
    view.page()->toPlainText([&](const QString &result) {
        text = result;
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    ASSERT_TRUE(done);
    EXPECT_TRUE(text.contains(QStringLiteral("Quaerio.CFG")));
    EXPECT_TRUE(text.contains(QStringLiteral("How to search")));
}
