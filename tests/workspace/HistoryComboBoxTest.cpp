#include <QLineEdit>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>

#include "platform/ProfileStore.h"
#include "tests/support/TestSupport.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/KeywordRecentList.h"

// Readable failure messages.
static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

static void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '[' << list.join(QStringLiteral("|")).toStdString() << ']';
}

namespace
{
const QString kSection = QStringLiteral("KeywordsHistory");

// Configures the box the way the search form does at its initial update.
std::unique_ptr<CHistoryComboBox> makeKeywordBox()
{
    auto box = std::make_unique<CHistoryComboBox>();
    box->lineEdit()->setMaxLength(260);
    box->SetSection(kSection);
    box->SetEntryFormat(QStringLiteral("%d"));
    box->m_bPlainEntries = true;
    box->SetAutoRefresh(true);
    box->SetAutoSave(true);
    return box;
}

void storeHistory(const QStringList &newestFirst)
{
    for (int i = 0; i < newestFirst.size(); ++i)
        WriteProfileString(kSection, QString::number(i + 1), newestFirst.at(i));
}

// The stored history, newest first, read value by value until the first gap.
QStringList storedHistory()
{
    QStringList result;
    for (int i = 1;; ++i) {
        const QString value = GetProfileString(kSection, QString::number(i));
        if (value.isEmpty())
            return result;
        result.append(value);
    }
}

QStringList storedNames()
{
    QStringList names = GetProfileEntries(kSection);
    names.sort();
    return names;
}

QStringList entries(const CHistoryComboBox &box)
{
    QStringList result;
    const CKeywordRecentList *list = box.RecentList();
    for (int i = 0; list && i < list->GetSize(); ++i)
        result.append((*list)[i]);
    return result;
}

QStringList items(const CHistoryComboBox &box)
{
    QStringList result;
    for (int i = 0; i < box.count(); ++i)
        result.append(box.itemText(i));
    return result;
}
} // namespace

TEST(HistoryComboBoxTest, MatchingIgnoresCaseOfAsciiLettersOnly)
{
    TempProfile profile;
    auto box = makeKeywordBox();
    ASSERT_EQ(box->SetMaxSize(16), 0);
    ASSERT_TRUE(box->LoadHistory());

    EXPECT_TRUE(box->AddToHistory(QStringLiteral("Foo")));
    EXPECT_TRUE(box->AddToHistory(QStringLiteral("foo")));
    EXPECT_EQ(storedHistory(), QStringList{QStringLiteral("foo")});
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("1")});

    box->AddToHistory(QStringLiteral("\u00C4"));
    box->AddToHistory(QStringLiteral("\u00E4"));
    EXPECT_EQ(storedHistory(), (QStringList{QStringLiteral("\u00E4"), QStringLiteral("\u00C4"), QStringLiteral("foo")}));

    // A present entry moves to the front; the others keep their order.
    box->AddToHistory(QStringLiteral("FOO"));
    EXPECT_EQ(items(*box), (QStringList{QStringLiteral("FOO"), QStringLiteral("\u00E4"), QStringLiteral("\u00C4")}));
}

