#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHostAddress>
#include <QMenu>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/QuaerioApp.h"
#include "browsers/ResultBrowser.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "catalogue/CatalogFile.h"
#include "enginemanager/EngineEditorDlg.h"
#include "frame/MainFrame.h"
#include "platform/ModulePaths.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"
#include "workspace/FindBar.h"
#include "workspace/QuaerioView.h"

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
        auto *keywords = Ctl<QComboBox>(view, IDC_CBO_KEYWORDS);
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
        const auto shows = [bar](const QString &text) { return WaitUntil([&] { return bar->ResultText() == text; }); };
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("apple"));
        EXPECT_TRUE(shows(QStringLiteral("1 of 3"))) << bar->ResultText().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(shows(QStringLiteral("2 of 3"))) << bar->ResultText().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(bar->isVisible());
        frame.close();
    }
    DestroyAppSettings();
    DestroyCatalogFile();
}

// Each engine on a loopback address of its own; a character its charset lacks goes as "&#N;".
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
    UseCatalogue(dir.path(), catalogue);
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
            ASSERT_EQ(server.requestCount(), 1);
            const auto [target, method, headers, body] = server.received().constFirst();
            EXPECT_EQ(target, QString::fromLatin1(engines.at(i).target));
            EXPECT_EQ(method, post ? "POST" : "GET");
            EXPECT_EQ(body, engines.at(i).body);
            EXPECT_EQ(headers.contains("Content-Type: application/x-www-form-urlencoded"), post);
            const QString url = view.Browsers().GetBrowser(i)->QueryTemplate();
            EXPECT_EQ(list->item(i, 2)->text(), post ? u"POST " + url : url);
        }
        EXPECT_TRUE(boxes.texts().isEmpty());
    }
    DestroyAppSettings();
    DestroyCatalogFile();
}

// The editor opens in the language and category shown; OK writes the user's catalogue.
// The second engine's page advertises the description and loads behind the
// first's tab: it is found once that tab is shown.
TEST(EndToEndWebEngineTest, AddThisEngineTakesTheEngineThePageAdvertisesWithItsCookies)
{
    using namespace Qt::StringLiterals;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.listen());
    server.setRoute(u"/plain"_s, "<html><head><title>Plain</title></head></html>");
    server.setRoute(u"/page"_s, R"(<html><head><link rel="search" type="application/opensearchdescription+xml" href="d.xml"></head></html>)",
                    "text/html", "Set-Cookie: visit=42; Path=/\r\n");
    server.setRoute(u"/d.xml"_s,
                    "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\"><ShortName>Found</ShortName>"
                    "<Url type=\"text/html\" template=\"" + server.url(u"/found?q={searchTerms}"_s).toUtf8() + "\"/></OpenSearchDescription>",
                    "application/opensearchdescription+xml");
    TempProfile profile;
    MessageBoxRecorder boxes;
    const BesideProgram files(CatalogueText(u"English/Web=W0;English/News=N0 N1"_s, {}, [&](const QString &section) {
        return server.url(section == u"N1" ? u"/page?q=*"_s : u"/plain?q=*"_s);
    }));
    CWebEngineBrowserControlFactory engines;
    const CInstalled<IBrowserControlFactory> installed(engines);
    auto app = std::make_unique<CQuaerioApp>();
    ASSERT_TRUE(app->InitInstance());
    CQuaerioView *view = app->GetView();
    Choose(Ctl<QComboBox>(view, IDC_CBO_CATEGORY), 1);
    Ctl<QComboBox>(view, IDC_CBO_KEYWORDS)->setEditText(u"x"_s);
    view->OnSearch();
    ASSERT_TRUE(WaitUntil([&] { return app->GetMainFrame()->GetMessageText() == u"Complete"; }, 60000));
    ASSERT_TRUE(server.requests().contains(u"/page?q=x"_s));
    EXPECT_FALSE(app->GetMainFrame()->Router().Update(ID_VIEW_ADD_ENGINE).m_bEnabled);
    auto *tabs = Ctl<QTabBar>(view, IDC_TAB_ENGINES);
    tabs->setCurrentIndex(1);
    ASSERT_TRUE(WaitUntil([&] { return app->GetMainFrame()->Router().Update(ID_VIEW_ADD_ENGINE).m_bEnabled; }, 60000));

    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *editor = qobject_cast<CEngineEditorDlg *>(QApplication::activeModalWidget());
        if (!editor)
            return;
        for (const auto *choice : editor->findChildren<QComboBox *>())
            shown.append(choice->accessibleName() + u'=' + choice->currentText());
        shown.append(editor->Engine().strName + u' ' + editor->Engine().strUrl);
        editor->accept();
    });
    poll.start(20);
    const QPoint at = tabs->tabRect(1).center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, tabs->mapToGlobal(at));
    QApplication::sendEvent(tabs, &menuEvent);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    const QList<QAction *> actions = menu->actions();
    const auto add = std::find_if(actions.begin(), actions.end(), [](QAction *a) { return a->text() == u"&Add This Engine..."; });
    ASSERT_NE(add, actions.end());
    EXPECT_TRUE((*add)->isEnabled());
    menu->close();
    (*add)->trigger();

    ASSERT_TRUE(WaitUntil([&] { return Ctl<QTableWidget>(view, IDC_LST_ENGINES)->rowCount() == 3; }, 30000));
    EXPECT_EQ(shown, QStringList({u"Encoding=UTF-8"_s, u"Method=GET"_s, u"Language=English"_s, u"Category=News"_s,
                                  u"Found "_s + server.url(u"/found?q=*"_s)}));
    const qsizetype fetched = server.requests().indexOf(u"/d.xml"_s);
    ASSERT_GE(fetched, 0);
    EXPECT_TRUE(server.received().at(fetched).headers.contains("Cookie: visit=42"));
    EXPECT_EQ(GetCatalogFile()->m_szPath, g_szUserCatalogPath);
    EXPECT_TRUE(boxes.texts().isEmpty());
    app->GetMainFrame()->close();
    QFile::remove(g_szUserCatalogPath);
}
