#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/KeywordRecentList.h"

namespace
{
const QString kSection = QStringLiteral("KeywordsHistory");

// Configured the way the search form does it; history on when `capacity` > 0.
std::unique_ptr<CHistoryComboBox> makeKeywordBox(int capacity = 16, bool load = true)
{
    auto box = std::make_unique<CHistoryComboBox>();
    box->SetSection(kSection);
    box->SetEntryFormat(QStringLiteral("%d"));
    box->m_bPlainEntries = true;
    box->SetAutoRefresh(true);
    box->SetAutoSave(true);
    if (capacity > 0)
        box->SetMaxSize(capacity);
    if (load) {
        box->LoadHistory();
        box->RefreshDropDown();
    }
    return box;
}

void storeHistory(const QStringList &newestFirst)
{
    for (int i = 0; i < newestFirst.size(); ++i)
        WriteProfileString(kSection, QString::number(i + 1), newestFirst.at(i));
}

// The stored values as "name=value" in numeric order; a gap or an extra name shows.
QStringList stored()
{
    QStringList names = GetProfileEntries(kSection);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    for (QString &name : names)
        name += u'=' + GetProfileString(kSection, name);
    return names;
}

QStringList items(const CHistoryComboBox &box)
{
    QStringList result;
    for (int i = 0; i < box.count(); ++i)
        result.append(box.itemText(i));
    return result;
}
} // namespace

TEST(HistoryComboBoxTest, MatchingIgnoresCaseOfAsciiLettersOnlyAndKeywordsSurviveTheProfile)
{
    TempProfile profile;
    auto box = makeKeywordBox();
    for (const char16_t *keyword : {u"Foo", u"foo", u"\u00C4", u"\u00E4", u"a, b", u"@Variant(x)", u"FOO"})
        box->AddToHistory(QString::fromUtf16(keyword));
    // A present entry moves to the front in the new letter case.
    const QStringList expected = {u"FOO"_qs, u"@Variant(x)"_qs, u"a, b"_qs, u"\u00E4"_qs, u"\u00C4"_qs};
    EXPECT_EQ(items(*box), expected);
    EXPECT_EQ(items(*makeKeywordBox()), expected);
}

TEST(HistoryComboBoxTest, FullListDropsOldestAndWritesOnlyItsSlots)
{
    TempProfile profile;
    // "4" is left over from a run with a larger capacity.
    storeHistory({u"K3"_qs, u"K2"_qs, u"K1"_qs, u"K0"_qs});
    auto box = makeKeywordBox(3);
    box->AddToHistory(QStringLiteral("K4"));
    EXPECT_EQ(stored(), (QStringList{u"1=K4"_qs, u"2=K3"_qs, u"3=K2"_qs}));
    // A match in the last slot drops off all the same: never a keyword twice.
    box->AddToHistory(QStringLiteral("k2"));
    EXPECT_EQ(stored(), (QStringList{u"1=k2"_qs, u"2=K4"_qs, u"3=K3"_qs}));

    box.reset();
    storeHistory({u"o8"_qs, u"o7"_qs, u"o6"_qs, u"o5"_qs, u"o4"_qs, u"o3"_qs, u"o2"_qs, u"o1"_qs});
    box = makeKeywordBox(16);
    EXPECT_EQ(box->SetMaxSize(5), 16);
    box->AddToHistory(QStringLiteral("new"));
    EXPECT_EQ(stored(), (QStringList{u"1=new"_qs, u"2=o8"_qs, u"3=o7"_qs, u"4=o6"_qs, u"5=o5"_qs}));
}

TEST(HistoryComboBoxTest, HistoryOffLeavesTheStoreAloneAndDestructionSavesAnExistingList)
{
    TempProfile profile;
    storeHistory({u"alpha"_qs, u"beta"_qs});
    WriteProfileString(kSection, QStringLiteral("9"), QStringLiteral("stray"));
    const QString before = profile.dump();
    // History off for the whole run: configured, never loaded or added to.
    makeKeywordBox(0, false)->setEditText(QStringLiteral("typed only"));
    EXPECT_EQ(profile.dump(), before);

    {
        auto box = makeKeywordBox();
        box->SetAutoSave(false);
        box->AddToHistory(QStringLiteral("late"));
        EXPECT_EQ(profile.dump(), before);
    }
    EXPECT_EQ(stored(), (QStringList{u"1=late"_qs, u"2=alpha"_qs, u"3=beta"_qs, u"10=stray"_qs}));
}

TEST(HistoryComboBoxTest, SwitchingHistoryOnMidRunKeepsEarlierRunsKeywords)
{
    TempProfile profile;
    storeHistory({u"earlier1"_qs, u"earlier2"_qs});
    // Off at start-up; a search after switching it on sets the capacity, adds.
    auto box = makeKeywordBox(0, false);
    EXPECT_EQ(box->SetMaxSize(16), 0);
    box->AddToHistory(QStringLiteral("now"));
    EXPECT_EQ(stored(), (QStringList{u"1=now"_qs, u"2=earlier1"_qs, u"3=earlier2"_qs}));
}

TEST(KeywordRecentList, WritingTheListIsOneSaveThatReplacesTheWholeSection)
{
    TempProfile profile;
    for (int i = 1; i <= 20; ++i) // left by an earlier, larger capacity
        WriteProfileString(kSection, QString::number(i), QStringLiteral("old %1").arg(i));
    CKeywordRecentList list(kSection, QStringLiteral("k%d"), 16);
    for (int i = 0; i < 16; ++i)
        list.Add(QStringLiteral("keyword %1").arg(i));
    ProfileWriteRecorder recorder;
    list.WriteList();
    // The section is deleted and the slots written, newest first, in one save.
    EXPECT_EQ(recorder.syncs(), 1);
    QStringList expected{kSection + u'/'};
    for (int i = 0; i < 16; ++i)
        expected.append(QStringLiteral("%1/k%2=keyword %3").arg(kSection).arg(i + 1).arg(15 - i));
    EXPECT_EQ(recorder.writes(), expected);
    CKeywordRecentList reread(kSection, QStringLiteral("k%d"), 16);
    reread.ReadList();
    EXPECT_EQ(reread[15], list[15]);
}
