// The real program as its own process, driven the way a user drives it: on
// an X server of the test's own (Xvfb), keywords are typed into the keyword
// box and Enter is pressed with real X events (xdotool). Every engine of the
// catalogue points at a server on 127.0.0.1 that this test runs; the
// program's progress is read from its QUAERIO_STATUS_LOG and its settings
// file after it has been closed with SIGTERM.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kBuiltProgram = QStringLiteral(QUAERIO_EXECUTABLE);
constexpr int kToolTimeoutMs = 30'000;
constexpr int kStartTimeoutMs = 120'000;
constexpr int kSearchTimeoutMs = 120'000;
constexpr int kEngineCount = 5;

bool WaitForFinished(QProcess &process, int timeoutMs)
{
    return WaitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
}

void Stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10'000)) {
        process.kill();
        process.waitForFinished(10'000);
    }
}

class ProcessEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        ASSERT_FALSE(m_xvfb.isEmpty()) << "Xvfb not found: install the package xvfb (tools/install-deps.sh does)";
        ASSERT_FALSE(m_xdotool.isEmpty()) << "xdotool not found: install the package xdotool (tools/install-deps.sh does)";
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_server.listen());

        m_home = m_dir.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(m_home + QStringLiteral("/runtime")));
        QFile::setPermissions(m_home + QStringLiteral("/runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_settingsFile = m_home + QStringLiteral("/config/Tavistel/Quaerio.conf");
        m_statusLog = m_dir.filePath(QStringLiteral("status.log"));
        m_messageLog = m_dir.filePath(QStringLiteral("messages.log"));
        ASSERT_NO_FATAL_FAILURE(startXServer());
    }

    void TearDown() override
    {
        Stop(m_program);
        Stop(m_xServer);
    }

    // Xvfb picks a free display itself and writes its number to standard
    // output once it accepts connections.
    void startXServer()
    {
        m_xServer.setProcessChannelMode(QProcess::SeparateChannels);
        m_xServer.start(m_xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                 QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                 QStringLiteral("tcp")});
        ASSERT_TRUE(m_xServer.waitForStarted(kToolTimeoutMs)) << qPrintable(m_xServer.errorString());
        ASSERT_TRUE(WaitUntil([&] { return m_xServer.canReadLine() || m_xServer.state() == QProcess::NotRunning; },
                              kToolTimeoutMs));
        const QByteArray number = m_xServer.readLine().trimmed();
        ASSERT_FALSE(number.isEmpty()) << "Xvfb gave no display: " << m_xServer.readAllStandardError().constData();
        m_display = u':' + QString::fromLatin1(number);
    }

    // Copies the program into a folder of its own with a catalogue of
    // engines on the loopback server and the first-show page beside it.
    void install()
    {
        const QString binDir = m_dir.filePath(QStringLiteral("bin"));
        ASSERT_TRUE(QDir().mkpath(binDir));
        m_programPath = binDir + QStringLiteral("/quaerio");
        ASSERT_TRUE(QFile::copy(kBuiltProgram, m_programPath)) << qPrintable(kBuiltProgram);
        const QString page = QFileInfo(kBuiltProgram).dir().filePath(QStringLiteral("firstshow.mht"));
        ASSERT_TRUE(QFile::copy(page, binDir + QStringLiteral("/firstshow.mht"))) << qPrintable(page);

        QString catalogue = QStringLiteral("[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Loopback\n"
                                           "[English]\nLoopback=L0;L1;L2;L3;L4\n");
        for (int i = 0; i < kEngineCount; ++i)
            catalogue += QStringLiteral("[L%1]\nName=Engine %1\nURL=%2\n").arg(i).arg(m_server.url(QStringLiteral("/e%1?q=*").arg(i)));
        ASSERT_TRUE(WriteTextFile(binDir + QStringLiteral("/Quaerio.CFG"), catalogue));
    }

    void startProgram()
    {
        QProcessEnvironment environment = HomeEnvironment(m_home);
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("XAUTHORITY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                           QStringLiteral("--disable-gpu --disable-background-networking --disable-component-update"));
        environment.insert(QStringLiteral("QUAERIO_STATUS_LOG"), m_statusLog);
        environment.insert(QStringLiteral("QUAERIO_MESSAGE_LOG"), m_messageLog);
        m_program.setProcessEnvironment(environment);
        m_program.setWorkingDirectory(m_dir.path());
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(m_programPath, {});
        ASSERT_TRUE(m_program.waitForStarted(kStartTimeoutMs)) << qPrintable(m_program.errorString());
    }

    // Runs xdotool on the test's display with the event loop running, so the
    // loopback server keeps answering meanwhile. Its standard output, or a
    // test failure when it fails or the time runs out.
    QString xdotool(const QStringList &arguments, int timeoutMs = kToolTimeoutMs)
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.remove(QStringLiteral("XAUTHORITY"));
        tool.setProcessEnvironment(environment);
        tool.start(m_xdotool, arguments);
        const bool finished = tool.waitForStarted(kToolTimeoutMs) && WaitForFinished(tool, timeoutMs);
        if (!finished)
            Stop(tool);
        const QString stdErr = QString::fromLocal8Bit(tool.readAllStandardError());
        EXPECT_TRUE(finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
            << "xdotool " << qPrintable(arguments.join(u' ')) << " failed: " << qPrintable(stdErr);
        return QString::fromLocal8Bit(tool.readAllStandardOutput());
    }

    static QStringList lines(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir m_dir;
    LoopbackHttpServer m_server;
    QProcess m_xServer;
    QProcess m_program;
    QString m_xvfb;
    QString m_xdotool;
    QString m_display;
    QString m_home;
    QString m_programPath;
    QString m_settingsFile;
    QString m_statusLog;
    QString m_messageLog;
};
} // namespace