TEST(HistoryComboBoxTest, FullListDropsOldestAndWritesOnlyItsSlots)
{
    TempProfile profile;
    // "4" is left over from a run with a larger capacity.
    storeHistory({QStringLiteral("K3"), QStringLiteral("K2"), QStringLiteral("K1"), QStringLiteral("K0")});
    auto box = makeKeywordBox();
    box->SetMaxSize(3);
    box->LoadHistory();

    box->AddToHistory(QStringLiteral("K4"));
    EXPECT_EQ(entries(*box), (QStringList{QStringLiteral("K4"), QStringLiteral("K3"), QStringLiteral("K2")}));
    EXPECT_EQ(storedNames(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(storedHistory(), entries(*box));

    // A match in the last slot is not found by the scan but still drops off:
    // the list never holds a keyword twice.
    box->AddToHistory(QStringLiteral("k2"));
    EXPECT_EQ(entries(*box), (QStringList{QStringLiteral("k2"), QStringLiteral("K4"), QStringLiteral("K3")}));
}

TEST(HistoryComboBoxTest, LoweringCapacityKeepsNewestEntries)
{
    TempProfile profile;
    QStringList stored;
    for (int i = 8; i >= 1; --i)
        stored.append(QStringLiteral("old%1").arg(i));
    storeHistory(stored);
    auto box = makeKeywordBox();
    ASSERT_EQ(box->SetMaxSize(16), 0);
    box->LoadHistory();

    EXPECT_EQ(box->SetMaxSize(5), 16);
    box->AddToHistory(QStringLiteral("new"));
    EXPECT_EQ(storedHistory(), (QStringList{QStringLiteral("new"), QStringLiteral("old8"), QStringLiteral("old7"),
                                            QStringLiteral("old6"), QStringLiteral("old5")}));
    EXPECT_EQ(storedNames().size(), 5);

    // Growing again adds free slots at the end and loses nothing.
    EXPECT_EQ(box->SetMaxSize(7), 5);
    EXPECT_EQ(entries(*box).mid(0, 5), storedHistory());
    EXPECT_TRUE(entries(*box).at(6).isEmpty());
}

TEST(HistoryComboBoxTest, ConfigurationRules)
{
    TempProfile profile;
    CHistoryComboBox box;
    EXPECT_FALSE(box.IsValid());
    EXPECT_EQ(box.SetMaxSize(5), -1);
    EXPECT_FALSE(box.AddToHistory(QStringLiteral("x")));
    EXPECT_FALSE(box.LoadHistory());
    EXPECT_FALSE(box.SaveHistory());

    EXPECT_EQ(box.SetSection(kSection), kSection);
    box.SetEntryFormat(QStringLiteral("Entry"));
    EXPECT_FALSE(box.IsValid());
    box.SetEntryFormat(QStringLiteral("File%d"));
    EXPECT_TRUE(box.IsValid());
    box.SetEntryFormat(QStringLiteral("no number"));

    box.m_bPlainEntries = true;
    EXPECT_EQ(box.SetMaxSize(0), -1);
    EXPECT_EQ(box.SetMaxSize(-4), -1);
    EXPECT_EQ(box.RecentList(), nullptr);
    EXPECT_EQ(box.SetMaxSize(4), 0);
    EXPECT_EQ(box.SetMaxSize(0), -1);
    EXPECT_EQ(box.RecentList()->GetSize(), 4);

    EXPECT_FALSE(box.SetAutoSave(true));
    EXPECT_TRUE(box.SetAutoSave(false));
    EXPECT_FALSE(box.SetAutoRefresh(true));
    EXPECT_TRUE(box.SetAutoRefresh(false));

    box.AddToHistory(QStringLiteral("kept"));
    // Without auto-save nothing is written until asked; the format kept the
    // last one with a number.
    EXPECT_TRUE(GetProfileEntries(kSection).isEmpty());
    EXPECT_TRUE(box.SaveHistory());
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("File1")});

    // A new section takes effect at the next save, with the entries.
    box.SetSection(QStringLiteral("Other"));
    EXPECT_TRUE(box.SaveHistory());
    EXPECT_EQ(GetProfileString(QStringLiteral("Other"), QStringLiteral("File1")), QStringLiteral("kept"));
}

TEST(HistoryComboBoxTest, HistoryOffForWholeRunLeavesProfileUntouched)
{
    TempProfile profile;
    storeHistory({QStringLiteral("alpha"), QStringLiteral("beta")});
    WriteProfileString(kSection, QStringLiteral("9"), QStringLiteral("stray"));
    const QString before = profile.dump();
    {
        auto box = makeKeywordBox();
        box->setEditText(QStringLiteral("typed only"));
    }
    EXPECT_EQ(profile.dump(), before);
}

TEST(HistoryComboBoxTest, SavesOnDestructionWithoutAutoSave)
{
    TempProfile profile;
    {
        auto box = makeKeywordBox();
        box->SetAutoSave(false);
        box->SetMaxSize(16);
        box->LoadHistory();
        box->AddToHistory(QStringLiteral("late"));
        EXPECT_TRUE(storedHistory().isEmpty());
    }
    EXPECT_EQ(storedHistory(), QStringList{QStringLiteral("late")});
}

