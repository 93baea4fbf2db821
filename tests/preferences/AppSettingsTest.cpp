#include <QVariant>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

struct Fields
{
    int preservedPos, preservedKeywords, count, showLatest;
    bool operator==(const Fields &) const = default;
};

Fields fieldsOf(const CAppSettings &settings)
{
    return {settings.m_bPreservedPos, settings.m_bPreservedKeywords, settings.m_nKeywordsHisCount,
            settings.m_bShowLatestKeyword};
}

void PrintTo(const Fields &f, std::ostream *os)
{
    *os << f.preservedPos << "," << f.preservedKeywords << "," << f.count << "," << f.showLatest;
}

void store(int preservedPos, int preservedKeywords, int count, int showLatest)
{
    WriteProfileInt(kSettings, QStringLiteral("PreservedPos"), preservedPos);
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), preservedKeywords);
    WriteProfileInt(kSettings, QStringLiteral("KeywordsHisCount"), count);
    WriteProfileInt(kSettings, QStringLiteral("ShowLatestKeyword"), showLatest);
}

// Records every write to the profile, in order, as "section/entry=value".
class WriteLog final
{
public:
    WriteLog()
    {
        m_previous = SetProfileWriteObserver([this](const QString &section, const QString &entry, const QVariant &value) {
            m_writes.append(section + QLatin1Char('/') + entry + QLatin1Char('=') + value.toString());
        });
    }
    ~WriteLog() { SetProfileWriteObserver(std::move(m_previous)); }
    Q_DISABLE_COPY_MOVE(WriteLog)

    const QStringList &writes() const { return m_writes; }

private:
    QStringList m_writes;
    ProfileWriteObserver m_previous;
};
} // namespace

TEST(AppSettings, TheSharedStoreStartsWithItsInitialValuesAndLivesUntilDestroyed)
{
    CAppSettings *settings = GetAppSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(GetAppSettings(), settings);
    EXPECT_EQ(fieldsOf(*settings), (Fields{0, 1, 16, 0}));
    EXPECT_EQ(settings->m_bChanged, 0);

    settings->m_nKeywordsHisCount = 3;
    DestroyAppSettings();
    EXPECT_EQ(GetAppSettings()->m_nKeywordsHisCount, 16);
    DestroyAppSettings();
}

TEST(AppSettings, LoadOnAnEmptyStoreGivesTheFreshDefaultsAndWritesNothing)
{
    TempProfile profile;
    WriteLog log;
    CAppSettings settings;
    settings.m_bChanged = 1;
    settings.Load();
    EXPECT_EQ(fieldsOf(settings), (Fields{0, 0, 16, 0}));
    EXPECT_EQ(settings.m_bChanged, 1);
    EXPECT_TRUE(log.writes().isEmpty());
    EXPECT_TRUE(profile.dump().isEmpty());
}

TEST(AppSettings, LoadTakesValuesAsStoredAndReadsCountAndShowLatestOnlyWithKeywordsKept)
{
    TempProfile profile;
    CAppSettings settings;

    // Stored 2s are held as 2, not clamped to 1.
    store(2, 2, 5, 2);
    settings.Load();
    EXPECT_EQ(fieldsOf(settings), (Fields{2, 2, 5, 2}));

    // With "PreservedKeywords" 0 the count and show-latest flag keep what
    // memory holds, whatever the store says.
    store(1, 0, 9, 1);
    settings.m_nKeywordsHisCount = 12;
    settings.m_bShowLatestKeyword = 0;
    settings.Load();
    EXPECT_EQ(fieldsOf(settings), (Fields{1, 0, 12, 0}));

    // Kept keywords with the count absent: the count reads as 0.
    ASSERT_TRUE(DeleteProfileSection(kSettings));
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 1);
    settings.Load();
    EXPECT_EQ(fieldsOf(settings), (Fields{0, 1, 0, 0}));
}

TEST(AppSettings, SaveWritesAllFourValuesInOrderOnlyWhenChanged)
{
    TempProfile profile;
    WriteLog log;
    CAppSettings settings;
    settings.m_bPreservedPos = 2;
    settings.m_bPreservedKeywords = 1;
    settings.m_nKeywordsHisCount = 7;
    settings.m_bShowLatestKeyword = -1;

    settings.Save();
    EXPECT_TRUE(log.writes().isEmpty());
    EXPECT_TRUE(profile.dump().isEmpty());

    settings.m_bChanged = 1;
    settings.Save();
    EXPECT_EQ(settings.m_bChanged, 0);
    // Flags are written as 1 only when they equal 1; the count as it is.
    EXPECT_EQ(log.writes(), (QStringList{QStringLiteral("Settings/PreservedPos=0"),
                                         QStringLiteral("Settings/PreservedKeywords=1"),
                                         QStringLiteral("Settings/KeywordsHisCount=7"),
                                         QStringLiteral("Settings/ShowLatestKeyword=0")}));

    // A second save writes every value again, touched or not, and a fresh
    // load gives back what was written.
    settings.m_bShowLatestKeyword = 1;
    settings.m_bChanged = 1;
    settings.Save();
    EXPECT_EQ(log.writes().size(), 8);
    CAppSettings reloaded;
    reloaded.Load();
    EXPECT_EQ(fieldsOf(reloaded), (Fields{0, 1, 7, 1}));
}

TEST(AppSettings, AFailedSaveStillClearsTheChangedFlag)
{
    TempProfile profile;
    ResetRegistryKey(); // no profile root: every write fails
    CAppSettings settings;
    settings.m_bChanged = 1;
    settings.Save();
    EXPECT_EQ(settings.m_bChanged, 0);
    SetRegistryKey(QStringLiteral("Tavistel"));
    EXPECT_TRUE(profile.dump().isEmpty());
}
