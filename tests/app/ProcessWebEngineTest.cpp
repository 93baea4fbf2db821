// The test build of the program (TestProgram.cpp) under another name in a folder and home of its
// own; searches are read from the requests its pages send and from its logs.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <csignal>

#include <unistd.h>

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kBuiltProgram = QStringLiteral(QUAERIO_EXECUTABLE);
constexpr int kTimeoutMs = 120'000;

class ProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_server.listen());
        m_home = m_dir.filePath(QStringLiteral("home"));
        const QString catalogue = CatalogueText(QStringLiteral("English/Web=W0 W1;English/News=N0;Deutsch/Netz=W0"), {},
                                                [this](const QString &engine) { return m_server.url(u'/' + engine + u"?q=*"); });
        m_program = InstallProgram(kBuiltProgram, m_dir.filePath(QStringLiteral("install dir")), QStringLiteral("metasearch"), catalogue);
        ASSERT_FALSE(m_program.isEmpty());
    }

    void TearDown() override
    {
        for (const auto &process : m_running)
            Stop(*process);
    }

    QProcessEnvironment environment(bool display = true) const
    {
        QProcessEnvironment environment = ProgramEnvironment(m_dir.path());
        // Without a display a window could not even be tried for.
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), display ? QStringLiteral("offscreen") : QStringLiteral("xcb"));
        if (!display) {
            environment.remove(QStringLiteral("DISPLAY"));
            environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        }
        return environment;
    }

    SRun run(const QStringList &arguments, bool display = true) const
    {
        return RunToEnd(m_program, arguments, environment(display), kTimeoutMs);
    }

    // Starts a program that keeps running.
    QProcess *start(const QStringList &arguments)
    {
        m_running.push_back(std::make_unique<QProcess>());
        QProcess *process = m_running.back().get();
        process->setProcessEnvironment(environment());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(m_program, arguments);
        EXPECT_TRUE(process->waitForStarted(kTimeoutMs));
        return process;
    }

    // True once the engine's page asked the loopback server for the keywords.
    bool waitForQuery(const QString &engine, const QString &encodedKeywords)
    {
        const QString target = QStringLiteral("/%1?q=%2").arg(engine, encodedKeywords);
        return WaitUntil([&] { return m_server.requests().contains(target); }, kTimeoutMs);
    }

    QStringList log(const char *name) const { return FileLines(m_dir.filePath(QLatin1String(name))); }
    QString socketPath() const { return m_home + QStringLiteral("/runtime/quaerio-%1").arg(getuid()); }

    QTemporaryDir m_dir;
    LoopbackHttpServer m_server;
    QString m_home;
    QString m_program;
    std::vector<std::unique_ptr<QProcess>> m_running;
};
} // namespace

TEST_F(ProcessTest, HelpVersionWrongNamesAndTheCatalogueCheckNeedNoDisplay)
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.cfg")), none = m_dir.filePath(QStringLiteral("none.cfg"));
    ASSERT_TRUE(WriteTextFile(broken, QStringLiteral("[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=\n")));
    const struct
    {
        QStringList arguments;
        int nExitCode;
        QString strOutput; // a part of what it prints; null: it prints nothing
    } cases[] = {
        {{u"--version"_qs}, 0, u"Quaerio 1.2.4.2\n"_qs},
        {{u"--help"_qs}, 0, u"--category <NAME>"_qs},
        {{u"--language"_qs, u"Klingon"_qs, u"words"_qs}, 2, u"unknown language \"Klingon\"; the catalogue has: English, Deutsch"_qs},
        {{u"--language"_qs, u"deutsch"_qs, u"--category"_qs, u"News"_qs}, 2, u"language \"Deutsch\" has no category \"News\""_qs},
        {{u"--no-such-option"_qs}, 2, u"no-such-option"_qs},
        {{u"--check-catalogue"_qs}, 0, QString()},
        {{u"--check-catalogue"_qs, broken}, 1, broken + u":4: language \"English\" has no categories: its list is empty\n"_qs},
        {{u"--check-catalogue"_qs, none}, 2, none + u": cannot read"_qs},
    };
    for (const auto &each : cases) {
        const SRun result = run(each.arguments, false);
        const QString output = result.strOut + result.strErr;
        EXPECT_EQ(result.nExitCode, each.nExitCode) << qPrintable(each.arguments.join(u' '));
        EXPECT_TRUE(each.strOutput.isNull() ? output.isEmpty() : output.contains(each.strOutput)) << qPrintable(output);
    }
    EXPECT_FALSE(QFile::exists(m_home + u"/config/Tavistel/Quaerio.conf")) << "settings written";
}

