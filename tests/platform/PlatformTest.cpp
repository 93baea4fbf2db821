#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/CommandRouter.h"
#include "platform/FileRemoval.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"

using namespace Qt::StringLiterals;

namespace
{
// The file's inode: a save replaces the file, so each save gives a new one.
ino_t inodeOf(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}
} // namespace

TEST(ProfileStore, ABatchIsOneSaveThatReplacesTheFileOnceAtItsEnd)
{
    TempProfile profile;
    const QString history = u"KeywordsHistory"_s;
    for (int i = 1; i <= 3; ++i)
        WriteProfileString(history, QString::number(i), u"old %1"_s.arg(i));
    const QString file = ProfileLocation();
    const QByteArray before = FileBytes(file);
    const ino_t inodeBefore = inodeOf(file);
    ProfileWriteRecorder recorder;
    {
        const CProfileBatch batch;
        DeleteProfileSection(history);
        {
            const CProfileBatch inner; // ends without saving
            WriteProfileString(history, u"1"_s, u"new"_s);
        }
        WriteProfileInt(u"Settings"_s, u"n"_s, 4);
        // Reads inside the batch see its writes; the file still holds the old list.
        EXPECT_EQ(GetProfileString(history, u"1"_s), u"new"_s);
        EXPECT_EQ(GetProfileString(history, u"2"_s), QString());
        EXPECT_EQ(FileBytes(file), before);
        EXPECT_EQ(inodeOf(file), inodeBefore);
        EXPECT_EQ(recorder.syncs, 0);
    }
    EXPECT_EQ(recorder.syncs, 1);
    EXPECT_NE(inodeOf(file), inodeBefore);
    EXPECT_EQ(recorder.writes, (QStringList{u"KeywordsHistory/"_s, u"KeywordsHistory/1=new"_s, u"Settings/n=4"_s}));
    EXPECT_EQ(profile.dump(), u"KeywordsHistory/1=new\nSettings/n=4"_s);

    // A batch with only reads saves nothing.
    {
        const CProfileBatch batch;
        EXPECT_EQ(GetProfileInt(u"Settings"_s, u"n"_s, 0), 4);
    }
    EXPECT_EQ(recorder.syncs, 1);

    // Before the company is named a batch neither reads nor writes.
    ResetRegistryKey();
    {
        const CProfileBatch batch;
        EXPECT_FALSE(WriteProfileInt(u"Settings"_s, u"c"_s, 3));
    }
    SetRegistryKey(u"Tavistel"_s);
    EXPECT_EQ(recorder.syncs, 1);
    EXPECT_EQ(GetProfileInt(u"Settings"_s, u"c"_s, -1), -1);
}

TEST(CommandRouter, FirstTargetWithAHandlerWinsAndHandlersDieWithTheirContext)
{
    auto context = std::make_unique<QObject>();
    CCommandTarget frame, view, app;
    QStringList ran;
    frame.OnCommand(1, context.get(), [&] { ran << u"frame1"_s; });
    view.OnCommand(1, context.get(), [&] { ran << u"view1"_s; });
    view.OnCommand(2, context.get(), [&] { ran << u"view2"_s; });
    app.OnCommand(3, context.get(), [&] { ran << u"app3"_s; });
    bool enabled = false;
    view.OnUpdate(2, context.get(), [&](CCmdUI &ui) { ui.Enable(enabled); });

    bool viewPresent = true;
    CCommandRouter router;
    router.AddTarget([&] { return &frame; });
    router.AddTarget([&]() -> const CCommandTarget * { return viewPresent ? &view : nullptr; });
    router.AddTarget([&] { return &app; });
    EXPECT_TRUE(router.Execute(1) && router.Execute(2) && router.Execute(3));
    EXPECT_FALSE(router.Execute(4));
    EXPECT_EQ(ran, (QStringList{u"frame1"_s, u"view2"_s, u"app3"_s}));

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
    const QString tree = dir.filePath(u"profile/Local Storage"_s);
    const QString outside = dir.filePath(u"outside"_s);
    ASSERT_TRUE(WriteTextFile(tree + u"/leveldb/000003.log", u"site data"_s));
    ASSERT_TRUE(WriteTextFile(outside + u"/kept/letter.txt", u"the user's"_s));
    ASSERT_TRUE(QFile::link(outside, tree + u"/leveldb/folder-link"));
    ASSERT_TRUE(QFile::link(outside + u"/kept/letter.txt", tree + u"/file-link"));
    // A storage folder that is itself a link to a folder outside.
    ASSERT_TRUE(QFile::link(outside + u"/kept", dir.filePath(u"profile/IndexedDB"_s)));

    EXPECT_TRUE(RemoveWithoutFollowingLinks(tree));
    EXPECT_TRUE(RemoveWithoutFollowingLinks(dir.filePath(u"profile/IndexedDB"_s)));
    EXPECT_TRUE(RemoveWithoutFollowingLinks(dir.filePath(u"profile/absent"_s)));
    EXPECT_EQ(QDir(dir.filePath(u"profile"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList());
    EXPECT_EQ(FileBytes(outside + u"/kept/letter.txt"), QByteArray("the user's"));
}
