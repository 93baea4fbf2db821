// The program read by a screen reader over an AT-SPI bus, on an X server (Xvfb) of the test's own
// with real keys (xdotool): only a real bus starts Qt's AT-SPI bridge, the offscreen platform never.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kBuiltProgram = QStringLiteral(QUAERIO_EXECUTABLE);
constexpr int kToolTimeoutMs = 30'000;
constexpr int kStartTimeoutMs = 120'000;
constexpr int kEngineCount = 5;

// The first line a daemon writes once it accepts connections; empty if it ends or the time runs out.
QString FirstLine(QProcess &process)
{
    WaitUntil([&] { return process.canReadLine() || process.state() == QProcess::NotRunning; }, kToolTimeoutMs);
    return QString::fromLocal8Bit(process.readLine().trimmed());
}

// Every node's name in tree order, the tab row's name (the tab selected),
// and what the program failed to answer.
struct ReadTree
{
    QStringList names;
    QString tabs;
    QString failure;
};

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
// AT-SPI's role of a row of tabs.
constexpr uint kPageTabListRole = 38;
// A question the program leaves unanswered this long counts as a hang.
constexpr int kCallTimeoutMs = 10'000;
constexpr int kReadTimeoutMs = 60'000;

class ScreenReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString launcher = QStandardPaths::findExecutable(
            QStringLiteral("at-spi-bus-launcher"), {QStringLiteral("/usr/libexec"), QStringLiteral("/usr/lib/at-spi2-core")});
        for (const QString &tool : {QStringLiteral("Xvfb"), QStringLiteral("xdotool"), QStringLiteral("dbus-daemon"), launcher}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << "no screen reader can run here: Xvfb, xdotool, dbus-daemon or at-spi-bus-launcher is missing";
        }
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_server.listen());
        m_statusLog = m_dir.filePath(QStringLiteral("status.log"));
        ASSERT_NO_FATAL_FAILURE(startXServer());
        startAccessibilityBus(launcher);
    }

    void TearDown() override
    {
        for (QProcess *process : {&m_program, &m_busLauncher, &m_sessionBus, &m_xServer})
            Stop(*process);
        QDBusConnection::disconnectFromBus(QStringLiteral("a11y"));
        QDBusConnection::disconnectFromBus(QStringLiteral("session"));
    }

    // Xvfb picks a free display itself and writes its number.
    void startXServer()
    {
        m_xServer.setProcessChannelMode(QProcess::SeparateChannels);
        m_xServer.start(QStringLiteral("Xvfb"), QStringLiteral("-displayfd 1 -screen 0 1280x1024x24 -nolisten tcp").split(u' '));
        ASSERT_TRUE(m_xServer.waitForStarted(kToolTimeoutMs)) << qPrintable(m_xServer.errorString());
        const QString number = FirstLine(m_xServer);
        ASSERT_FALSE(number.isEmpty()) << "Xvfb gave no display: " << m_xServer.readAllStandardError().constData();
        m_display = u':' + number;
    }

    // The program in a folder of its own, its engines on the loopback server.
    void install()
    {
        const QString catalogue = CatalogueText(QStringLiteral("English/Loopback=E0 E1 E2 E3 E4"), {},
                                                [this](const QString &engine) { return m_server.url(u"/e" + engine.mid(1) + u"?q=*"); });
        m_programPath = InstallProgram(kBuiltProgram, m_dir.filePath(QStringLiteral("bin")), QStringLiteral("quaerio"), catalogue);
        ASSERT_FALSE(m_programPath.isEmpty()) << qPrintable(kBuiltProgram);
    }

    // The program, on the test's display and session bus.
    void startProgram()
    {
        QProcessEnvironment environment = ProgramEnvironment(m_dir.path());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_sessionAddress);
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("XAUTHORITY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_program.setProcessEnvironment(environment);
        m_program.setWorkingDirectory(m_dir.path());
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(m_programPath, {});
        ASSERT_TRUE(m_program.waitForStarted(kStartTimeoutMs)) << qPrintable(m_program.errorString());
    }

    // Focuses the main window once the start page is complete (the first web
    // page replaces the X window the program opened with).
    void focusMainWindow()
    {
        ASSERT_TRUE(WaitUntil([&] { return FileLines(m_statusLog).contains(QStringLiteral("Complete")); }, kStartTimeoutMs))
            << qPrintable(FileLines(m_statusLog).join(u'|'));
        const QString windows = xdotool(QStringLiteral("search --sync --onlyvisible --name ^Quaerio$").split(u' '));
        const QString window = windows.section(u'\n', 0, 0).trimmed();
        ASSERT_FALSE(window.isEmpty()) << "no window; program " << (m_program.state() == QProcess::Running ? "running" : "ended");
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    }

    QString xdotool(const QStringList &arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.remove(QStringLiteral("XAUTHORITY"));
        const SRun tool = RunToEnd(QStringLiteral("xdotool"), arguments, environment, kToolTimeoutMs);
        EXPECT_EQ(tool.nExitCode, 0) << "xdotool " << qPrintable(arguments.join(u' ')) << " failed: " << qPrintable(tool.strErr);
        return tool.strOut;
    }

    // A session bus with the AT-SPI bus launcher, as a desktop offers them;
    // then what a screen reader does as it starts: it says so there.
    void startAccessibilityBus(const QString &launcher)
    {
        m_sessionBus.start(QStringLiteral("dbus-daemon"),
                           {u"--session"_qs, u"--nofork"_qs, u"--print-address=1"_qs, u"--address=unix:dir=" + m_dir.path()});
        m_sessionAddress = FirstLine(m_sessionBus);
        if (m_sessionAddress.isEmpty())
            GTEST_SKIP() << "no screen reader can run here: dbus-daemon did not start: "
                         << m_sessionBus.readAllStandardError().constData();
        QProcessEnvironment environment = ProgramEnvironment(m_dir.path());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_sessionAddress);
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        m_busLauncher.setProcessEnvironment(environment);
        m_busLauncher.start(launcher, {QStringLiteral("--launch-immediately")});
        const QDBusConnection session = QDBusConnection::connectToBus(m_sessionAddress, QStringLiteral("session"));
        const QString busService = QStringLiteral("org.a11y.Bus");
        if (!WaitUntil([&] { return session.interface()->isServiceRegistered(busService).value(); }, kToolTimeoutMs))
            GTEST_SKIP() << "no screen reader can run here: the AT-SPI bus launcher did not start";
        QDBusMessage enable = QDBusMessage::createMethodCall(busService, u"/org/a11y/bus"_qs, u"org.freedesktop.DBus.Properties"_qs, u"Set"_qs);
        enable << u"org.a11y.Status"_qs << u"ScreenReaderEnabled"_qs << QVariant::fromValue(QDBusVariant(true));
        ASSERT_EQ(session.call(enable).type(), QDBusMessage::ReplyMessage);
        const QDBusMessage address = session.call(
            QDBusMessage::createMethodCall(busService, QStringLiteral("/org/a11y/bus"), busService, QStringLiteral("GetAddress")));
        m_accessibilityBus = QDBusConnection::connectToBus(address.arguments().value(0).toString(), QStringLiteral("a11y"));
        ASSERT_TRUE(m_accessibilityBus.isConnected()) << qPrintable(m_accessibilityBus.lastError().message());
    }

    // The program's name on the accessibility bus, once its bridge is there.
    QString programService() const
    {
        const QStringList names = m_accessibilityBus.interface()->registeredServiceNames().value();
        for (const QString &name : names) {
            if (m_accessibilityBus.interface()->servicePid(name).value() == m_program.processId())
                return name;
        }
        return {};
    }

    QDBusMessage ask(const QString &service, const QString &path, const QString &interface, const QString &method,
                     const QVariantList &arguments = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return m_accessibilityBus.call(message, QDBus::Block, kCallTimeoutMs);
    }

    // Reads each node's role, name and children from `path` down.
    void readNode(const QString &service, const QString &path, int depth, ReadTree &tree) const
    {
        const QDBusMessage role = ask(service, path, kAccessible, QStringLiteral("GetRole"));
        const QDBusMessage name = ask(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                      QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
        const QDBusMessage children = ask(service, path, kAccessible, QStringLiteral("GetChildren"));
        for (const QDBusMessage &reply : {role, name, children}) {
            // A node may go between its parent's answer and its own (a page
            // that changes); an answer that does not come is what fails.
            if (reply.errorName() == u"org.freedesktop.DBus.Error.UnknownObject"
                || reply.errorName() == u"org.freedesktop.DBus.Error.UnknownMethod")
                return;
            if (reply.type() != QDBusMessage::ReplyMessage) {
                tree.failure = path + u": " + reply.errorMessage();
                return;
            }
        }
        const QString text = qdbus_cast<QDBusVariant>(name.arguments().value(0)).variant().toString();
        tree.names.append(text);
        if (role.arguments().value(0).toUInt() == kPageTabListRole)
            tree.tabs = text;
        const auto list = children.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd() && tree.failure.isEmpty() && depth < 40) {
            QString childService;
            QDBusObjectPath childPath;
            list.beginStructure();
            list >> childService >> childPath;
            list.endStructure();
            readNode(childService, childPath.path(), depth + 1, tree);
        }
    }

    // Reads the whole tree again and again until `done` holds for it; fails if
    // the program ends or stops answering first. `after`: what the user did.
    void readUntil(const QString &after, const std::function<bool(const ReadTree &)> &done)
    {
        ReadTree tree;
        const bool satisfied = WaitUntil(
            [&] {
                tree = {};
                readNode(m_service, kRootPath, 0, tree);
                return !tree.failure.isEmpty() || done(tree);
            },
            kReadTimeoutMs);
        if (!tree.failure.isEmpty())
            WaitForFinished(m_program, kToolTimeoutMs);
        ASSERT_EQ(m_program.state(), QProcess::Running)
            << "the program ended while a screen reader read it after " << qPrintable(after) << ": "
            << (m_program.exitStatus() == QProcess::CrashExit ? "crashed, signal " : "exit code ") << m_program.exitCode();
        ASSERT_EQ(tree.failure.toStdString(), "") << "the program stopped answering after " << qPrintable(after);
        ASSERT_TRUE(satisfied) << "after " << qPrintable(after) << " a screen reader read: "
                          << qPrintable(tree.names.join(u'|'));
    }

    QTemporaryDir m_dir;
    LoopbackHttpServer m_server;
    QProcess m_xServer;
    QProcess m_program;
    QString m_display;
    QString m_programPath;
    QString m_statusLog;
    QProcess m_sessionBus;
    QProcess m_busLauncher;
    QString m_sessionAddress;
    QDBusConnection m_accessibilityBus{QString()};
    QString m_service;
};
} // namespace

