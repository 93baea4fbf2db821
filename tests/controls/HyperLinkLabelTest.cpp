#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/BrowserFallback.h"
#include "controls/HyperLinkLabel.h"
#include "tests/support/TestSupport.h"

using namespace Qt::StringLiterals;

namespace
{
// A window holding one attached link label at (10, 10).
struct LabelHost
{
    explicit LabelHost(const QString &caption, const QString &target = {})
    {
        window.resize(300, 100);
        label = new CHyperLinkLabel(&window);
        label->setGeometry(10, 10, 200, 20);
        label->setText(caption);
        label->SetTarget(target);
        label->Attach();
    }

    QWidget window;
    CHyperLinkLabel *label = nullptr;
};

// Sets an environment variable (removes it for a null value) until the
// returned guard goes.
auto ScopedEnvironment(const char *name, const QByteArray &value)
{
    const bool had = qEnvironmentVariableIsSet(name);
    const QByteArray previous = qgetenv(name);
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
    return qScopeGuard([=] { had ? qputenv(name, previous) : qunsetenv(name); });
}
} // namespace

TEST(HyperLinkLabel, ClickOpensTheTargetAndReportsFailures)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SHELL_OPEN_OK);
    LabelHost host{u"Mail"_s, u"mailto:someone@example.test"_s};
    CHyperLinkLabel *label = host.label;

    EXPECT_EQ(LabelHost(u"Read me"_s).label->GetTarget(), u"Read me"_s); // without a target, the caption
    Click(label);
    EXPECT_EQ(shell.targets, QStringList{u"mailto:someone@example.test"_s});
    EXPECT_TRUE(label->IsVisited());
    EXPECT_TRUE(boxes.calls.empty());

    shell.code = 26;
    Click(label);
    EXPECT_FALSE(label->IsVisited());
    shell.code = 1;
    Click(label);
    ASSERT_EQ(boxes.texts(), (QStringList{u"Unable to open hyperlink:\n\nA sharing violation occurred. "_s,
                                          u"Unable to open hyperlink:\n\nUnknown Error (1) occurred."_s}));
    EXPECT_EQ(boxes.calls[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST(HyperLinkLabel, WebAddressesFallBackToTheRegisteredBrowser)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SE_ERR_NOASSOC);
    // The user's registered browser, launched only in a record.
    const auto browser = ScopedEnvironment("BROWSER", "\"/opt/My Browser/run\" --new-tab \"%s\" --tail:other");
    LaunchRecorder launcher;

    // The command is cut at the address, which stays one argument whatever it holds.
    const QString hostile = QStringLiteral("https://x.test/\" --evil; rm -rf ~");
    EXPECT_EQ(FormFallbackCommand(u"b %1 -x"_s, hostile).arguments, QStringList{hostile});
    const QString address = u"https://example.test/?q=a;rm&x=--evil"_s;
    LabelHost web{u"Web"_s, address};
    Click(web.label);
    EXPECT_EQ(launcher.launches, (QList<QStringList>{{u"/opt/My Browser/run"_s, u"--new-tab"_s, address}}));
    EXPECT_TRUE(web.label->IsVisited());
    EXPECT_TRUE(boxes.calls.empty());

    // Mail addresses never go to the browser: the shell's failure is reported.
    LabelHost mail{u"Mail"_s, u"mailto:a@example.test"_s};
    Click(mail.label);
    EXPECT_EQ(launcher.launches.size(), 1);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_TRUE(boxes.calls[0].text.endsWith(CHyperLinkLabel::OpenFailureText(SE_ERR_NOASSOC)));

    // A browser that cannot start leaves the shell's own code to report.
    launcher.started = false;
    shell.code = SE_ERR_FNF;
    Click(web.label);
    EXPECT_EQ(launcher.launches.size(), 2);
    EXPECT_FALSE(web.label->IsVisited());
    EXPECT_EQ(boxes.texts().value(1), u"Unable to open hyperlink:\n\nThe specified file was not found."_s);
}

TEST(HyperLinkLabel, TheDesktopsDefaultBrowserIsAskedForWithoutHoldingTheWindow)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SE_ERR_NOASSOC);
    LaunchRecorder launcher;
    const auto browser = ScopedEnvironment("BROWSER", QByteArray());

    // An xdg-settings of the test's own answers only when the test writes
    // the answer into its pipe, so the click must return before it answers.
    QTemporaryDir dir;
    const QString bin = dir.filePath(u"bin"_s), answer = dir.filePath(u"answer"_s);
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_EQ(::mkfifo(QFile::encodeName(answer).constData(), 0600), 0);
    ASSERT_TRUE(WriteTextFile(bin + u"/xdg-settings", QStringLiteral("#!/bin/sh\nread entry < '%1'\n"
                                                                     "[ -n \"$entry\" ] || exit 1\necho \"$entry\"\n").arg(answer)));
    QFile::setPermissions(bin + u"/xdg-settings", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto path = ScopedEnvironment("PATH", QFile::encodeName(bin) + ':' + qgetenv("PATH"));
    const QString applications = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    ASSERT_TRUE(WriteTextFile(applications + u"/test-browser.desktop",
                              QStringLiteral("[Desktop Entry]\nType=Application\nExec=\"/opt/Web Browser/run\" --private %u\n")));
    const auto cleanup = qScopeGuard([&] { QFile::remove(applications + u"/test-browser.desktop"); });

    // Hands `line` to the waiting xdg-settings, once it has opened its pipe.
    const auto reply = [&](const QByteArray &line) {
        int fd = -1;
        const bool opened = WaitUntil([&] { return (fd = ::open(QFile::encodeName(answer).constData(), O_WRONLY | O_NONBLOCK)) >= 0; });
        ASSERT_TRUE(opened);
        EXPECT_EQ(::write(fd, line.constData(), size_t(line.size())), line.size());
        ::close(fd);
    };

    const QString address = u"https://example.test/a?q=x;y&z=--private"_s;
    LabelHost web{u"Web"_s, address};
    Click(web.label);
    EXPECT_TRUE(web.label->IsOpening());
    EXPECT_TRUE(launcher.launches.isEmpty());
    Click(web.label); // a second click meanwhile opens nothing more
    EXPECT_EQ(shell.targets.size(), 1);
    reply("test-browser.desktop\n");
    ASSERT_TRUE(WaitUntil([&] { return !web.label->IsOpening(); }));
    EXPECT_EQ(launcher.launches, (QList<QStringList>{{u"/opt/Web Browser/run"_s, u"--private"_s, address}}));
    EXPECT_TRUE(web.label->IsVisited());
    EXPECT_TRUE(boxes.calls.empty());

    // No default browser: the shell's failure is reported once the answer came.
    Click(web.label);
    reply("\n");
    ASSERT_TRUE(WaitUntil([&] { return !web.label->IsOpening(); }));
    EXPECT_EQ(launcher.launches.size(), 1);
    EXPECT_FALSE(web.label->IsVisited());
    EXPECT_EQ(boxes.texts(), QStringList{u"Unable to open hyperlink:\n\n"_s + CHyperLinkLabel::OpenFailureText(SE_ERR_NOASSOC)});

    // A label closed while the question runs is never called back.
    {
        LabelHost closing{u"Web"_s, address};
        Click(closing.label);
        EXPECT_TRUE(closing.label->IsOpening());
    }
    EXPECT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(launcher.launches.size(), 1);
}
