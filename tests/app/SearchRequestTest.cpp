#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "app/CommandLine.h"
#include "app/QuaerioApp.h"
#include "app/SearchRequest.h"
#include "app/SingleInstance.h"
#include "tests/support/RecordingBrowserControl.h"
#include "catalogue/CatalogFile.h"
#include "frame/MainFrame.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"
#include "workspace/QuaerioView.h"
#include "workspace/SearchRun.h"

namespace
{
QString BesideProgram(const char *name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QLatin1String(name);
}

// The program in this process with recording browser controls and a
// catalogue beside the test program: English has "Web" (E0, E1) and
// "News" (N0); Deutsch has "Netz" (D0, D1) and "Nachrichten" (N0).
class SearchRequestAppTest : public ::testing::Test
{
protected:
    SearchRequestAppTest()
    {
        browsers.Install();
        QString text = QStringLiteral("[LANGUAGES]\nLanguages=English;Deutsch\n"
                                      "[CATEGORYS]\nEnglish=Web;News\nDeutsch=Netz;Nachrichten\n"
                                      "[English]\nWeb=E0;E1\nNews=N0\n[Deutsch]\nNetz=D0;D1\nNachrichten=N0\n");
        for (const char *name : {"E0", "E1", "N0", "D0", "D1"})
            text += QStringLiteral("[%1]\nName=Engine %1\nURL=http://127.0.0.1:9/%1?q=*\n").arg(QLatin1String(name));
        WriteTextFile(BesideProgram("Quaerio.CFG"), text);
        WriteTextFile(BesideProgram("firstshow.mht"), QStringLiteral("<html></html>"));
        app = std::make_unique<CQuaerioApp>();
        started = app->InitInstance();
        view = app->GetView();
    }
    ~SearchRequestAppTest() override
    {
        if (app->GetMainFrame())
            app->GetMainFrame()->close();
        app.reset();
        QFile::remove(BesideProgram("Quaerio.CFG"));
        QFile::remove(BesideProgram("firstshow.mht"));
    }

    QString Current(int id) const { return view->findChild<QComboBox *>(QString::number(id))->currentText(); }

    // Waits for the pages' worker threads to start one navigation per engine.
    QStringList WaitForNavigations(int count)
    {
        QStringList log;
        WaitUntil([&] {
            log = browsers.NavigationLog().filter(QStringLiteral("?q="));
            return log.size() >= count;
        }, 10000);
        log.sort();
        return log;
    }

    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;
    std::unique_ptr<CQuaerioApp> app;
    bool started = false;
    CQuaerioView *view = nullptr;
};
} // namespace

TEST_F(SearchRequestAppTest, ARequestChoosesByNameAndSearchesAsTheFormDoes)
{
    ASSERT_TRUE(started && view);
    // The search reads the settings afresh: keep the keyword history.
    WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PreservedKeywords"), 1);
    app->Search({QStringLiteral("deutsch"), QStringLiteral("NETZ"), QStringLiteral("  two words ")});
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("Deutsch"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Netz"));
    EXPECT_TRUE(view->SearchRun().IsSearching());
    EXPECT_TRUE(view->SearchRun().IsAnimating());
    EXPECT_EQ(app->GetMainFrame()->GetMessageText(), QStringLiteral("Searching two words"));
    EXPECT_EQ(WaitForNavigations(2), QStringList({QStringLiteral("0: Navigate http://127.0.0.1:9/D0?q=two words"),
                                                  QStringLiteral("1: Navigate http://127.0.0.1:9/D1?q=two words")}));
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("two words"));
    // Choosing is not storing: the start-up choice stays as it was.
    EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("CurLanguageIndex"), -1), -1);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(SearchRequestAppTest, ACategoryAloneIsLookedForInTheLanguageShownThenInCatalogueOrder)
{
    ASSERT_TRUE(started && view);
    app->Search({QString(), QStringLiteral("news"), QString()});
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("English"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("News"));
    EXPECT_FALSE(view->SearchRun().IsSearching()) << "no keywords, no search";

    app->Search({QString(), QStringLiteral("Nachrichten"), QStringLiteral("x")});
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("Deutsch"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Nachrichten"));
    EXPECT_TRUE(view->SearchRun().IsSearching());
}

TEST_F(SearchRequestAppTest, UnknownNamesLeaveTheFormAsItWasAndARunningSearchMakesWayForTheNewOne)
{
    ASSERT_TRUE(started && view);
    CCatalogFile &catalog = *GetCatalogFile();
    EXPECT_FALSE(ApplySearchRequest(*view, catalog, {QStringLiteral("Klingon"), QString(), QStringLiteral("x")}));
    EXPECT_FALSE(ApplySearchRequest(*view, catalog, {QStringLiteral("English"), QStringLiteral("Netz"), QStringLiteral("x")}));
    EXPECT_FALSE(view->SearchRun().IsSearching());
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Web"));
    EXPECT_NE(CheckRequestNames(catalog, {QStringLiteral("Klingon"), QString(), QString()}), QString());
    EXPECT_NE(CheckRequestNames(catalog, {QStringLiteral("English"), QStringLiteral("Netz"), QString()}), QString());
    EXPECT_NE(CheckRequestNames(catalog, {QString(), QStringLiteral("Sport"), QString()}), QString());
    EXPECT_EQ(CheckRequestNames(catalog, {QString(), QStringLiteral("netz"), QString()}), QString());

    ASSERT_TRUE(ApplySearchRequest(*view, catalog, {QString(), QString(), QStringLiteral("first")}));
    ASSERT_TRUE(view->SearchRun().IsSearching());
    ASSERT_TRUE(ApplySearchRequest(*view, catalog, {QString(), QStringLiteral("news"), QStringLiteral("second")}));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("News"));
    EXPECT_EQ(app->GetMainFrame()->GetMessageText(), QStringLiteral("Searching second"));
}

