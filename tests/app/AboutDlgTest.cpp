#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/QuaerioApp.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tests/support/TestSupport.h"

namespace
{
const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

QStringList labelTexts(const QWidget *dialog)
{
    QStringList texts;
    const QList<QLabel *> labels = dialog->findChildren<QLabel *>();
    for (const QLabel *label : labels)
        texts.append(label->text());
    return texts;
}

// Runs `inspect` on the About box that the application's command opens, then closes it.
void withOpenedAboutBox(CQuaerioApp &app, const std::function<void(CAboutDlg &)> &inspect)
{
    QObject context;
    bool seen = false;
    QTimer::singleShot(0, &context, [&] {
        auto *dialog = qobject_cast<CAboutDlg *>(QApplication::activeModalWidget());
        if (dialog) {
            seen = true;
            inspect(*dialog);
        }
        // Never leave a modal loop behind, whatever it is.
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_TRUE(app.CommandTarget().Execute(ID_APP_ABOUT));
    EXPECT_TRUE(seen);
}
} // namespace

TEST(AboutDlg, ShowsTheProgramAndItsLinks)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Quaerio"));
    const QStringList texts = labelTexts(&dialog);
    EXPECT_TRUE(texts.contains(QStringLiteral("Quaerio ( Unicode )")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Version 1. 2. 4. 2")));

    const struct
    {
        CHyperLinkLabel *link;
        int id;
        QString caption;
        QString target;
    } links[] = {
        {dialog.ProductHomeLink(), IDC_LNK_PRODUCT_HOME,
         QStringLiteral("Get the latest stable release on ") + kMakerDomain + QLatin1Char(' '), kProductHomeUrl},
        {dialog.MakerHomeLink(), IDC_LNK_MAKER_HOME, QString(), kMakerHomeUrl},
        {dialog.AuthorMailLink(), IDC_LNK_AUTHOR_MAIL, QStringLiteral("Author's Mail Box : ") + kAuthorMailAddress,
         QStringLiteral("mailto:") + kAuthorMailAddress},
        {dialog.AuthorBlogLink(), IDC_LNK_AUTHOR_BLOG, QStringLiteral("Author's Blog : feedback and recommand coming here"),
         kAuthorBlogUrl},
    };
    for (const auto &entry : links) {
        SCOPED_TRACE(entry.id);
        EXPECT_EQ(dialog.findChild<CHyperLinkLabel *>(QString::number(entry.id)), entry.link);
        if (!entry.caption.isEmpty()) {
            EXPECT_EQ(entry.link->text(), entry.caption);
        }
        EXPECT_EQ(entry.link->GetTarget(), entry.target);
        EXPECT_EQ(entry.link->toolTip(), entry.target);
        EXPECT_FALSE(entry.link->font().underline());
        EXPECT_EQ(entry.link->palette().color(QPalette::WindowText), kLink);
        EXPECT_GT(entry.link->width(), 0);
        EXPECT_LE(entry.link->x() + entry.link->width(), dialog.width()) << "no link is cut off";
    }
    // The maker's motto is written in capitals.
    const QString motto = dialog.MakerHomeLink()->text();
    EXPECT_FALSE(motto.isEmpty());
    EXPECT_EQ(motto, motto.toUpper());
}

TEST(AboutDlg, LinksOpenTheSameAddressesAsTheHelpMenu)
{
    ShellOpenRecorder shell;
    CQuaerioApp app;
    for (int command : {ID_HELP_HOMEPAGE, ID_HELP_SUPPORT, ID_HELP_MAKER})
        EXPECT_TRUE(app.CommandTarget().Execute(command));
    const QStringList helpMenu = shell.targets();

    CAboutDlg dialog;
    click(dialog.ProductHomeLink());
    click(dialog.AuthorBlogLink());
    click(dialog.MakerHomeLink());
    EXPECT_EQ(shell.targets().mid(3), helpMenu);
    EXPECT_EQ(helpMenu, (QStringList{kProductHomeUrl, kAuthorBlogUrl, kMakerHomeUrl}));

    click(dialog.AuthorMailLink());
    EXPECT_EQ(shell.targets().last(), QStringLiteral("mailto:") + kAuthorMailAddress);
    EXPECT_EQ(dialog.AuthorMailLink()->palette().color(QPalette::WindowText), kVisited);
}

TEST(AboutDlg, EveryOpeningStartsWithNoLinkVisited)
{
    ShellOpenRecorder shell;
    CQuaerioApp app;
    withOpenedAboutBox(app, [](CAboutDlg &dialog) {
        click(dialog.AuthorBlogLink());
        EXPECT_TRUE(dialog.AuthorBlogLink()->IsVisited());
    });
    EXPECT_EQ(shell.targets(), QStringList{kAuthorBlogUrl});
    withOpenedAboutBox(app, [](CAboutDlg &dialog) {
        EXPECT_FALSE(dialog.AuthorBlogLink()->IsVisited());
        EXPECT_EQ(dialog.AuthorBlogLink()->palette().color(QPalette::WindowText), kLink);
    });
}
