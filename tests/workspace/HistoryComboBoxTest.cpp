#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"
#include "workspace/HistoryComboBox.h"

using namespace Qt::StringLiterals;

namespace
{
const QString kSection = u"KeywordsHistory"_s;

// Configured the way the search form does it; history on when `capacity` > 0.
std::unique_ptr<CHistoryComboBox> makeKeywordBox(int capacity = 16, bool load = true)
{
    auto box = std::make_unique<CHistoryComboBox>();
    box->SetSection(kSection);
    box->SetEntryFormat(u"%d"_s);
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
    const QStringList expected = {u"FOO"_s, u"@Variant(x)"_s, u"a, b"_s, u"\u00E4"_s, u"\u00C4"_s};
    EXPECT_EQ(items(*box), expected);
    EXPECT_EQ(items(*makeKeywordBox()), expected);
}

TEST(HistoryComboBoxTest, FullListDropsOldestAndWritesOnlyItsSlots)
{
    TempProfile profile;
    // "4" is left over from a run with a larger capacity.
    storeHistory({u"K3"_s, u"K2"_s, u"K1"_s, u"K0"_s});
    auto box = makeKeywordBox(3);
    {
        // The section is replaced by the list in one save.
        ProfileWriteRecorder recorder;
        box->AddToHistory(u"K4"_s);
        EXPECT_EQ(recorder.syncs, 1);
        EXPECT_EQ(recorder.writes.value(0), kSection + u'/');
    }
    EXPECT_EQ(stored(), (QStringList{u"1=K4"_s, u"2=K3"_s, u"3=K2"_s}));
    // A match in the last slot drops off all the same: never a keyword twice.
    box->AddToHistory(u"k2"_s);
    EXPECT_EQ(stored(), (QStringList{u"1=k2"_s, u"2=K4"_s, u"3=K3"_s}));

    box.reset();
    storeHistory({u"o8"_s, u"o7"_s, u"o6"_s, u"o5"_s, u"o4"_s, u"o3"_s, u"o2"_s, u"o1"_s});
    box = makeKeywordBox(16);
    EXPECT_EQ(box->SetMaxSize(5), 16);
    box->AddToHistory(u"new"_s);
    EXPECT_EQ(stored(), (QStringList{u"1=new"_s, u"2=o8"_s, u"3=o7"_s, u"4=o6"_s, u"5=o5"_s}));
}

TEST(HistoryComboBoxTest, HistoryOffLeavesTheStoreAloneUntilSwitchedOnAndDestructionSavesAnExistingList)
{
    TempProfile profile;
    storeHistory({u"alpha"_s, u"beta"_s});
    WriteProfileString(kSection, u"9"_s, u"stray"_s);
    const QString before = profile.dump();
    // History off at start-up: configured, never loaded or added to.
    auto off = makeKeywordBox(0, false);
    off->setEditText(u"typed only"_s);
    EXPECT_EQ(profile.dump(), before);

    {
        auto box = makeKeywordBox();
        box->SetAutoSave(false);
        box->AddToHistory(u"late"_s);
        EXPECT_EQ(profile.dump(), before);
    }
    EXPECT_EQ(stored(), (QStringList{u"1=late"_s, u"2=alpha"_s, u"3=beta"_s, u"10=stray"_s}));

    // A search after switching it on sets the capacity and adds, keeping
    // the keywords of earlier runs.
    EXPECT_EQ(off->SetMaxSize(16), 0);
    off->AddToHistory(u"now"_s);
    EXPECT_EQ(stored(), (QStringList{u"1=now"_s, u"2=late"_s, u"3=alpha"_s, u"4=beta"_s, u"11=stray"_s}));
}
