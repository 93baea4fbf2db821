#include <QFontMetrics>
#include <QScopeGuard>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/BrowserFallback.h"
#include "controls/HyperLinkLabel.h"
#include "tests/support/TestSupport.h"

namespace
{
const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);

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

void click(CHyperLinkLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

QColor textColour(const CHyperLinkLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}
} // namespace

TEST(HyperLinkLabel, FitsItselfToItsTextByAlignment)
{
    const QRect box(10, 20, 100, 30);
    // Centred: (100 - 41) / 2 = 29 off each side, so 42 remain.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 12}, Qt::AlignHCenter | Qt::AlignTop), QRect(39, 20, 42, 12));
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 12}, Qt::AlignRight | Qt::AlignTop), QRect(69, 20, 41, 12));
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 12}, Qt::AlignLeft | Qt::AlignTop), QRect(10, 20, 41, 12));
    // Vertical centring: (30 - 13) / 2 = 8 off top and bottom.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {41, 13}, Qt::AlignLeft | Qt::AlignVCenter), QRect(10, 28, 41, 14));
    // A text larger than the label makes a centred label grow, halving toward zero.
    EXPECT_EQ(CHyperLinkLabel::FitRectToText(box, {111, 12}, Qt::AlignCenter), QRect(5, 29, 110, 12));
}

TEST(HyperLinkLabel, CaptionTargetLookAndColours)
{
    const QString address = QStringLiteral("https://example.test/page");
    LabelHost noTarget{QStringLiteral("Read me")};
    EXPECT_EQ(noTarget.label->GetTarget(), QStringLiteral("Read me"));
    // Attaching fits the label to its text.
    EXPECT_EQ(noTarget.label->width(), QFontMetrics(noTarget.label->font()).horizontalAdvance(QStringLiteral("Read me")));

    LabelHost host{QString(), address};
    CHyperLinkLabel *label = host.label;
    EXPECT_EQ(label->text(), address);
    EXPECT_EQ(label->toolTip(), address);
    EXPECT_TRUE(label->font().underline());
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    label->SetUnderlined(false);
    EXPECT_FALSE(label->font().underline());

    // The hover colour wins over the visited one.
    const QColor hover = label->palette().color(QPalette::Active, QPalette::Highlight);
    host.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));
    EXPECT_EQ(textColour(label), kLink);
    QTest::mouseMove(label, label->rect().center());
    EXPECT_EQ(textColour(label), hover);
    label->SetVisited(true);
    EXPECT_EQ(textColour(label), hover);
    QTest::mouseMove(&host.window, QPoint(290, 90));
    EXPECT_EQ(textColour(label), kVisited);
}

TEST(HyperLinkLabel, ClickOpensTheTargetAndReportsFailures)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SHELL_OPEN_OK);
    LabelHost host{QStringLiteral("Mail"), QStringLiteral("mailto:someone@example.test")};
    CHyperLinkLabel *label = host.label;

    click(label);
    EXPECT_EQ(shell.targets(), QStringList{QStringLiteral("mailto:someone@example.test")});
    EXPECT_EQ(textColour(label), kVisited);
    EXPECT_TRUE(boxes.calls().empty());

    shell.setCode(26);
    click(label);
    EXPECT_FALSE(label->IsVisited());
    EXPECT_EQ(textColour(label), kLink);
    shell.setCode(1);
    click(label);
    EXPECT_EQ(boxes.texts(), (QStringList{QStringLiteral("Unable to open hyperlink:\n\nA sharing violation occurred. "),
                                          QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (1) occurred.")}));
    EXPECT_EQ(boxes.calls()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST(HyperLinkLabel, WebAddressesFallBackToTheRegisteredBrowser)
{
    MessageBoxRecorder boxes;
    ShellOpenRecorder shell(SE_ERR_NOASSOC);
    // The user's registered browser, launched only in a record.
    const QByteArray previousVariable = qgetenv("BROWSER");
    const bool hadVariable = qEnvironmentVariableIsSet("BROWSER");
    qputenv("BROWSER", "\"/opt/My Browser/run\" --new-tab \"%s\" --tail:other");
    QList<QStringList> launches;
    bool starts = true;
    LaunchHook previousHook = SetLaunchHook([&](const QString &program, const QStringList &arguments) {
        launches.append(QStringList{program} + arguments);
        return starts;
    });
    const auto restore = qScopeGuard([&] {
        SetLaunchHook(std::move(previousHook));
        hadVariable ? qputenv("BROWSER", previousVariable) : qunsetenv("BROWSER");
    });

    // The command is cut at the address, which stays one argument whatever it holds.
    const QString hostile = QStringLiteral("https://x.test/\" --evil; rm -rf ~");
    EXPECT_EQ(FormFallbackCommand(QStringLiteral("b %1 -x"), hostile).arguments, QStringList{hostile});
    const QString address = QStringLiteral("https://example.test/?q=a;rm&x=--evil");
    LabelHost web{QStringLiteral("Web"), address};
    click(web.label);
    EXPECT_EQ(launches, (QList<QStringList>{{QStringLiteral("/opt/My Browser/run"), QStringLiteral("--new-tab"), address}}));
    EXPECT_TRUE(web.label->IsVisited());
    EXPECT_TRUE(boxes.calls().empty());

    // Mail addresses never go to the browser: the shell's failure is reported.
    LabelHost mail{QStringLiteral("Mail"), QStringLiteral("mailto:a@example.test")};
    click(mail.label);
    EXPECT_EQ(launches.size(), 1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.calls()[0].text.endsWith(CHyperLinkLabel::OpenFailureText(SE_ERR_NOASSOC)));

    // A browser that cannot start leaves the shell's own code to report.
    starts = false;
    shell.setCode(SE_ERR_FNF);
    click(web.label);
    EXPECT_EQ(launches.size(), 2);
    EXPECT_FALSE(web.label->IsVisited());
    EXPECT_EQ(boxes.texts().value(1), QStringLiteral("Unable to open hyperlink:\n\nThe specified file was not found."));
}
