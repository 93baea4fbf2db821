#include <tuple>

#include <gtest/gtest.h>

#include "catalogue/EngineEncoding.h"

// The keywords in an engine's charset. Expected bytes come from glibc's
// iconv, not from the ICU the code uses. The places they go (a URL's path,
// its query, a form body) are tested with the query rule, in every charset.

using namespace Qt::StringLiterals;

TEST(EngineEncodingTest, KeywordsArriveInTheCharsetsBytesWithReferencesForWhatItCannotHold)
{
    const QList<std::tuple<QString, QString, QString, QByteArray>> cases = {
        // name as written, canonical name, keywords, form body
        {u"cp1251"_s, u"windows-1251"_s, u"Москва 日"_s, "%CC%EE%F1%EA%E2%E0+%26%2326085%3B"},
        {u"koi8-r"_s, u"KOI8-R"_s, u"Москва"_s, "%ED%CF%D3%CB%D7%C1"},
        {u"sjis"_s, u"Shift_JIS"_s, u"東京 表"_s, "%93%8C%8B%9E+%95%5C"},
        {u"EUC-JP"_s, u"EUC-JP"_s, u"東京"_s, "%C5%EC%B5%FE"},
        {u"csISO2022JP"_s, u"ISO-2022-JP"_s, u"東"_s, "%1B%24BEl%1B%28B"},
        // Browsers send the superset: 똠 is not in KS X 1001, 們 not in GB 2312, € not in Latin-1.
        {u"euc-kr"_s, u"EUC-KR"_s, u"서울 똠"_s, "%BC%AD%BF%EF+%8Cc"},
        {u"GB2312"_s, u"GB2312"_s, u"北京 們"_s, "%B1%B1%BE%A9+%82%83"},
        {u"latin1"_s, u"ISO-8859-1"_s, u"café €"_s, "caf%E9+%80"},
        {u"GB18030"_s, u"GB18030"_s, u"😀"_s, "%949%FC6"},
        {u"big5"_s, u"Big5"_s, u"台北"_s, "%A5x%A5_"},
        {u"utf8"_s, u"UTF-8"_s, u"é*-._~"_s, "%C3%A9*-._%7E"},
        {u"ISO-8859-7"_s, u"ISO-8859-7"_s, u"Ωμέγα ω"_s, "%D9%EC%DD%E3%E1+%F9"},
    };
    for (const auto &[name, canonical, keywords, body] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(CanonicalEncodingName(name), canonical);
        EXPECT_EQ(EscapeKeywordsForForm(EncodeText(keywords, name)), body);
    }
}

TEST(EngineEncodingTest, CharsetsThatWouldChangeTheTemplatesAsciiAreNotSupportedAndSendUtf8)
{
    for (const QString &name : {u""_s, u"bogus"_s, u"UTF-16"_s, u"UTF-16LE"_s, u"UTF-32"_s, u"UTF-7"_s, u"ibm-037"_s,
                                u"IMAP-mailbox-name"_s, u"HZ"_s, u"ISO_2022,locale=ja,version=0"_s, u"Москва"_s,
                                QString(100, u'a')}) {
        EXPECT_EQ(CanonicalEncodingName(name), QString()) << name.toStdString();
        EXPECT_EQ(EncodeText(u"é", name), "\xC3\xA9") << name.toStdString();
    }
    // A lone surrogate is sent as U+FFFD.
    const QString lone = u"a"_s + QChar(0xD800) + u"b"_s;
    EXPECT_EQ(EncodeText(lone, u"UTF-8"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(EncodeText(lone, u"KOI8-R"), "a&#65533;b");
    EXPECT_TRUE(IsUtf8Encoding(u""));
    EXPECT_TRUE(IsUtf8Encoding(u"utf-8"));
    EXPECT_FALSE(IsUtf8Encoding(u"CESU-8"));
}
