// The command line, the request a later start hands over, and the hand-over itself.

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include "app/CommandLine.h"
#include "app/HandOverMessage.h"
#include "app/SearchRequest.h"
#include "app/SingleInstance.h"
#include "tests/support/TestSupport.h"

TEST(SearchRequest, QtsOwnOptionsAreLeftToTheApplicationObject)
{
    const auto words = [](const QString &line) { return line.split(u' '); };
    EXPECT_EQ(OwnArguments(words(u"quaerio -platform offscreen --style=fusion -reverse --language deutsch tea"_qs)),
              words(u"quaerio --language deutsch tea"_qs));
    // Unknown options stay, so the parser can refuse them.
    EXPECT_EQ(OwnArguments(words(u"quaerio -x --bogus"_qs)), words(u"quaerio -x --bogus"_qs));
}

TEST(SearchRequest, KeywordsAreJoinedLikeTypedTextAndOnlySmallWellFormedMessagesDecode)
{
    EXPECT_EQ(JoinKeywords({QStringLiteral("a"), QStringLiteral("b\nc\td")}), QStringLiteral("a b c d"));
    EXPECT_EQ(JoinKeywords({QString(300, u'k')}).size(), kRequestKeywordsLimit);

    const SSearchRequest request{QStringLiteral("日本語"), QStringLiteral("News"), QString(kRequestKeywordsLimit, u'é')};
    const std::optional<SSearchRequest> back = DecodeRequest(EncodeRequest(request));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->strLanguage + back->strCategory + back->strKeywords, request.strLanguage + request.strCategory + request.strKeywords);
    EXPECT_LE(EncodeRequest({QString(kRequestNameLimit, u'語'), QString(kRequestNameLimit, u'語'), QString(kRequestKeywordsLimit, u'語')}).size(),
              kMaxRequestBytes);
    for (const QByteArray &bad : {QByteArray(R"({"language":"","category":"","keywords":"k"})"),
                                  QByteArray(R"({"language":"","category":"","keywords":"a\nb","newSearch":false})"),
                                  QByteArray(R"({"language":"","category":"","keywords":"\ud800","newSearch":false})"),
                                  QByteArray(R"({"language":"","category":"","keywords":"k","newSearch":false,"url":"http://x"})"),
                                  EncodeRequest({QString(), QString(), QString(kRequestKeywordsLimit + 1, u'k')})})
        EXPECT_FALSE(DecodeRequest(bad)) << bad.constData();
}

// The later start blocks on a thread of its own while the event loop serves the owner.
class SingleInstanceTest : public ::testing::Test
{
protected:
    SingleInstanceTest()
    {
        EXPECT_EQ(m_owner.Claim({}).eClaim, CSingleInstance::EClaim::Owner);
    }

    // `meanwhile` runs while the later start is under way.
    CSingleInstance::SClaim LaterStart(const SSearchRequest &request, const std::function<void(const QThread &)> &meanwhile = {})
    {
        CSingleInstance::SClaim claim;
        std::unique_ptr<QThread> thread(QThread::create([&] { claim = CSingleInstance(m_folder).Claim(request); }));
        thread->start();
        if (meanwhile)
            meanwhile(*thread);
        EXPECT_TRUE(WaitUntil([&] { return thread->isFinished(); }, 10000));
        thread->wait();
        return claim;
    }