// Pages shown, hidden and shown again, and a failed engine's error page, each read as it appears.
TEST_F(ScreenReaderTest, ReadsEveryResultPageAsTheTabsChange)
{
    m_server.setRoute(QStringLiteral("/e4"), "<html><body>gone</body></html>", "text/html", {}, "404 Not Found");
    ASSERT_NO_FATAL_FAILURE(install());
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_TRUE(WaitUntil([&] { return !(m_service = programService()).isEmpty(); }, kStartTimeoutMs))
        << "the program never joined the accessibility bus";
    ASSERT_NO_FATAL_FAILURE(focusMainWindow());
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("screen reader")});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    const auto shows = [](int tab) {
        const QString text = tab == kEngineCount - 1 ? QStringLiteral("This page could not be shown")
                                                     : QStringLiteral("/e%1?q=screen%20reader").arg(tab);
        return [tab, text](const ReadTree &tree) { return tree.tabs == QStringLiteral("Engine E%1").arg(tab) && tree.names.contains(text); };
    };
    ASSERT_NO_FATAL_FAILURE(readUntil(QStringLiteral("the search"), shows(0)));

    // Next, next, previous (a page shown again), the last one, the first one.
    const std::pair<QString, int> steps[] = {{QStringLiteral("ctrl+Tab"), 1}, {QStringLiteral("ctrl+Tab"), 2},
                                             {QStringLiteral("ctrl+shift+Tab"), 1}, {QStringLiteral("alt+9"), 4},
                                             {QStringLiteral("alt+1"), 0}};
    for (int round = 0; round < 2; ++round) {
        for (const auto &[key, tab] : steps) {
            xdotool({QStringLiteral("key"), key});
            ASSERT_NO_FATAL_FAILURE(readUntil(key, shows(tab)));
        }
    }
    m_program.terminate();
    ASSERT_TRUE(WaitForFinished(m_program, kStartTimeoutMs));
    EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit);
}
