#include <QUrl>

#include <random>
#include <tuple>

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include "catalogue/EngineEncoding.h"

// The keywords in an engine's charset and the three places they go: a URL's
// path, its query, a form body. Expected bytes come from glibc's iconv, not
// from the ICU the code uses.

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

TEST(EngineEncodingTest, EveryCanonicalNameNamesItselfAndTheSameConverter)
{
    // Over every converter ICU has, and each alias: what the catalogue
    // stores must read back as the same charset.
    for (int32_t i = 0; i < ucnv_countAvailable(); ++i) {
        const char *converter = ucnv_getAvailableName(i);
        UErrorCode error = U_ZERO_ERROR;
        for (uint16_t a = 0; a < ucnv_countAliases(converter, &error); ++a) {
            const QString alias = QString::fromLatin1(ucnv_getAlias(converter, a, &error));
            const QString canonical = CanonicalEncodingName(alias);
            if (canonical.isEmpty())
                continue;
            SCOPED_TRACE(alias.toStdString());
            EXPECT_EQ(CanonicalEncodingName(canonical), canonical);
            const QString sample = u"Aé€Жω日한😀"_s;
            EXPECT_EQ(EncodeText(sample, canonical), EncodeText(sample, alias));
        }
    }
}

TEST(EngineEncodingTest, TheUsualListStartsWithUtf8AndHoldsTheWidelyUsedCharsets)
{
    const QStringList usual = UsualEncodings();
    ASSERT_FALSE(usual.isEmpty());
    EXPECT_EQ(usual.first(), u"UTF-8");
    QStringList expected = {u"windows-1251"_s, u"KOI8-R"_s, u"Shift_JIS"_s, u"EUC-JP"_s, u"ISO-2022-JP"_s, u"EUC-KR"_s,
                            u"GB18030"_s, u"GBK"_s, u"GB2312"_s, u"Big5"_s};
    for (int n = 1; n <= 15; ++n) {
        if (n != 12)
            expected.append(u"ISO-8859-"_s + QString::number(n));
    }
    for (int n = 1250; n <= 1258; ++n)
        expected.append(u"windows-"_s + QString::number(n));
    for (const QString &name : expected)
        EXPECT_TRUE(usual.contains(name)) << name.toStdString();
    for (const QString &name : usual)
        EXPECT_EQ(usual.count(name), 1) << name.toStdString();
}

TEST(EngineEncodingTest, Utf8KeywordsAreEscapedAsTheQueryRuleAlwaysHas)
{
    const auto utf8 = [](const QString &text) { return text.toUtf8(); };
    EXPECT_EQ(EscapeKeywordsForQuery(utf8(u"C# 100% caf\u00e9 \u5317"_s), true), u"C%23 100%25 caf\u00e9 \u5317"_s);
    EXPECT_EQ(EscapeKeywordsForQuery(utf8(u"a;b+c&d %41 x/y?"_s), true), u"a%3Bb%2Bc%26d %2541 x/y?"_s);
    EXPECT_EQ(EscapeKeywordsForPath(utf8(u"AC/DC what? #1 100% a\\b"_s), true), u"AC%2FDC what%3F %231 100%25 a%5Cb"_s);
    EXPECT_EQ(EscapeKeywordsForPath(utf8(u"a+b\tc\u007f\u00e9;&"_s), true), u"a+b%09c%7F\u00e9;&"_s);
    // In other charsets every byte above 0x7F is escaped, and an ASCII byte
    // inside a character is escaped as that ASCII character would be.
    EXPECT_EQ(EscapeKeywordsForPath(EncodeText(u"表 é", u"Shift_JIS"), false), u"%95%5C &%23233;"_s);
    EXPECT_EQ(EscapeKeywordsForQuery(EncodeText(u"表 é", u"Shift_JIS"), false), u"%95\\ %26%23233%3B"_s);
}

