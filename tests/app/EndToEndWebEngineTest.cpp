#include <QApplication>
#include <QComboBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "app/QuaerioApp.h"
#include "browsers/ResultBrowser.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "catalogue/CatalogFile.h"
#include "frame/MainFrame.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"
#include "workspace/FindBar.h"
#include "workspace/QuaerioView.h"

namespace
{
// The document a page shows now, as markup.
QString HtmlOf(QWebEnginePage *page)
{
    auto html = std::make_shared<std::optional<QString>>();
    page->toHtml([html](const QString &text) { *html = text; });
    WaitUntil([&] { return html->has_value(); });
    return html->value_or(QString());
}
} // namespace

// The program as a user meets it, with the real browser engine, on three
// engines served from loopback: one answers, one answers HTTP 500 and one
// refuses the connection. Keywords typed into the keyword box and "&Search"
// clicked reach the engines; the failed pages are readable (the engine, the
// address and the reason, with a link that tries again) and their rows read
// "Failed"; the search completes and the keywords head the history.
TEST(EndToEndWebEngineTest, ATypedSearchReachesTheEnginesFailuresAreReadableAndTheSearchCompletes)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.listen());
    server.setRoute(QStringLiteral("/broken"), "<html><body>oops</body></html>", "text/html", {}, "500 Internal Server Error");
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QStringList urls = {server.url(QStringLiteral("/good?q=*")), server.url(QStringLiteral("/broken?q=*")),
                              QStringLiteral("http://127.0.0.1:%1/closed?q=*").arg(closed.serverPort())};
    closed.close();
    const QStringList names = {QStringLiteral("Good Engine"), QStringLiteral("Broken Engine"), QStringLiteral("Closed Engine")};
    TempProfile profile;
    MessageBoxRecorder boxes;
    WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PreservedKeywords"), 1);
    const BesideProgram files(CatalogueText(QStringLiteral("English/Loopback=L0 L1 L2"), names,
                                            [&](const QString &engine) { return urls.at(engine.mid(1).toInt()); }),
                              QStringLiteral("<html><title>first</title></html>"));
    CWebEngineBrowserControlFactory engines;
    const CInstalled<IBrowserControlFactory> installed(engines);

    auto app = std::make_unique<CQuaerioApp>();
    ASSERT_TRUE(app->InitInstance());
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    const auto complete = [frame] { return WaitUntil([&] { return frame->GetMessageText() == QStringLiteral("Complete"); }, 60000); };
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    ASSERT_TRUE(complete());

    auto *keywords = Ctl<QComboBox>(view, IDC_CBO_KEYWORDS);
    keywords->lineEdit()->clear();
    QTest::keyClicks(keywords, QStringLiteral(" pear juice "));
    Click(Ctl(view, IDC_BTN_SEARCH));
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("Searching pear juice"));
    ASSERT_TRUE(WaitUntil([&] { return server.requestCount() >= 2; }, 60000));
    ASSERT_TRUE(complete());
    QStringList targets;
    for (const QString &target : server.requests())
        targets.append(QUrl::fromPercentEncoding(target.toUtf8()));
    targets.sort();
    EXPECT_EQ(targets, QStringList({QStringLiteral("/broken?q=pear juice"), QStringLiteral("/good?q=pear juice")}));
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("pear juice"));

    auto *list = Ctl<QTableWidget>(view, IDC_LST_ENGINES);
    EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("100%"));
    const QStringList reasons = {{}, QStringLiteral("HTTP status 500"), QStringLiteral("refused the connection")};
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(list->item(i, 1)->text(), QStringLiteral("Failed")) << i;
        auto *control = dynamic_cast<CWebEngineBrowserControl *>(view->Browsers().GetBrowser(i)->Control());
        ASSERT_TRUE(control);
        const QString address = QString(urls.at(i)).replace(u'*', QStringLiteral("pear%20juice"));
        QString html;
        // Chromium's own error page comes first; the readable page replaces it.
        EXPECT_TRUE(WaitUntil([&] { return (html = HtmlOf(control->Page())).contains(names.at(i)); })) << i;
        for (const QString &part : {QStringLiteral("Retry"), reasons.at(i)})
            EXPECT_TRUE(html.contains(part)) << part.toStdString() << "\n" << html.toStdString();
        EXPECT_TRUE(QUrl::fromPercentEncoding(html.toUtf8()).contains(QUrl::fromPercentEncoding(address.toUtf8())))
            << address.toStdString();
    }
    EXPECT_TRUE(Ctl<QTabBar>(view, IDC_TAB_ENGINES)->tabToolTip(1).contains(u"HTTP 500"));
    EXPECT_TRUE(boxes.texts().isEmpty());
    frame->close();
}