// No display needed; the user's catalogue (a copy of the one beside the program) is written only on adding.
TEST_F(ProcessTest, AddEngineWritesTheUsersCatalogueOrSaysWhyNot)
{
    const auto description = [](const QByteArray &url) -> QByteArray {
        return "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\"><ShortName>Found</ShortName>"
               "<Url type=\"text/html\" template=\"" + url + "\"/></OpenSearchDescription>";
    };
    m_server.setRoute(QStringLiteral("/d.xml"), description("https://found.example/?q={searchTerms}"));
    m_server.setRoute(QStringLiteral("/needs.xml"), description("https://found.example/?q={searchTerms}&amp;c={example:c}"));
    m_server.setRoute(QStringLiteral("/big.xml"), description("https://found.example/?q={searchTerms}").append(256 * 1024, ' '));
    m_server.setRoute(QStringLiteral("/gone.xml"), "", "text/plain", {}, "404 Not Found");
    const QString user = m_home + u"/config/Tavistel/Quaerio.CFG";
    const QString file = m_dir.filePath(QStringLiteral("d.xml"));
    ASSERT_TRUE(WriteTextFile(file, QString::fromUtf8(description("https://file.example/?q={searchTerms}"))));
    const auto add = [&](const QString &source, const QString &more = {}) {
        return run(QStringList{u"--add-engine"_qs, source, u"--language"_qs, u"deutsch"_qs, u"--category"_qs, u"Neu"_qs}
                       + (more.isEmpty() ? QStringList() : QStringList{u"--name"_qs, more}),
                   false);
    };
    const struct
    {
        QString strSource;
        QString strName;
        int nExitCode;
        QString strError;
    } cases[] = {
        {m_server.url(u"/needs.xml"_qs), {}, 1, u"{example:c}"_qs},
        {m_server.url(u"/big.xml"_qs), {}, 2, u"larger than 256 KB"_qs},
        {m_server.url(u"/gone.xml"_qs), {}, 2, u"Not Found"_qs},
        {u"ftp://127.0.0.1/d.xml"_qs, {}, 2, u"http and https addresses only"_qs},
        {m_dir.filePath(u"none.xml"_qs), {}, 2, u"cannot be read"_qs},
        {m_server.url(u"/d.xml"_qs), {}, 0, {}},
        {file, {}, 1, u"shown as \"Found\" already"_qs},
        {file, u"From File"_qs, 0, {}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.strSource.toStdString());
        const QByteArray before = FileBytes(user);
        const SRun result = add(each.strSource, each.strName);
        EXPECT_EQ(result.nExitCode, each.nExitCode);
        EXPECT_TRUE(result.strErr.contains(each.strError)) << qPrintable(result.strErr);
        EXPECT_TRUE(each.nExitCode == 0 || FileBytes(user) == before);
    }
    // A server that never answers is given up after 10 seconds.
    m_server.setHoldAnswers(true);
    const SRun held = add(m_server.url(u"/d.xml"_qs), u"Held"_qs);
    EXPECT_EQ(held.nExitCode, 2);
    EXPECT_TRUE(held.strErr.contains(u"within 10 seconds"_qs)) << qPrintable(held.strErr);
    m_server.setHoldAnswers(false);

    // Deutsch got its category Neu with both engines, and the catalogue reads clean.
    const SRun check = run({u"--check-catalogue"_qs}, false);
    EXPECT_EQ(check.nExitCode, 0) << qPrintable(check.strOut);
    const QString text = QString::fromUtf8(FileBytes(user));
    EXPECT_TRUE(text.contains(u"Deutsch=Netz;Neu\n"_qs)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"Neu=Found;FromFile\n"_qs)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"Name=From File\nURL=https://file.example/?q=*\n"_qs)) << qPrintable(text);
}

