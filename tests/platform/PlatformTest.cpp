#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/CommandRouter.h"
#include "platform/FileRemoval.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/ShellOpen.h"
#include "tests/support/TestSupport.h"

namespace
{
// The file's inode: a save replaces the file, so each save gives a new one.
ino_t inodeOf(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

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

TEST(ProfileStore, ABatchIsOneSaveThatReplacesTheFileOnceAtItsEnd)
{
    TempProfile profile;
    const QString history = QStringLiteral("KeywordsHistory");
    for (int i = 1; i <= 3; ++i)
        WriteProfileString(history, QString::number(i), QStringLiteral("old %1").arg(i));
    const QString file = ProfileLocation();
    const QByteArray before = contentsOf(file);
    const ino_t inodeBefore = inodeOf(file);
    ProfileWriteRecorder recorder;
    {
        const CProfileBatch batch;
        DeleteProfileSection(history);
        {
            const CProfileBatch inner; // ends without saving
            WriteProfileString(history, QStringLiteral("1"), QStringLiteral("new"));
        }
        WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("n"), 4);
        // Reads inside the batch see its writes; the file still holds the old list.
        EXPECT_EQ(GetProfileString(history, QStringLiteral("1")), QStringLiteral("new"));
        EXPECT_EQ(GetProfileString(history, QStringLiteral("2")), QString());
        EXPECT_EQ(contentsOf(file), before);
        EXPECT_EQ(inodeOf(file), inodeBefore);
        EXPECT_EQ(recorder.syncs(), 0);
    }
    EXPECT_EQ(recorder.syncs(), 1);
    EXPECT_NE(inodeOf(file), inodeBefore);
    EXPECT_EQ(recorder.writes(), (QStringList{QStringLiteral("KeywordsHistory/"), QStringLiteral("KeywordsHistory/1=new"),
                                              QStringLiteral("Settings/n=4")}));
    EXPECT_EQ(profile.dump(), QStringLiteral("KeywordsHistory/1=new\nSettings/n=4"));

    // A batch with only reads saves nothing.
    {
        const CProfileBatch batch;
        EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("n"), 0), 4);
    }
    EXPECT_EQ(recorder.syncs(), 1);

    // Before the company is named a batch neither reads nor writes.
    ResetRegistryKey();
    {
        const CProfileBatch batch;
        EXPECT_FALSE(WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("c"), 3));
    }
    SetRegistryKey(QStringLiteral("Tavistel"));
    EXPECT_EQ(recorder.syncs(), 1);
    EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("c"), -1), -1);
}

TEST(PlatformServices, BoxesGetTheCaptionAndAnIconOnlyWhenNoneIsAskedForAndOpensGoToTheServices)
{
    MessageBoxRecorder boxes(IDNO);
    ShellOpenRecorder shell(SE_ERR_FNF);
    int code = 0;
    QObject context;
    ShellExecuteOpen(QStringLiteral("mailto:a@example.test"), &context, [&code](int answer) { code = answer; });
    EXPECT_EQ(code, SE_ERR_FNF);
    EXPECT_EQ(shell.targets(), QStringList{QStringLiteral("mailto:a@example.test")});
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Sure ?"), MB_YESNO), IDNO);
    AfxMessageBox(QStringLiteral("Note"));
    ASSERT_EQ(boxes.calls().size(), 2u);
    EXPECT_EQ(boxes.calls()[0].caption, QStringLiteral("Quaerio"));
    EXPECT_EQ(boxes.calls()[0].type, MB_YESNO); // a question box gets no default icon
    EXPECT_EQ(boxes.calls()[1].type, MB_OK | MB_ICONEXCLAMATION);
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

TEST(FileRemoval, LinksAreRemovedAndTheirTargetsKept)
{
    QTemporaryDir dir;
    const QString tree = dir.filePath(QStringLiteral("profile/Local Storage"));
    const QString outside = dir.filePath(QStringLiteral("outside"));
    ASSERT_TRUE(WriteTextFile(tree + u"/leveldb/000003.log", QStringLiteral("site data")));
    ASSERT_TRUE(WriteTextFile(outside + u"/kept/letter.txt", QStringLiteral("the user's")));
    ASSERT_TRUE(QFile::link(outside, tree + u"/leveldb/folder-link"));
    ASSERT_TRUE(QFile::link(outside + u"/kept/letter.txt", tree + u"/file-link"));
    // A storage folder that is itself a link to a folder outside.
    ASSERT_TRUE(QFile::link(outside + u"/kept", dir.filePath(QStringLiteral("profile/IndexedDB"))));

    EXPECT_TRUE(RemoveWithoutFollowingLinks(tree));
    EXPECT_TRUE(RemoveWithoutFollowingLinks(dir.filePath(QStringLiteral("profile/IndexedDB"))));
    EXPECT_TRUE(RemoveWithoutFollowingLinks(dir.filePath(QStringLiteral("profile/absent"))));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("profile"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList());
    EXPECT_EQ(contentsOf(outside + u"/kept/letter.txt"), QByteArray("the user's"));
}