// With the keyboard in a real web page, the window's keys still work: the
// tab keys switch tabs, and the find bar counts the matches in the page.
TEST(EndToEndWebEngineTest, TabAndFindKeysWorkWhileAWebPageHasTheKeyboard)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.listen());
    server.setRoute(QStringLiteral("/fruit"), "<html><body><input autofocus>apple pear apple plum apple</body></html>");
    TempProfile profile;
    MessageBoxRecorder boxes;
    QTemporaryDir dir;
    UseCatalogue(dir.path(), CatalogueText(QStringLiteral("English/Two=A B"), {},
                                           [&](const QString &) { return server.url(QStringLiteral("/fruit?q=*")); }));
    CWebEngineBrowserControlFactory engines;
    const CInstalled<IBrowserControlFactory> installed(engines);
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.LoadFrame());
        auto *view = new CQuaerioView(&frame);
        frame.SetView(view);
        view->OnInitialUpdate();
        frame.ActivateFrame();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        auto *keywords = view->findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS));
        keywords->setEditText(QStringLiteral("fruit"));
        view->OnSearch();
        ASSERT_TRUE(WaitUntil([&] { return server.requestCount() >= 2 && !view->Browsers().IsAnyBusy(); }, 60000));

        // The keyboard goes into the page shown (F6 from the keyword box).
        QTest::keyClick(keywords, Qt::Key_F6);
        auto *engine = dynamic_cast<CWebEngineBrowserControl *>(view->CurrentBrowser()->Control());
        ASSERT_TRUE(engine && engine->View());
        ASSERT_TRUE(WaitUntil([&] { return engine->View()->isAncestorOf(QApplication::focusWidget()); }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(view->CurrentBrowser(), view->Browsers().GetBrowser(1));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        auto *bar = view->findChild<CFindBar *>();
        ASSERT_TRUE(bar && bar->isVisible());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("apple"));
        EXPECT_TRUE(WaitUntil([bar] { return bar->ResultText() == QStringLiteral("1 of 3"); }))
            << bar->ResultText().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(WaitUntil([bar] { return bar->ResultText() == QStringLiteral("2 of 3"); }))
            << bar->ResultText().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(bar->isVisible());
        frame.close();
    }
    DestroyAppSettings();
    DestroyCatalogFile();
}

