#include <QApplication>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "controls/BrowserFallback.h"
#include "controls/HyperLinkLabel.h"
#include "tests/support/TestSupport.h"

namespace
{
const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);

QColor hoverColor()
{
    return QWidget().palette().color(QPalette::Active, QPalette::Highlight);
}

// A window holding one link label at (10, 10), 200 x 20 before attaching.
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

// Sets BROWSER for the lifetime of the object and records every launch.
struct FakeBrowser
{
    explicit FakeBrowser(const QByteArray &command, bool starts = true)
        : m_previousValue(qgetenv("BROWSER"))
        , m_hadValue(qEnvironmentVariableIsSet("BROWSER"))
    {
        qputenv("BROWSER", command);
        m_previousHook = SetLaunchHook([this, starts](const QString &program, const QStringList &arguments) {
            launches.append(QStringList{program} + arguments);
            return starts;
        });
    }
    ~FakeBrowser()
    {
        SetLaunchHook(std::move(m_previousHook));
        if (m_hadValue)
            qputenv("BROWSER", m_previousValue);
        else
            qunsetenv("BROWSER");
    }
    Q_DISABLE_COPY_MOVE(FakeBrowser)

    QList<QStringList> launches;

private:
    QByteArray m_previousValue;
    bool m_hadValue;
    LaunchHook m_previousHook;
};

void click(CHyperLinkLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}
} // namespace

TEST(HyperLinkLabel, FitArithmeticFollowsTheAlignment)
{
    const QRect box(10, 20, 100, 30);
    // Centred: (100 - 41) / 2 = 29 off each side, so 42 remain.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 12}, Qt::AlignHCenter | Qt::AlignTop), QRect(39, 20, 42, 12));
    // Right-aligned keeps the right edge, left-aligned the left edge.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 12}, Qt::AlignRight | Qt::AlignTop), QRect(69, 20, 41, 12));
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 12}, Qt::AlignLeft | Qt::AlignTop), QRect(10, 20, 41, 12));
    // Vertical centring: (30 - 13) / 2 = 8 off top and bottom.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 13}, Qt::AlignLeft | Qt::AlignVCenter), QRect(10, 28, 41, 14));
    // A text larger than the label makes a centred label grow, halving toward zero.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {111, 12}, Qt::AlignCenter), QRect(5, 29, 110, 12));
}

TEST(HyperLinkLabel, AttachingFitsTheLabelToItsText)
{
    QWidget window;
    auto *centred = new CHyperLinkLabel(&window);
    centred->setText(QStringLiteral("centred link"));
    centred->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int textWidth = QFontMetrics(centred->font()).horizontalAdvance(centred->text());
    // A label 59 pixels wider than its text loses 29 on each side.
    centred->setGeometry(50, 5, textWidth + 59, 40);
    centred->Attach();
    EXPECT_EQ(centred->geometry(), QRect(79, 5, textWidth + 1, QFontMetrics(centred->font()).height()));

    LabelHost empty{QString()};
    EXPECT_EQ(empty.label->width(), 0);
    EXPECT_EQ(empty.label->x(), 10);
}

TEST(HyperLinkLabel, CaptionAndTargetStandInForEachOther)
{
    const QString address = QStringLiteral("https://example.test/page");
    LabelHost noCaption{QString(), address};
    EXPECT_EQ(noCaption.label->text(), address);
    EXPECT_EQ(noCaption.label->toolTip(), address);

    LabelHost noTarget{QStringLiteral("Read me")};
    EXPECT_EQ(noTarget.label->GetTarget(), QStringLiteral("Read me"));

    // A target given after attaching replaces the tooltip and keeps the caption.
    noTarget.label->SetTarget(address);
    EXPECT_EQ(noTarget.label->toolTip(), address);
    EXPECT_EQ(noTarget.label->text(), QStringLiteral("Read me"));

    EXPECT_TRUE(noTarget.label->font().underline());
    EXPECT_EQ(noTarget.label->cursor().shape(), Qt::PointingHandCursor);
    noTarget.label->SetUnderlined(false);
    EXPECT_FALSE(noTarget.label->font().underline());
}

TEST(HyperLinkLabel, HoverColourWinsOverVisited)
{
    LabelHost host{QStringLiteral("Colours"), QStringLiteral("https://example.test/")};
    host.window.show();
    CHyperLinkLabel *label = host.label;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), kLink);

    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));
    QTest::mouseMove(label, label->rect().center());
    EXPECT_TRUE(label->IsHovering());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), hoverColor());

    label->SetVisited(true);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), hoverColor());

    QTest::mouseMove(&host.window, QPoint(290, 90));
    EXPECT_FALSE(label->IsHovering());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), kVisited);
}

TEST(HyperLinkLabel, ClickOpensTheTargetAndReportsFailures)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SHELL_OPEN_OK);
    LabelHost host{QStringLiteral("Mail"), QStringLiteral("mailto:someone@example.test")};
    CHyperLinkLabel *label = host.label;

    click(label);
    EXPECT_EQ(shell.targets(), QStringList{QStringLiteral("mailto:someone@example.test")});
    EXPECT_TRUE(label->IsVisited());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), kVisited);
    EXPECT_TRUE(boxes.calls().empty());

    shell.setCode(26);
    click(label);
    EXPECT_FALSE(label->IsVisited());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), kLink);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, QStringLiteral("Unable to open hyperlink:\n\nA sharing violation occurred. "));
    EXPECT_EQ(boxes.calls()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);

    shell.setCode(1);
    click(label);
    ASSERT_EQ(boxes.calls().size(), 2u);
    EXPECT_EQ(boxes.calls()[1].text, QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (1) occurred."));

    // A press that ends outside the label is no click.
    QTest::mousePress(label, Qt::LeftButton, {}, label->rect().center());
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().bottomRight() + QPoint(5, 5));
    EXPECT_EQ(shell.targets().size(), 3);
}

