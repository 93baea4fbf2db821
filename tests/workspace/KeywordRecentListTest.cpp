#include <QStringList>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"
#include "workspace/KeywordRecentList.h"

TEST(KeywordRecentList, WritingTheListIsOneSaveThatReplacesTheWholeSection)
{
    TempProfile profile;
    const QString section = QStringLiteral("KeywordsHistory");
    for (int i = 1; i <= 20; ++i) // left by an earlier, larger capacity
        WriteProfileString(section, QString::number(i), QStringLiteral("old %1").arg(i));

    CKeywordRecentList list(section, QStringLiteral("k%d"), 16);
    for (int i = 0; i < 16; ++i)
        list.Add(QStringLiteral("keyword %1").arg(i));
    ProfileWriteRecorder recorder;
    list.WriteList();

    // The section is deleted and the slots written, newest first, and the
    // file is written out once for all of it.
    EXPECT_EQ(recorder.syncs(), 1);
    QStringList expected{section + u'/'};
    for (int i = 0; i < 16; ++i)
        expected.append(QStringLiteral("%1/k%2=keyword %3").arg(section).arg(i + 1).arg(15 - i));
    EXPECT_EQ(recorder.writes(), expected);
    EXPECT_EQ(GetProfileEntries(section).size(), 16);

    CKeywordRecentList reread(section, QStringLiteral("k%d"), 16);
    reread.ReadList();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(reread[i], list[i]);
    EXPECT_EQ(recorder.syncs(), 1); // reading saves nothing
}