// Engines that take their keywords in another charset or by POST, described
// by the catalogue's keys, each on a loopback address of its own. What
// arrives is, byte for byte, the keywords in the engine's charset, a
// character it lacks as "&#N;", in the path, the query and the form body.
// The engine list shows the POST engines' method.
TEST(EndToEndWebEngineTest, CharsetsAndFormsReachTheEnginesByteForByte)
{
    using namespace Qt::StringLiterals;
    struct SEngine
    {
        QString keys;   // the section's keys after Name
        QByteArray target;
        QByteArray body; // POST only
    };
    const QList<SEngine> engines = {
        {u"URL=/p/*/r?q=*\nEncoding=windows-1251"_s,
         "/p/%C6&%2321271;&%2320140;%20&%2349436;&%2350872;%20&%23128512;%20a%2Fb%3Fc&d%23e%25f+g/r?q=%C6%26%2321271%3B"
         "%26%2320140%3B%20%26%2349436%3B%26%2350872%3B%20%26%23128512%3B%20a/b?c%26d%23e%25f%2Bg", {}},
        {u"URL=/p/*/r?q=*\nEncoding=Shift_JIS"_s,
         "/p/%84G%96k%8B%9E%20&%2349436;&%2350872;%20&%23128512;%20a%2Fb%3Fc&d%23e%25f+g/r?q=%84G%96k%8B%9E%20"
         "%26%2349436%3B%26%2350872%3B%20%26%23128512%3B%20a/b?c%26d%23e%25f%2Bg", {}},
        {u"URL=/p/*/r?q=*\nEncoding=EUC-KR"_s,
         "/p/%AC%A8%DD%C1%CC%C8%20%BC%AD%BF%EF%20&%23128512;%20a%2Fb%3Fc&d%23e%25f+g/r?q=%AC%A8%DD%C1%CC%C8%20"
         "%BC%AD%BF%EF%20%26%23128512%3B%20a/b?c%26d%23e%25f%2Bg", {}},
        {u"URL=/p/*/r?q=*\nEncoding=GB18030"_s,
         "/p/%A7%A8%B1%B1%BE%A9%20%831%F39%833%875%20%949%FC6%20a%2Fb%3Fc&d%23e%25f+g/r?q=%A7%A8%B1%B1%BE%A9%20"
         "%831%F39%833%875%20%949%FC6%20a/b?c%26d%23e%25f%2Bg", {}},
        {u"URL=/f?src=*\nMethod=POST\nPostData=q=*&x=1"_s,
         "/f?src=%D0%96%E5%8C%97%E4%BA%AC%20%EC%84%9C%EC%9A%B8%20%F0%9F%98%80%20a/b?c%26d%23e%25f%2Bg",
         "q=%D0%96%E5%8C%97%E4%BA%AC+%EC%84%9C%EC%9A%B8+%F0%9F%98%80+a%2Fb%3Fc%26d%23e%25f%2Bg&x=1"},
        {u"URL=/f\nencoding=cp1251\nmethod=post\nPostData=q=*&lang=ру"_s, "/f",
         "q=%C6%26%2321271%3B%26%2320140%3B+%26%2349436%3B%26%2350872%3B+%26%23128512%3B+a%2Fb%3Fc%26d%23e%25f%2Bg"
         "&lang=%F0%F3"},
    };
    std::vector<std::unique_ptr<LoopbackHttpServer>> servers;
    QString catalogue = u"[LANGUAGES]\nLanguages=L\n[CATEGORYS]\nL=C\n[L]\nC=E0;E1;E2;E3;E4;E5\n"_s;
    for (int i = 0; i < engines.size(); ++i) {
        servers.push_back(std::make_unique<LoopbackHttpServer>());
        ASSERT_TRUE(servers.back()->listen(QHostAddress(u"127.0.0.%1"_s.arg(i + 2))));
        catalogue += u"[E%1]\nName=E%1\n"_s.arg(i) + QString(engines.at(i).keys).replace(u"URL=/"_s, u"URL=" + servers.back()->url()) + u'\n';
    }
    TempProfile profile;
    MessageBoxRecorder boxes;
    QTemporaryDir dir;
    GetCatalogFile()->m_szPath = dir.filePath(u"Quaerio.CFG"_s);
    ASSERT_TRUE(WriteTextFile(GetCatalogFile()->m_szPath, catalogue));
    g_szFirstShowPath = dir.filePath(u"none.mht"_s);
    CWebEngineBrowserControlFactory factory;
    const CInstalled<IBrowserControlFactory> installed(factory);
    {
        CQuaerioView view;
        view.OnInitialUpdate();
        view.findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS))->setEditText(u"Ж北京 서울 😀 a/b?c&d#e%f+g"_s);
        view.OnSearch();
        ASSERT_TRUE(WaitUntil([&] {
            return std::all_of(servers.begin(), servers.end(), [](const auto &s) { return s->requestCount() > 0; })
                && !view.Browsers().IsAnyBusy();
        }, 60000));

        const auto *list = view.findChild<QTableWidget *>(QString::number(IDC_LST_ENGINES));
        for (int i = 0; i < engines.size(); ++i) {
            SCOPED_TRACE(i);
            const LoopbackHttpServer &server = *servers.at(i);
            const bool post = !engines.at(i).body.isEmpty();
            EXPECT_EQ(server.requests(), QStringList{QString::fromLatin1(engines.at(i).target)});
            EXPECT_EQ(server.requestMethods(), QList<QByteArray>{post ? "POST" : "GET"});
            EXPECT_EQ(server.requestBodies(), QList<QByteArray>{engines.at(i).body});
            EXPECT_EQ(server.requestHeaders().constFirst().contains("Content-Type: application/x-www-form-urlencoded"), post);
            const QString url = view.Browsers().GetBrowser(i)->QueryTemplate();
            EXPECT_EQ(list->item(i, 2)->text(), post ? u"POST " + url : url);
        }
        EXPECT_TRUE(boxes.texts().isEmpty());
    }
    DestroyAppSettings();
    DestroyCatalogFile();
}
