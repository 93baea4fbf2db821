#include <QSettings>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/CommandRouter.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"

TEST(ModulePaths, ReplacesEverythingAfterTheLastSeparator)
{
    EXPECT_EQ(ReplaceFileName(QStringLiteral("/opt/q/quaerio"), QStringLiteral("Quaerio.CFG")),
              QStringLiteral("/opt/q/Quaerio.CFG"));
    EXPECT_EQ(ReplaceFileName(QStringLiteral("/opt/q/a-much-longer-program-name.bin"), QStringLiteral("firstshow.mht")),
              QStringLiteral("/opt/q/firstshow.mht"));
    EXPECT_EQ(ReplaceFileName(QStringLiteral("quaerio"), QStringLiteral("Quaerio.CFG")), QStringLiteral("Quaerio.CFG"));
}

TEST(ProfileStore, NothingIsReadOrWrittenBeforeTheCompanyIsNamed)
{
    TempProfile profile;
    ResetRegistryKey();
    EXPECT_FALSE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("max"), 1));
    EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("max"), 7), 7);
    EXPECT_TRUE(ProfileLocation().isEmpty());
    SetRegistryKey(QStringLiteral("Tavistel"));
    EXPECT_TRUE(profile.dump().isEmpty());
}

TEST(ProfileStore, ValuesRoundTripAndGarbageReadsAsTheDefault)
{
    TempProfile profile;
    const QString section = QStringLiteral("Settings");
    EXPECT_EQ(GetProfileInt(section, QStringLiteral("absent"), 5), 5);
    EXPECT_EQ(GetProfileString(section, QStringLiteral("absent")), QString());

    ASSERT_TRUE(WriteProfileInt(section, QStringLiteral("n"), -8));
    ASSERT_TRUE(WriteProfileString(section, QStringLiteral("s"), QStringLiteral("-008 0001 ä;%&")));
    EXPECT_EQ(GetProfileInt(section, QStringLiteral("n"), 0), -8);
    EXPECT_EQ(GetProfileString(section, QStringLiteral("s")), QStringLiteral("-008 0001 ä;%&"));

    WriteProfileString(section, QStringLiteral("garbage"), QStringLiteral("abc"));
    WriteProfileString(section, QStringLiteral("huge"), QStringLiteral("99999999999999"));
    EXPECT_EQ(GetProfileInt(section, QStringLiteral("garbage"), 3), 3);
    EXPECT_EQ(GetProfileInt(section, QStringLiteral("huge"), 3), 3);

    EXPECT_TRUE(ProfileLocation().startsWith(profile.path()));
}

TEST(ProfileStore, DeletingASectionRemovesAllItsValuesOnly)
{
    TempProfile profile;
    WriteProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1"), QStringLiteral("a"));
    WriteProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("2"), QStringLiteral("b"));
    WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("max"), 1);
    EXPECT_EQ(GetProfileEntries(QStringLiteral("KeywordsHistory")).size(), 2);

    ASSERT_TRUE(DeleteProfileSection(QStringLiteral("KeywordsHistory")));
    EXPECT_TRUE(GetProfileEntries(QStringLiteral("KeywordsHistory")).isEmpty());
    EXPECT_EQ(profile.dump(), QStringLiteral("Settings/max=1"));
}

TEST(CommandRouter, FirstTargetWithAHandlerWinsAndUnhandledCommandsAreDisabled)
{
    QObject context;
    CCommandTarget frame, view, app;
    QStringList ran;
    frame.OnCommand(1, &context, [&] { ran << QStringLiteral("frame1"); });
    view.OnCommand(1, &context, [&] { ran << QStringLiteral("view1"); });
    view.OnCommand(2, &context, [&] { ran << QStringLiteral("view2"); });
    app.OnCommand(3, &context, [&] { ran << QStringLiteral("app3"); });

    bool viewPresent = true;
    CCommandRouter router;
    router.AddTarget([&] { return &frame; });
    router.AddTarget([&]() -> const CCommandTarget * { return viewPresent ? &view : nullptr; });
    router.AddTarget([&] { return &app; });

    EXPECT_TRUE(router.Execute(1));
    EXPECT_TRUE(router.Execute(2));
    EXPECT_TRUE(router.Execute(3));
    EXPECT_FALSE(router.Execute(4));
    EXPECT_EQ(ran, (QStringList{QStringLiteral("frame1"), QStringLiteral("view2"), QStringLiteral("app3")}));

    EXPECT_TRUE(router.Update(2).m_bEnabled);
    EXPECT_FALSE(router.Update(4).m_bEnabled);
    viewPresent = false;
    EXPECT_FALSE(router.Update(2).m_bEnabled);
    EXPECT_FALSE(router.Execute(2));
}

TEST(CommandRouter, UpdateHandlersDecideAndDieWithTheirContext)
{
    CCommandTarget view;
    auto context = std::make_unique<QObject>();
    bool busy = false;
    view.OnCommand(5, context.get(), [] {});
    view.OnUpdate(5, context.get(), [&](CCmdUI &ui) {
        ui.Enable(busy);
        ui.SetCheck(busy ? 1 : 0);
    });
    CCommandRouter router;
    router.AddTarget([&] { return &view; });

    EXPECT_FALSE(router.Update(5).m_bEnabled);
    busy = true;
    EXPECT_TRUE(router.Update(5).m_bEnabled);
    EXPECT_TRUE(router.Update(5).m_bChecked);

    context.reset();
    EXPECT_FALSE(router.Execute(5));
    EXPECT_FALSE(router.Update(5).m_bEnabled);
}

TEST(MessageBox, RecorderCapturesTextCaptionAndDefaultIcon)
{
    MessageBoxRecorder recorder;
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Please input keywords !")), 1);
    AfxMessageBox(QStringLiteral("question"), MB_YESNO | MB_ICONQUESTION);
    ASSERT_EQ(recorder.calls().size(), 2u);
    EXPECT_EQ(recorder.calls()[0].caption, QStringLiteral("Quaerio"));
    EXPECT_EQ(recorder.calls()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(recorder.calls()[1].type, MB_YESNO | MB_ICONQUESTION);
}

TEST(DialogUnits, ScaleWithTheFontAndRoundToNearest)
{
    const QFont font = DialogFont();
    const QSize base = DialogBaseUnits(font);
    ASSERT_GT(base.width(), 0);
    ASSERT_GT(base.height(), 0);
    EXPECT_EQ(DluToPixelsX(4, font), base.width());
    EXPECT_EQ(DluToPixelsY(8, font), base.height());
    const QRect form = DluRectToPixels(0, 0, 336, 127, font);
    EXPECT_EQ(form.width(), DluToPixelsX(336, font));
    EXPECT_EQ(form.height(), DluToPixelsY(127, font));

    QFont bigger = font;
    bigger.setPointSize(18);
    EXPECT_GT(DluToPixelsX(336, bigger), form.width());
}
