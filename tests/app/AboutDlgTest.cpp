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
void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}
} // namespace

TEST(AboutDlg, ShowsTheProgramAndItsLinks)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Quaerio"));
    QStringList texts;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("Quaerio ( Unicode )")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Version 1. 2. 4. 2")));

    const struct
    {
        CHyperLinkLabel *link;
        QString caption; // empty: checked elsewhere
        QString target;
    } links[] = {
        {dialog.ProductHomeLink(), QStringLiteral("Get the latest stable release on ") + kMakerDomain + QLatin1Char(' '),
         kProductHomeUrl},
        {dialog.MakerHomeLink(), QString(), kMakerHomeUrl},
        {dialog.AuthorMailLink(), QStringLiteral("Author's Mail Box : ") + kAuthorMailAddress,
         QStringLiteral("mailto:") + kAuthorMailAddress},
        {dialog.AuthorBlogLink(), QStringLiteral("Author's Blog : feedback and recommand coming here"), kAuthorBlogUrl},
    };
    for (const auto &entry : links) {
        SCOPED_TRACE(entry.target.toStdString());
        if (!entry.caption.isEmpty()) {
            EXPECT_EQ(entry.link->text(), entry.caption);
        }
        EXPECT_EQ(entry.link->toolTip(), entry.target);
        EXPECT_FALSE(entry.link->font().underline());
        EXPECT_EQ(entry.link->palette().color(QPalette::WindowText), QColor(0, 0, 238));
        EXPECT_GT(entry.link->width(), 0);
        EXPECT_LE(entry.link->x() + entry.link->width(), dialog.width()) << "no link is cut off";
    }
    EXPECT_FALSE(dialog.MakerHomeLink()->text().isEmpty());
}

TEST(AboutDlg, TheAboutCommandOpensLinksToTheHelpMenuAddresses)
{
    ShellOpenRecorder shell;
    CQuaerioApp app;
    for (int command : {ID_HELP_HOMEPAGE, ID_HELP_SUPPORT, ID_HELP_MAKER})
        EXPECT_TRUE(app.CommandTarget().Execute(command));
    EXPECT_EQ(shell.targets(), (QStringList{kProductHomeUrl, kAuthorBlogUrl, kMakerHomeUrl}));

    QObject context;
    bool seen = false;
    QTimer::singleShot(0, &context, [&] {
        if (auto *dialog = qobject_cast<CAboutDlg *>(QApplication::activeModalWidget())) {
            seen = true;
            for (CHyperLinkLabel *link : {dialog->ProductHomeLink(), dialog->AuthorBlogLink(), dialog->MakerHomeLink(),
                                          dialog->AuthorMailLink()})
                click(link);
        }
        // Never leave a modal loop behind, whatever it is.
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_TRUE(app.CommandTarget().Execute(ID_APP_ABOUT));
    EXPECT_TRUE(seen);
    EXPECT_EQ(shell.targets().mid(3), shell.targets().mid(0, 3) << QStringLiteral("mailto:") + kAuthorMailAddress);
}