TEST(HistoryComboBoxTest, DropDownSkipsFreeSlotsAndKeepsTypedText)
{
    TempProfile profile;
    WriteProfileString(kSection, QStringLiteral("1"), QStringLiteral("first"));
    WriteProfileString(kSection, QStringLiteral("3"), QStringLiteral("third"));
    auto box = makeKeywordBox();
    box->SetMaxSize(16);
    box->LoadHistory();
    box->setEditText(QStringLiteral("half typed"));
    box->RefreshDropDown();
    EXPECT_EQ(items(*box), (QStringList{QStringLiteral("first"), QStringLiteral("third")}));
    EXPECT_EQ(box->currentText(), QStringLiteral("half typed"));

    box->AddToHistory(QStringLiteral("second"));
    EXPECT_EQ(items(*box), (QStringList{QStringLiteral("second"), QStringLiteral("first"), QStringLiteral("third")}));
    EXPECT_EQ(box->currentText(), QStringLiteral("half typed"));
}

TEST(HistoryComboBoxTest, ShowLatestWithEmptyHistoryLeavesEditEmpty)
{
    TempProfile profile;
    auto box = makeKeywordBox();
    box->SetMaxSize(16);
    box->LoadHistory();
    box->RefreshDropDown();
    box->setCurrentIndex(0);
    EXPECT_EQ(box->count(), 0);
    EXPECT_TRUE(box->currentText().isEmpty());

    // With a history, selecting item 0 shows the newest keyword.
    storeHistory({QStringLiteral("newest"), QStringLiteral("older")});
    auto second = makeKeywordBox();
    second->SetMaxSize(16);
    second->LoadHistory();
    second->RefreshDropDown();
    second->setCurrentIndex(0);
    EXPECT_EQ(second->currentText(), QStringLiteral("newest"));
}

TEST(HistoryComboBoxTest, SwitchingHistoryOnMidRunKeepsEarlierRunsKeywords)
{
    TempProfile profile;
    storeHistory({QStringLiteral("earlier1"), QStringLiteral("earlier2")});
    // History off at start-up: configured, nothing loaded. Then a search with
    // the history switched on sets the capacity and adds the keywords.
    auto box = makeKeywordBox();
    EXPECT_EQ(box->SetMaxSize(16), 0);
    box->AddToHistory(QStringLiteral("now"));
    EXPECT_EQ(storedHistory(), (QStringList{QStringLiteral("now"), QStringLiteral("earlier1"), QStringLiteral("earlier2")}));

    // Later searches do not read the profile again.
    WriteProfileString(kSection, QStringLiteral("3"), QStringLiteral("foreign"));
    box->AddToHistory(QStringLiteral("then"));
    EXPECT_EQ(storedHistory(), (QStringList{QStringLiteral("then"), QStringLiteral("now"), QStringLiteral("earlier1"),
                                            QStringLiteral("earlier2")}));

    // The same holds when the first addition itself creates the list.
    TempProfile fresh;
    storeHistory({QStringLiteral("kept")});
    auto other = makeKeywordBox();
    other->AddToHistory(QStringLiteral("added"));
    EXPECT_EQ(storedHistory(), (QStringList{QStringLiteral("added"), QStringLiteral("kept")}));
}

TEST(HistoryComboBoxTest, AwkwardKeywordsSurviveTheProfile)
{
    TempProfile profile;
    const QStringList keywords = {QStringLiteral("a, b"), QStringLiteral("@Variant(x)"), QStringLiteral("\"quoted\""),
                                  QStringLiteral("k=v; [sec]"), QStringLiteral("\u65e5\u672c \\ path"),
                                  QString(260, QLatin1Char('z'))};
    {
        auto box = makeKeywordBox();
        box->SetMaxSize(16);
        box->LoadHistory();
        for (const QString &keyword : keywords)
            box->AddToHistory(keyword);
    }
    auto box = makeKeywordBox();
    box->SetMaxSize(16);
    box->LoadHistory();
    QStringList expected = keywords;
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(entries(*box).mid(0, keywords.size()), expected);
}