TEST_F(ProcessTest, ASecondStartHandsItsSearchToTheRunningProgramAndEnds)
{
    QSettings(m_home + u"/config/Tavistel/Quaerio.conf", QSettings::IniFormat).setValue(u"Settings/PreservedKeywords"_qs, 1);
    QProcess *first = start({QStringLiteral("first"), QStringLiteral("words")});
    ASSERT_TRUE(waitForQuery(QStringLiteral("W0"), QStringLiteral("first%20words")));
    ASSERT_TRUE(waitForQuery(QStringLiteral("W1"), QStringLiteral("first%20words")));

    // What follows "--" is keywords, never Qt's options.
    const SRun second = run(u"--category news -- -platform nosuch"_qs.split(u' '));
    EXPECT_EQ(second.nExitCode, 0) << qPrintable(second.strErr);
    EXPECT_TRUE(waitForQuery(QStringLiteral("N0"), QStringLiteral("-platform%20nosuch")));
    // Without keywords a later start only brings the window forward.
    EXPECT_EQ(run({}).nExitCode, 0);
    // A language added to the catalogue since the window read it: the
    // later start accepts it, the window cannot search it and says why.
    const QString cataloguePath = QFileInfo(m_program).dir().filePath(QStringLiteral("Quaerio.CFG"));
    const QString text = QString::fromUtf8(FileBytes(cataloguePath))
                             .replace(u"Deutsch\n"_qs, u"Deutsch;Latina\n"_qs)
                             .replace(u"Deutsch=Netz\n"_qs, u"Deutsch=Netz\nLatina=Web\n[Latina]\nWeb=W0\n"_qs);
    ASSERT_TRUE(WriteTextFile(cataloguePath, text));
    const SRun refused = run(u"--language latina verba"_qs.split(u' '));
    EXPECT_EQ(refused.nExitCode, 1);
    EXPECT_TRUE(refused.strErr.startsWith(u"quaerio: the running Quaerio refused the request: ")) << qPrintable(refused.strErr);

    ASSERT_EQ(first->state(), QProcess::Running);
    first->terminate();
    ASSERT_TRUE(first->waitForFinished(kTimeoutMs));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(log("messages.log"), QStringList{});
    const QStringList status = log("status.log");
    EXPECT_TRUE(status.contains(QStringLiteral("Searching first words")));
    EXPECT_TRUE(status.contains(QStringLiteral("Searching -platform nosuch")));
    QSettings settings(m_home + u"/config/Tavistel/Quaerio.conf", QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("KeywordsHistory/1")).toString(), QStringLiteral("-platform nosuch"));
    EXPECT_EQ(settings.value(QStringLiteral("KeywordsHistory/2")).toString(), QStringLiteral("first words"));
}

TEST_F(ProcessTest, BesideAProgramThatHangsAStartOpensAWindowAndOneThatCrashedIsTakenOver)
{
    QProcess *owner = start({QStringLiteral("first")});
    ASSERT_TRUE(waitForQuery(QStringLiteral("W0"), QStringLiteral("first")));
    // Stopped, the owner is still connected to but answers nothing.
    ASSERT_EQ(::kill(static_cast<pid_t>(owner->processId()), SIGSTOP), 0);
    start({QStringLiteral("alone")});
    ASSERT_TRUE(waitForQuery(QStringLiteral("W0"), QStringLiteral("alone")));

    // A program killed outright leaves its socket and its lock behind.
    owner->kill();
    ASSERT_TRUE(owner->waitForFinished(kTimeoutMs));
    ASSERT_TRUE(QFileInfo::exists(socketPath()));
    start({QStringLiteral("after"), QStringLiteral("crash")});
    ASSERT_TRUE(waitForQuery(QStringLiteral("W0"), QStringLiteral("after%20crash")));
    EXPECT_EQ(run(u"--language DEUTSCH again"_qs.split(u' ')).nExitCode, 0);
    EXPECT_TRUE(waitForQuery(QStringLiteral("W0"), QStringLiteral("again")));
}
