#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "catalogue/CatalogChecker.h"

using namespace Qt::StringLiterals;

namespace
{
class CatalogCheckerTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(u"Quaerio.CFG"_s); }

    void write(const QByteArray &bytes)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The problems as "LINE: message", the line left out where none applies.
    QStringList check(CCatalogChecker::EResult expected)
    {
        CCatalogChecker checker(path());
        EXPECT_EQ(checker.Check(), expected);
        QStringList lines = checker.FormatProblems();
        for (QString &line : lines)
            line.remove(0, path().size() + 1).remove(0, line.startsWith(u' ') ? 1 : 0);
        return lines;
    }

    QTemporaryDir m_dir;
};

// A catalogue whose engines E0 and E1 are sound, to build broken ones on.
QByteArray sound(const QByteArray &more = {})
{
    return "[LANGUAGES]\nLanguages=English\n" "[CATEGORYS]\nEnglish=Web\n" "[English]\nWeb=E0;E1\n"
           "[E0]\nName=Engine 0\nURL=https://a.example/?q=*\n"
           "[E1]\nName=Engine 1\nURL=http://b.example/*\n"
           + more;
}
} // namespace

TEST_F(CatalogCheckerTest, TheShippedCatalogueIsClean)
{
    CCatalogChecker checker(QStringLiteral(QUAERIO_SHIPPED_CATALOGUE));
    EXPECT_EQ(checker.Check(), CCatalogChecker::EResult::Clean) << qPrintable(checker.FormatProblems().join(u'\n'));
}

TEST_F(CatalogCheckerTest, EveryBrokenLinkOfTheTreeIsReportedOnItsLine)
{
    write("; comment\r\n" "[LANGUAGES]\r\n"                                       // 2
          "Languages=English;Deutsch;;Empty;NoCats\r\n"           // 3
          "[CATEGORYS]\r\n"                                       // 4
          "English=Web;News;Lost\r\n"                             // 5
          "Deutsch=Web\r\n"                                       // 6
          "Empty=\r\n"                                            // 7
          "[english]\r\n"                                         // 8
          "Web=E0;E1;e0;Gone;Twin;NoName;NoUrl;Ftp;Plain\r\n"     // 9
          "News=\r\n"                                             // 10
          "[Deutsch]\r\n"                                         // 11
          "Web=Gone;Plain\r\n"                                    // 12
          "[E0]\r\nName=Engine 0\r\nURL=https://a.example/?q=*\r\n" // 13-15
          "[E1]\r\nName=Engine 1\r\nURL=file:///b/*\r\n"          // 16-18
          "[Twin]\r\nName=Engine 0\r\nURL=HTTP://twin/*\r\n"      // 19-21
          "[NoName]\r\nURL=https://c/*\r\n"                       // 22-23
          "[NoUrl]\r\nName=Engine 2\r\nURL=\r\n"                  // 24-26
          "[Ftp]\r\nName=Ftp\r\nURL=ftp://d/*\r\n"                // 27-29
          "[Plain]\r\nName=Plain\r\nURL=https://e/\r\n"            // 30-32
          "[E0]\r\nURL=ftp://later\r\nName=\r\n");                 // 33-35: the first of a key wins
    EXPECT_EQ(check(CCatalogChecker::EResult::Problems), QStringList({
                  u"3: the language list has an empty item"_s,
                  u"3: language \"NoCats\" has no categories: [CATEGORYS] has no key \"NoCats\""_s,
                  u"5: category \"Lost\" of language \"English\" has no engine list: [English] has no key \"Lost\""_s,
                  u"7: language \"Empty\" has no categories: its list is empty"_s,
                  u"9: engine \"e0\" is listed twice in category \"Web\" of language \"English\""_s,
                  u"9: engine \"Gone\" is listed, but there is no section [Gone]"_s,
                  u"9: engines \"E0\" and \"Twin\" in category \"Web\" of language \"English\" are both shown as \"Engine 0\""_s,
                  u"10: category \"News\" of language \"English\" has an empty engine list"_s,
                  u"12: engine \"Gone\" is listed, but there is no section [Gone]"_s,
                  u"22: [NoName] has no Name"_s,
                  u"26: [NoUrl] has an empty URL"_s,
                  u"29: the URL of [Ftp] is not an http, https or file address"_s,
                  u"32: the URL of [Plain] has no \"*\" where the keywords go"_s,
              }));
}