TEST(SearchRequest, QtsOwnOptionsAreLeftToTheApplicationObject)
{
    const auto own = [](std::initializer_list<const char16_t *> words) {
        QStringList arguments;
        for (const char16_t *word : words)
            arguments.append(QString::fromUtf16(word));
        return OwnArguments(arguments);
    };
    EXPECT_EQ(own({u"quaerio", u"-platform", u"offscreen", u"--style=fusion", u"-reverse", u"--language", u"deutsch", u"tea"}),
              QStringList({u"quaerio"_qs, u"--language"_qs, u"deutsch"_qs, u"tea"_qs}));
    // Keywords after "--" are the user's, whatever they look like.
    EXPECT_EQ(own({u"quaerio", u"--", u"-platform", u"-reverse"}),
              QStringList({u"quaerio"_qs, u"--"_qs, u"-platform"_qs, u"-reverse"_qs}));
    // Unknown options stay, so the parser can refuse them.
    EXPECT_EQ(own({u"quaerio", u"-x", u"--bogus"}), QStringList({u"quaerio"_qs, u"-x"_qs, u"--bogus"_qs}));
}

TEST(SearchRequest, KeywordsAreJoinedLikeTypedTextAndOnlySmallWellFormedMessagesDecode)
{
    EXPECT_EQ(JoinKeywords({QStringLiteral("a"), QStringLiteral("b\nc\td")}), QStringLiteral("a b c d"));
    EXPECT_EQ(JoinKeywords({QString(300, u'k')}).size(), kRequestKeywordsLimit);

    const SSearchRequest request{QStringLiteral("日本語"), QStringLiteral("News"), QString(kRequestKeywordsLimit, u'é')};
    const std::optional<SSearchRequest> back = DecodeRequest(EncodeRequest(request));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->strLanguage, request.strLanguage);
    EXPECT_EQ(back->strCategory, request.strCategory);
    EXPECT_EQ(back->strKeywords, request.strKeywords);
    EXPECT_LE(EncodeRequest({QString(kRequestNameLimit, u'語'), QString(kRequestNameLimit, u'語'), QString(kRequestKeywordsLimit, u'語')}).size(),
              kMaxRequestBytes);

    ASSERT_TRUE(DecodeRequest(R"({"language":"","category":"","keywords":"k","newSearch":true})"));
    for (const char *bad : {"", "[]", R"({"language":"","category":"","keywords":"k"})",
                            R"({"language":"","category":"","keywords":1,"newSearch":false})",
                            R"({"language":"","category":"","keywords":"a\nb","newSearch":false})",
                            R"({"language":"","category":"","keywords":"k","newSearch":"yes"})",
                            R"({"language":"","category":"","keywords":"k","url":"http://x"})"})
        EXPECT_FALSE(DecodeRequest(bad)) << bad;
    EXPECT_FALSE(DecodeRequest(EncodeRequest({QString(), QString(), QString(kRequestKeywordsLimit + 1, u'k')})));
    EXPECT_FALSE(DecodeRequest(EncodeRequest({QString(kRequestNameLimit + 1, u'n'), QString(), QString()})));
}

// The hand-over between two programs, both ends in this process: the later
// start's blocking side runs on a thread of its own while the event loop
// serves the listening side.
class SingleInstanceTest : public ::testing::Test
{
protected:
    SingleInstanceTest() { m_name = m_dir.filePath(QStringLiteral("socket")); }

    CSingleInstance::EHandOver HandOver(const SSearchRequest &request, int timeoutMs = kHandOverTimeoutMs)
    {
        std::atomic<int> result = -1;
        std::unique_ptr<QThread> thread(QThread::create([&] { result = static_cast<int>(CSingleInstance::HandOver(m_name, request, timeoutMs)); }));
        thread->start();
        EXPECT_TRUE(WaitUntil([&] { return thread->isFinished(); }, 10000));
        thread->wait();
        return static_cast<CSingleInstance::EHandOver>(result.load());
    }

    // Sends raw bytes and returns the answer, empty when the connection was
    // closed without one.
    QByteArray Send(const QByteArray &bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        EXPECT_TRUE(socket.waitForConnected(5000));
        socket.write(bytes);
        QByteArray answer;
        WaitUntil([&] {
            answer += socket.readAll();
            return answer.contains('\n') || socket.state() == QLocalSocket::UnconnectedState;
        }, 10000);
        return answer + socket.readAll();
    }

    QTemporaryDir m_dir;
    QString m_name;
};

TEST_F(SingleInstanceTest, AValidRequestIsAcceptedAndAnythingElseRefusedOrDropped)
{
    CSingleInstance instance(m_name);
    ASSERT_TRUE(instance.Listen());
    QSignalSpy received(&instance, &CSingleInstance::RequestReceived);

    EXPECT_EQ(HandOver({QStringLiteral("English"), QString(), QStringLiteral("words")}), CSingleInstance::EHandOver::Accepted);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].value<SSearchRequest>().strKeywords, QStringLiteral("words"));

    EXPECT_EQ(Send("{\"url\":\"file:///etc/passwd\"}\n"), QByteArray("REFUSED\n"));
    // More than a request's worth without a line end: closed unanswered.
    EXPECT_EQ(Send(QByteArray(kMaxRequestBytes + 100, 'x')), QByteArray());
    EXPECT_EQ(Send(QByteArray(kMaxRequestBytes + 100, ' ') + EncodeRequest({}) + '\n'), QByteArray());
    EXPECT_EQ(received.size(), 1);
}
