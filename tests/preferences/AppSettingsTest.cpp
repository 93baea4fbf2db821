#include <QVariant>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "tests/support/TestSupport.h"

using namespace Qt::StringLiterals;

namespace
{
QList<int> fieldsOf(const CAppSettings &settings)
{
    return {settings.m_bPreservedPos, settings.m_bPreservedKeywords, settings.m_nKeywordsHisCount, settings.m_bShowLatestKeyword};
}

void store(const QList<int> &values)
{
    const char *entries[] = {"PreservedPos", "PreservedKeywords", "KeywordsHisCount", "ShowLatestKeyword"};
    for (int i = 0; i < 4; ++i)
        WriteProfileInt(u"Settings"_s, QString::fromLatin1(entries[i]), values.at(i));
}
} // namespace

TEST(AppSettings, LoadKeepsCountAndShowLatestOnlyWithKeywordsKeptAndSaveWritesAllFourOnlyWhenChanged)
{
    TempProfile profile;
    ProfileWriteRecorder recorder;
    CAppSettings settings;
    settings.Load(); // a fresh store: the defaults, and nothing written
    EXPECT_EQ(fieldsOf(settings), (QList<int>{0, 0, 16, 0}));
    EXPECT_TRUE(profile.dump().isEmpty());

    store({2, 2, 5, 2}); // stored 2s are held as 2, not clamped to 1
    settings.Load();
    EXPECT_EQ(fieldsOf(settings), (QList<int>{2, 2, 5, 2}));
    store({1, 0, 9, 1}); // without kept keywords, count and flag stay as in memory
    settings.Load();
    EXPECT_EQ(fieldsOf(settings), (QList<int>{1, 0, 5, 2}));

    settings.m_bPreservedPos = 2;
    settings.m_bPreservedKeywords = 1;
    settings.m_nKeywordsHisCount = 7;
    settings.m_bShowLatestKeyword = -1;
    recorder.writes.clear();
    recorder.syncs = 0;
    settings.Save();
    EXPECT_TRUE(recorder.writes.isEmpty() && recorder.syncs == 0);

    settings.m_bChanged = 1;
    settings.Save();
    EXPECT_EQ(settings.m_bChanged, 0);
    // Flags are written as 1 only when they equal 1; the count as it is; in one save.
    EXPECT_EQ(recorder.syncs, 1);
    EXPECT_EQ(recorder.writes, (QStringList{u"Settings/PreservedPos=0"_s, u"Settings/PreservedKeywords=1"_s,
                                              u"Settings/KeywordsHisCount=7"_s, u"Settings/ShowLatestKeyword=0"_s}));
    CAppSettings reloaded;
    reloaded.Load();
    EXPECT_EQ(fieldsOf(reloaded), (QList<int>{0, 1, 7, 0}));
}