TEST(HyperLinkLabel, FallbackCommandCutsAtThePlaceholder)
{
    const QString target = QStringLiteral("https://example.test/a b");
    BrowserCommand quoted = FormFallbackCommand(QStringLiteral("\"/opt/My Browser/run\" -nohome \"%1\" -tail"), target);
    EXPECT_EQ(quoted.commandLine, QStringLiteral("\"/opt/My Browser/run\" -nohome  ") + target);
    EXPECT_EQ(quoted.program, QStringLiteral("/opt/My Browser/run"));
    EXPECT_EQ(quoted.arguments, (QStringList{QStringLiteral("-nohome"), target}));

    BrowserCommand bare = FormFallbackCommand(QStringLiteral("browser --new %1 --x"), target);
    EXPECT_EQ(bare.commandLine, QStringLiteral("browser --new  ") + target);
    EXPECT_EQ(bare.arguments, (QStringList{QStringLiteral("--new"), target}));

    BrowserCommand none = FormFallbackCommand(QStringLiteral("browser"), target);
    EXPECT_EQ(none.commandLine, QStringLiteral("browser ") + target);
    EXPECT_EQ(none.arguments, QStringList{target});

    // An address full of shell words stays one argument.
    const QString hostile = QStringLiteral("https://x.test/\" --evil; rm -rf ~");
    EXPECT_EQ(FormFallbackCommand(QStringLiteral("b %1"), hostile).arguments, QStringList{hostile});
    EXPECT_TRUE(FormFallbackCommand(QStringLiteral("%1"), target).program.isEmpty());
}

TEST(HyperLinkLabel, RegisteredBrowserCommandsComeToOneForm)
{
    EXPECT_EQ(DesktopExecToCommand(QStringLiteral("firefox %u")), QStringLiteral("firefox %1"));
    EXPECT_EQ(DesktopExecToCommand(QStringLiteral("/usr/bin/web --name %c %i %U")), QStringLiteral("/usr/bin/web --name   %1"));
    EXPECT_EQ(DesktopExecToCommand(QStringLiteral("run --pct=100%% %F")), QStringLiteral("run --pct=100% %1"));
    EXPECT_EQ(BrowserCommandFromVariable(QStringLiteral(":w3m %s:lynx")), QStringLiteral("w3m %1"));
    EXPECT_EQ(BrowserCommandFromVariable(QString()), QString());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("web.desktop"));
    ASSERT_TRUE(WriteTextFile(path, QStringLiteral("[Desktop Action new]\nExec=wrong %u\n"
                                                   "[Desktop Entry]\nName=Web\nExec = \"/opt/web\\sapp/bin\" %U\n")));
    EXPECT_EQ(DesktopFileExec(path), QStringLiteral("\"/opt/web app/bin\" %U"));
    EXPECT_EQ(DesktopFileExec(dir.filePath(QStringLiteral("absent.desktop"))), QString());

    EXPECT_TRUE(IsWebAddress(QStringLiteral("https://example.test/x")));
    EXPECT_FALSE(IsWebAddress(QStringLiteral("mailto:a@example.test")));
    EXPECT_FALSE(IsWebAddress(QStringLiteral("-flag")));
}

TEST(HyperLinkLabel, WebAddressesFallBackToTheRegisteredBrowser)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SE_ERR_NOASSOC);
    auto browser = std::make_unique<FakeBrowser>("fake-browser --new-tab %s");

    LabelHost web{QStringLiteral("Web"), QStringLiteral("https://example.test/")};
    click(web.label);
    ASSERT_EQ(browser->launches.size(), 1);
    EXPECT_EQ(browser->launches[0],
              (QStringList{QStringLiteral("fake-browser"), QStringLiteral("--new-tab"), QStringLiteral("https://example.test/")}));
    EXPECT_TRUE(web.label->IsVisited());
    EXPECT_TRUE(boxes.calls().empty());

    // Mail addresses never go to the browser: the shell's failure is reported.
    LabelHost mail{QStringLiteral("Mail"), QStringLiteral("mailto:a@example.test")};
    click(mail.label);
    EXPECT_EQ(browser->launches.size(), 1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.calls()[0].text.endsWith(CHyperLinkLabel::OpenFailureText(SE_ERR_NOASSOC)));

    // A browser that cannot start leaves the shell's own code to report.
    browser.reset();
    browser = std::make_unique<FakeBrowser>("broken-browser", false);
    shell.setCode(SE_ERR_FNF);
    click(web.label);
    EXPECT_EQ(browser->launches.size(), 1);
    EXPECT_FALSE(web.label->IsVisited());
    ASSERT_EQ(boxes.calls().size(), 2u);
    EXPECT_EQ(boxes.calls()[1].text, QStringLiteral("Unable to open hyperlink:\n\nThe specified file was not found."));
}
