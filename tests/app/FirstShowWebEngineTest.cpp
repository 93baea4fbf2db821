// The first-show page that ships beside the program: a valid MIME HTML file
// that Qt WebEngine renders from a local path.

#include <QFile>
#include <QSignalSpy>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

TEST(FirstShowPage, IsMimeHtmlWithCrlfLineEndsAndRendersFromItsLocalFile)
{
    const QString path = QStringLiteral(QUAERIO_FIRSTSHOW);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    const QByteArray mime = file.readAll();
    const QByteArray headers = mime.left(mime.indexOf("\r\n\r\n"));
    EXPECT_TRUE(headers.contains("\r\nMIME-Version: 1.0\r\n"));
    const qsizetype boundaryStart = headers.indexOf("boundary=\"") + 10;
    const QByteArray boundary = headers.mid(boundaryStart, headers.indexOf('"', boundaryStart) - boundaryStart);
    ASSERT_GT(boundaryStart, 10);
    EXPECT_TRUE(mime.contains(QByteArray("\r\n--" + boundary + "\r\nContent-Type: text/html\r\n")));
    EXPECT_TRUE(mime.trimmed().endsWith(QByteArray("--" + boundary + "--")));
    // Every line ends in CRLF, and no path of the machine that made it remains.
    EXPECT_EQ(mime.count('\n'), mime.count("\r\n"));
    EXPECT_FALSE(mime.contains("file:///home/") || mime.contains("file:///work/") || mime.contains("file:///tmp/"));

    QWebEngineView view;
    view.resize(800, 600);
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.load(QUrl::fromLocalFile(path));
    ASSERT_TRUE(loaded.wait(120'000));
    EXPECT_TRUE(loaded.first().first().toBool());
    EXPECT_EQ(view.title(), QStringLiteral("Welcome to Quaerio"));
    QString text;
    view.page()->toPlainText([&text](const QString &result) { text = result; });
    ASSERT_TRUE(WaitUntil([&text] { return !text.isEmpty(); }, 120'000));
    EXPECT_TRUE(text.contains(QStringLiteral("Quaerio.CFG")));
    EXPECT_TRUE(text.contains(QStringLiteral("How to search")));
}
