#include <memory>

#include <gtest/gtest.h>

#include "platform/CommandRouter.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"

TEST(ProfileStore, ValuesRoundTripSectionsDeleteWholeAndNothingIsStoredWithoutTheCompany)
{
    TempProfile profile;
    const QString settings = QStringLiteral("Settings"), history = QStringLiteral("KeywordsHistory");
    EXPECT_EQ(GetProfileInt(settings, QStringLiteral("absent"), 5), 5);
    ASSERT_TRUE(WriteProfileInt(settings, QStringLiteral("n"), -8));
    ASSERT_TRUE(WriteProfileString(history, QStringLiteral("1"), QStringLiteral("-008 ä;%&")));
    WriteProfileString(history, QStringLiteral("2"), QStringLiteral("99999999999999"));
    EXPECT_EQ(GetProfileInt(settings, QStringLiteral("n"), 0), -8);
    EXPECT_EQ(GetProfileString(history, QStringLiteral("1")), QStringLiteral("-008 ä;%&"));
    EXPECT_EQ(GetProfileInt(history, QStringLiteral("2"), 3), 3); // out of range reads as the default
    EXPECT_TRUE(ProfileLocation().startsWith(profile.path()));

    ASSERT_TRUE(DeleteProfileSection(history));
    EXPECT_TRUE(GetProfileEntries(history).isEmpty());
    EXPECT_EQ(profile.dump(), QStringLiteral("Settings/n=-8"));

    ResetRegistryKey();
    EXPECT_FALSE(WriteProfileInt(settings, QStringLiteral("m"), 1));
    EXPECT_EQ(GetProfileInt(settings, QStringLiteral("n"), 7), 7);
    SetRegistryKey(QStringLiteral("Tavistel"));
    EXPECT_EQ(profile.dump(), QStringLiteral("Settings/n=-8"));
}

TEST(CommandRouter, FirstTargetWithAHandlerWinsAndHandlersDieWithTheirContext)
{
    auto context = std::make_unique<QObject>();
    CCommandTarget frame, view, app;
    QStringList ran;
    frame.OnCommand(1, context.get(), [&] { ran << QStringLiteral("frame1"); });
    view.OnCommand(1, context.get(), [&] { ran << QStringLiteral("view1"); });
    view.OnCommand(2, context.get(), [&] { ran << QStringLiteral("view2"); });
    app.OnCommand(3, context.get(), [&] { ran << QStringLiteral("app3"); });
    bool enabled = false;
    view.OnUpdate(2, context.get(), [&](CCmdUI &ui) { ui.Enable(enabled); });

    bool viewPresent = true;
    CCommandRouter router;
    router.AddTarget([&] { return &frame; });
    router.AddTarget([&]() -> const CCommandTarget * { return viewPresent ? &view : nullptr; });
    router.AddTarget([&] { return &app; });
    EXPECT_TRUE(router.Execute(1) && router.Execute(2) && router.Execute(3));
    EXPECT_FALSE(router.Execute(4));
    EXPECT_EQ(ran, (QStringList{QStringLiteral("frame1"), QStringLiteral("view2"), QStringLiteral("app3")}));

    EXPECT_TRUE(router.Update(3).m_bEnabled);
    EXPECT_FALSE(router.Update(4).m_bEnabled);
    EXPECT_FALSE(router.Update(2).m_bEnabled);
    enabled = true;
    EXPECT_TRUE(router.Update(2).m_bEnabled);
    viewPresent = false;
    EXPECT_FALSE(router.Update(2).m_bEnabled);
    viewPresent = true;
    context.reset();
    EXPECT_FALSE(router.Execute(3));
    EXPECT_FALSE(router.Update(2).m_bEnabled);
}