TEST_F(ProcessEndToEndTest, KeywordsTypedIntoTheWindowReachEveryEngineAndAreKeptAfterSigterm)
{
    ASSERT_NO_FATAL_FAILURE(install());
    {
        QSettings settings(m_settingsFile, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/PreservedKeywords"), 1);
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    ASSERT_NO_FATAL_FAILURE(startProgram());

    // The start page first has to finish, or its completion could be taken
    // for the search's.
    ASSERT_TRUE(WaitUntil([&] { return lines(m_statusLog).contains(QStringLiteral("Complete")); }, kStartTimeoutMs))
        << qPrintable(lines(m_statusLog).join(u'|'));
    ASSERT_EQ(m_server.requestCount(), 0);
    // The main window, asked for only now: the X window it opened with is
    // replaced when the first web page is shown. The keyword box has the
    // focus at start-up.
    const QString windows = xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--name"), QStringLiteral("^Quaerio$")},
                                    kStartTimeoutMs);
    const QString window = windows.section(u'\n', 0, 0).trimmed();
    ASSERT_FALSE(window.isEmpty()) << "no window; program " << (m_program.state() == QProcess::Running ? "running" : "ended");

    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("orange juice")});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});

    // One request per engine, each with the keywords, and then "Complete"
    // (which the view repeats every two seconds while idle, so only a
    // "Complete" shown after the last request counts).
    const auto report = [&] {
        return lines(m_statusLog).join(u'|') + u"\nrequests: " + m_server.requests().join(u' ');
    };
    ASSERT_TRUE(WaitUntil(
        [&] {
            return m_server.requestCount() >= kEngineCount
                && lines(m_statusLog).contains(QStringLiteral("Searching orange juice"));
        },
        kSearchTimeoutMs))
        << qPrintable(report());
    const qsizetype shownBefore = lines(m_statusLog).size();
    ASSERT_TRUE(WaitUntil([&] { return lines(m_statusLog).indexOf(QStringLiteral("Complete"), shownBefore) >= 0; },
                          kSearchTimeoutMs))
        << qPrintable(report());
    QStringList targets, expected;
    for (const QString &target : m_server.requests())
        targets.append(QUrl::fromPercentEncoding(target.toUtf8()));
    targets.sort();
    for (int i = 0; i < kEngineCount; ++i)
        expected.append(QStringLiteral("/e%1?q=orange juice").arg(i));
    EXPECT_EQ(targets.join(u'\n').toStdString(), expected.join(u'\n').toStdString());

    // SIGTERM closes the window the normal way: a clean exit, history saved.
    m_program.terminate();
    ASSERT_TRUE(WaitForFinished(m_program, kStartTimeoutMs));
    EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_program.exitCode(), 0);
    EXPECT_EQ(lines(m_messageLog), QStringList{});
    const QSettings stored(m_settingsFile, QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("KeywordsHistory/1")).toString(), QStringLiteral("orange juice"));
    EXPECT_EQ(stored.value(QStringLiteral("Settings/PreservedKeywords")).toInt(), 1);
}