TEST_F(CatalogCheckerTest, EncodingMethodAndPostDataAreCheckedWhereGiven)
{
    write("[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Web\n"
          "[English]\nWeb=Sjis;Form;Klingon;NoData;Starless;Stray;Put\n"  // 6
          "[Sjis]\nName=Sjis\nURL=https://s/?q=*\nEncoding=sjis\nMethod=get\n" // 7-11
          "[Form]\nName=Form\nURL=https://f/search\nMethod=POST\nPostData=q=*&x=1\nEncoding=windows-1251\n" // 12-17
          "[Klingon]\nName=Klingon\nURL=https://k/?q=*\nEncoding=tlhIngan\n" // 18-21
          "[NoData]\nName=NoData\nURL=https://n/\nMethod=post\nPostData=\n"   // 22-26
          "[Starless]\nName=Starless\nURL=https://s/\nMethod=POST\nPostData=q=1\n" // 27-31
          "[Stray]\nName=Stray\nURL=https://t/?q=*\nPostData=q=*\n"         // 32-35
          "[Put]\nName=Put\nURL=https://p/\nMethod=PUT\nPostData=q=*\n");   // 36-40
    EXPECT_EQ(check(CCatalogChecker::EResult::Problems), QStringList({
                  u"21: the Encoding of [Klingon] is \"tlhIngan\", not a charset the program can send keywords in"_s,
                  u"25: [NoData] is a POST engine without PostData"_s,
                  u"31: the PostData of [Starless] has no \"*\" where the keywords go"_s,
                  u"35: [Stray] has PostData, which only a POST engine sends (Method=POST)"_s,
                  u"38: the URL of [Put] has no \"*\" where the keywords go"_s,
                  u"39: the Method of [Put] is \"PUT\"; it must be GET or POST"_s,
              }));
}

TEST_F(CatalogCheckerTest, ValuesUpToTheirCapacityPassAndLongerOnesAreReportedAsCut)
{
    const auto catalogue = [](int list, int name, int url) -> QByteArray {
        const QByteArray engines = "E0;" + QByteArray(list - 3, 'x');
        return "[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Web\n[English]\nWeb=" + engines + "\n"
               + "[E0]\nName=" + QByteArray(name, 'n') + "\nURL=https://a/*" + QByteArray(url - 11, 'u') + "\n"
               + "[" + QByteArray(list - 3, 'x') + "]\nName=x\nURL=https://x/*\n";
    };
    write(catalogue(259, 63, 511));
    EXPECT_EQ(check(CCatalogChecker::EResult::Clean), QStringList());

    write(catalogue(260, 64, 512));
    // The cut list names an engine one letter short, whose section is missing.
    EXPECT_EQ(check(CCatalogChecker::EResult::Problems), QStringList({
                  u"6: the value of Web in [English] is 260 characters long; the program reads only the first 259"_s,
                  u"6: engine \"%1\" is listed, but there is no section [%1]"_s.arg(QString(256, u'x')),
                  u"8: the value of Name in [E0] is 64 characters long; the program reads only the first 63"_s,
                  u"9: the value of URL in [E0] is 512 characters long; the program reads only the first 511"_s,
              }));
}

TEST_F(CatalogCheckerTest, ACutThatWouldSplitASurrogatePairIsTheReadersCut)
{
    // Two names that differ only in their 63rd and 64th characters, a pair
    // the cut to 63 would split: the program shows both as the 62 letters.
    const QString letters(62, u'n');
    write((u"[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Web\n[English]\nWeb=A;B\n"
           u"[A]\nName=" + letters + u"\U0001F600"_s + u"\nURL=https://a/*\n"
           u"[B]\nName=" + letters + u"\U00020000"_s + u"\nURL=https://b/*\n").toUtf8());
    CCatalogFile reader;
    reader.m_szPath = path();
    QString shown;
    reader.ReadString(u"A"_s, u"Name"_s, shown, kCatalogNameCapacity);
    EXPECT_EQ(check(CCatalogChecker::EResult::Problems), QStringList({
                  u"6: engines \"A\" and \"B\" in category \"Web\" of language \"English\" are both shown as \"%1\""_s.arg(shown),
                  u"8: the value of Name in [A] is 64 characters long; the program reads only the first 62"_s,
                  u"11: the value of Name in [B] is 64 characters long; the program reads only the first 62"_s,
              }));
}

TEST_F(CatalogCheckerTest, UnicodeWithAByteOrderMarkPassesAndOtherEncodingsAreOneProblem)
{
    const QString text = QString::fromUtf8(sound("; Français, 日本語\n"));
    QStringEncoder utf16(QStringConverter::Utf16LE), bigEndian(QStringConverter::Utf16BE);
    const QByteArray littleEndian = utf16.encode(text);
    const QList<std::pair<QByteArray, const char16_t *>> cases = {
        {"\xFF\xFE" + littleEndian, nullptr},
        {"\xEF\xBB\xBF" + text.toUtf8(), nullptr},
        // Latin-1: the reader goes on with U+FFFD, and so does the checker.
        {sound("; Fran\xE7" "ais\n"), u"13: the file is neither UTF-8 nor UTF-16 with a byte-order mark"},
        {"\xFF\xFE" + littleEndian + "x", u"the file starts with a UTF-16 byte-order mark but is not valid UTF-16"},
        // UTF-16 the reader cannot read at all gives one problem, not one per value.
        {"\xFE\xFF" + QByteArray(bigEndian.encode(text)), u"the file is UTF-16 big-endian"},
        {littleEndian, u"1: the file holds NUL bytes"},
        {{}, u"there is no language list (key Languages in [LANGUAGES])"},
    };
    for (const auto &[bytes, problem] : cases) {
        write(bytes);
        const QStringList problems = check(problem ? CCatalogChecker::EResult::Problems : CCatalogChecker::EResult::Clean);
        ASSERT_EQ(problems.size(), problem ? 1 : 0) << qPrintable(problems.join(u'\n'));
        if (problem) {
            EXPECT_TRUE(problems[0].startsWith(QString::fromUtf16(problem))) << qPrintable(problems[0]);
        }
    }
}