namespace
{
// Random keywords: ASCII that matters to URLs, letters of the scripts the
// usual charsets hold, and anything else of any plane. Surrogate halves and
// noncharacters are no keywords a text box delivers.
class CRandomKeywords final
{
public:
    QString Next()
    {
        QString text;
        for (int length = Draw(12); length > 0; --length) {
            char32_t code = Character();
            if ((code >= 0xD800 && code <= 0xDFFF) || (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE)
                code = u'?';
            text += QString::fromUcs4(&code, 1);
        }
        return text;
    }

private:
    int Draw(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    char32_t Character()
    {
        static const QString special = u"*%&#+;/?\\=: .\t~"_s;
        static constexpr std::pair<char32_t, char32_t> kScripts[] = {
            {0x20, 0x7E},     {0xA0, 0x24F},    {0x370, 0x3FF},   {0x400, 0x4FF},   {0x5D0, 0x5EA}, {0x620, 0x64A},
            {0xE01, 0xE5B},   {0x1EA0, 0x1EF9}, {0x3040, 0x30FF}, {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3},
            {0x1F600, 0x1F64F}, {0, 0x10FFFF},
        };
        const int pick = Draw(int(std::size(kScripts)) + 1);
        if (pick == int(std::size(kScripts)))
            return special.at(Draw(int(special.size()))).unicode();
        const auto [first, last] = kScripts[pick];
        return first + char32_t(Draw(int(last - first + 1)));
    }

    std::mt19937 m_random{20261219};
};

// `decoded` is `typed` with each character the charset cannot hold as "&#N;".
void ExpectTypedOrReferenced(const QString &typed, const QString &decoded)
{
    qsizetype at = 0;
    for (const char32_t code : typed.toUcs4()) {
        const QString itself = QString::fromUcs4(&code, 1);
        const QString reference = u"&#"_s + QString::number(code) + u';';
        if (decoded.mid(at).startsWith(itself))
            at += itself.size();
        else if (decoded.mid(at).startsWith(reference))
            at += reference.size();
        else
            FAIL() << "at " << at << " of " << decoded.toStdString();
    }
    EXPECT_EQ(at, decoded.size()) << decoded.toStdString();
}

// The keywords' slot in a path, a query and a form body: each stays one
// segment, value or field of a strictly valid URL or body, and gives the
// bytes back.
void ExpectBytesInEverySlot(const QByteArray &bytes, bool utf8)
{
    const QString path = EscapeKeywordsForPath(bytes, utf8);
    const QUrl inPath(u"http://e.test/p/"_s + path + u"/x"_s, QUrl::TolerantMode);
    const QByteArray pathWire = inPath.toEncoded();
    ASSERT_TRUE(QUrl::fromEncoded(pathWire, QUrl::StrictMode).isValid()) << pathWire.constData();
    const QList<QByteArray> segments = inPath.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).split('/');
    ASSERT_EQ(segments.size(), 4) << pathWire.constData();
    EXPECT_FALSE(inPath.hasQuery() || inPath.hasFragment()) << pathWire.constData();
    EXPECT_EQ(QByteArray::fromPercentEncoding(segments.at(2)), bytes) << pathWire.constData();

    const QString query = EscapeKeywordsForQuery(bytes, utf8);
    const QUrl inQuery(u"http://e.test/s?a="_s + query + u"&b=2"_s, QUrl::TolerantMode);
    const QByteArray queryWire = inQuery.toEncoded();
    ASSERT_TRUE(QUrl::fromEncoded(queryWire, QUrl::StrictMode).isValid()) << queryWire.constData();
    EXPECT_FALSE(inQuery.hasFragment()) << queryWire.constData();
    const QByteArray value = inQuery.query(QUrl::FullyEncoded).toLatin1().chopped(4).mid(2);
    for (const char separator : QByteArray("&#;+"))
        EXPECT_FALSE(value.contains(separator)) << queryWire.constData();
    EXPECT_EQ(QByteArray::fromPercentEncoding(value), bytes) << queryWire.constData();

    QByteArray body = EscapeKeywordsForForm(bytes);
    for (const char c : body)
        EXPECT_TRUE(QByteArrayView("*-._+%").contains(c) || (QChar::isLetterOrNumber(c) && c > 0)) << body.constData();
    EXPECT_EQ(QByteArray::fromPercentEncoding(body.replace('+', ' ')), bytes) << body.constData();
}
} // namespace

TEST(EngineEncodingTest, RandomKeywordsDecodeBackFromEverySlotInEveryUsualCharset)
{
    CRandomKeywords random;
    for (const QString &encoding : UsualEncodings()) {
        SCOPED_TRACE(encoding.toStdString());
        for (int i = 0; i < 150; ++i) {
            const QString keywords = random.Next();
            SCOPED_TRACE(keywords.toStdString());
            const QByteArray bytes = EncodeText(keywords, encoding);
            ASSERT_NO_FATAL_FAILURE(ExpectTypedOrReferenced(keywords, DecodeText(bytes, encoding)));
            ASSERT_NO_FATAL_FAILURE(ExpectBytesInEverySlot(bytes, IsUtf8Encoding(encoding)));
        }
    }
}