    // Sends raw bytes and returns the answer, empty when the connection was
    // closed without one.
    QByteArray Send(const QByteArray &bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(m_owner.SocketPath());
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
    SPrivateFolder m_folder{m_dir.path(), {}};
    CSingleInstance m_owner{m_folder};
};

TEST_F(SingleInstanceTest, TheOwnerAnswersOnlyOnceItCarriedTheRequestOutOrCouldNot)
{
    using EState = SRequestOutcome::EState;
    using EClaim = CSingleInstance::EClaim;
    const struct
    {
        int nNotNow; // times the window cannot act yet before `outcome`
        SRequestOutcome outcome;
        EClaim eExpected;
        QString strReason;
    } cases[] = {
        {0, {}, EClaim::HandedOver, {}},
        {0, {EState::Refused, QStringLiteral("unknown language \"X\"\n\x1b[2J")}, EClaim::Refused, QStringLiteral("unknown language \"X\"  [2J")},
        {3, {}, EClaim::HandedOver, {}},
        // A dialog that stays open: refused before the later start gives up.
        {1000, {EState::Refused, {}}, EClaim::Refused, QStringLiteral("a dialog is open")},
    };
    // An owner not listening yet is waited for.
    m_owner.SetRequestHandler([](const SSearchRequest &) { return SRequestOutcome{}; });
    const auto listenLater = [this](const QThread &later) {
        EXPECT_FALSE(WaitUntil([&] { return later.isFinished(); }, 300)) << "gave up on the owner at once";
        EXPECT_TRUE(m_owner.Listen());
    };
    EXPECT_EQ(LaterStart({QString(), QString(), QStringLiteral("k")}, listenLater).eClaim, EClaim::HandedOver);
    for (const auto &each : cases) {
        int calls = 0;
        m_owner.SetRequestHandler([&](const SSearchRequest &request) {
            EXPECT_EQ(request.strKeywords, QStringLiteral("words"));
            return ++calls <= each.nNotNow ? SRequestOutcome{EState::NotNow, QStringLiteral("a dialog is open")} : each.outcome;
        });
        const CSingleInstance::SClaim claim = LaterStart({QStringLiteral("English"), QString(), QStringLiteral("words")});
        EXPECT_EQ(claim.eClaim, each.eExpected) << each.nNotNow;
        EXPECT_EQ(claim.strReason, each.strReason);
        EXPECT_TRUE(each.eExpected != EClaim::HandedOver || calls == each.nNotNow + 1) << calls;
    }

    EXPECT_EQ(Send("{\"url\":\"file:///etc/passwd\"}\n"), QByteArray("REFUSED the request could not be read\n"));
    // More than a request's worth without a line end: closed unanswered.
    EXPECT_EQ(Send(QByteArray(kMaxRequestBytes + 100, 'x')), QByteArray());
    EXPECT_EQ(Send(QByteArray(kMaxRequestBytes + 100, ' ') + EncodeRequest({}) + '\n'), QByteArray());
}

TEST(PrivateFolder, OnlyAFolderOfTheUsersOwnThatNobodyElseMayWriteToHoldsTheSocket)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making files of another user needs root";
    struct SPaths
    {
        QString runtime, own, temp;
    };
    const auto mode = [](const QString &path, mode_t bits) { return ::chmod(QFile::encodeName(path).constData(), bits) == 0; };
    const auto folder = [&](const QString &path, mode_t bits) { return QDir().mkpath(path) && mode(path, bits); };
    const auto anotherUsers = [](const QString &path) { return ::lchown(QFile::encodeName(path).constData(), 65534, 65534) == 0; };
    const auto link = [&](const QString &path) { return folder(path + u".real", 0700) && QFile::link(path + u".real", path); };
    enum EUsed { Runtime, Own, None };
    const struct
    {
        const char *name;
        std::function<bool(const SPaths &)> prepare;
        EUsed eUsed;
        const char *problem;
    } cases[] = {
        {"runtime folder", [&](const SPaths &p) { return folder(p.runtime, 0700); }, Runtime, ""},
        {"no runtime folder", [](const SPaths &) { return true; }, Own, ""},
        {"runtime folder writable by all", [&](const SPaths &p) { return folder(p.runtime, 0777) && mode(p.temp, 01777); }, Own, ""},
        {"own folder made by another", [&](const SPaths &p) { return folder(p.own, 0700) && anotherUsers(p.own); }, None, "belongs to another user"},
        {"own folder a link", [&](const SPaths &p) { return link(p.own); }, None, "is a symbolic link"},
        {"own folder open to others", [&](const SPaths &p) { return folder(p.own, 0755); }, None, "is open to other users"},
        {"a file in its place", [&](const SPaths &p) { return WriteTextFile(p.own, {}); }, None, "is not a folder"},
        {"shared folder without sticky bit", [&](const SPaths &p) { return mode(p.temp, 0777); }, None, "lets other users rename"},
    };
    for (const auto &each : cases) {
        QTemporaryDir dir;
        const QString temp = dir.filePath(QStringLiteral("tmp"));
        const SPaths paths{dir.filePath(QStringLiteral("runtime")), temp + QStringLiteral("/quaerio-%1").arg(::getuid()), temp};
        ASSERT_TRUE(folder(temp, 0700) && each.prepare(paths)) << each.name;
        const SPrivateFolder chosen = CSingleInstance::PrivateFolder(paths.runtime, temp);
        const QString expected[] = {paths.runtime, paths.own, QString()};
        EXPECT_EQ(chosen.strPath, expected[each.eUsed]) << each.name;
        EXPECT_TRUE(chosen.strProblem.contains(QLatin1String(each.problem))) << each.name << ": " << qPrintable(chosen.strProblem);
        struct stat made = {};
        const bool ownMade = ::lstat(QFile::encodeName(paths.own).constData(), &made) == 0 && (made.st_mode & 07777) == 0700;
        EXPECT_TRUE(each.eUsed != Own || ownMade) << each.name;
    }
}
