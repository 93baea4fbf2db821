#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "catalogue/CatalogFile.h"

using namespace Qt::StringLiterals;

namespace
{
const QString kError = u"Error!"_s;

class CatalogFileTest : public ::testing::Test
{
protected:
    void SetUp() override { m_catalog.m_szPath = m_dir.filePath(u"Quaerio.CFG"_s); }

    void write(const QByteArray &bytes)
    {
        QFile file(m_catalog.m_szPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The value; the count returned must agree with it.
    QString read(const char *section, const QString &key, int capacity = kCatalogListCapacity)
    {
        QString buffer = u"left over"_s;
        const int count = m_catalog.ReadString(QString::fromUtf8(section), key, buffer, capacity);
        EXPECT_EQ(count, buffer.size()) << section << "/" << qPrintable(key);
        return buffer;
    }

    QTemporaryDir m_dir;
    CCatalogFile m_catalog;
};
} // namespace

TEST_F(CatalogFileTest, ValuesAtEveryCapacityWithNamesMatchedWithoutCase)
{
    const QString name = QString(70, u'n'), url = QString(600, u'u');
    write(QStringLiteral("; Languages=FromAComment\n  [ languages ]  \n\tLANGUAGES  =   English ; Deutsch  \n"
                         "Languages=second\nEmpty=\nno equals sign\n[FRANÇAIS]\nWeb=Qwant\n[S]\nName=%1\nURL=%2\n")
              .arg(name, url).toUtf8());
    for (const int capacity : {kCatalogListCapacity, kCatalogNameCapacity, kCatalogUrlCapacity}) {
        SCOPED_TRACE(capacity);
        // Blanks around names and "=" go, inner ones stay; the first occurrence wins.
        EXPECT_EQ(read("Languages", u"languages"_s, capacity), u"English ; Deutsch"_s);
        EXPECT_EQ(read("français", u"WEB"_s, capacity), u"Qwant"_s);
        EXPECT_EQ(read("LANGUAGES", u"Empty"_s, capacity), QString());
        EXPECT_EQ(read("LANGUAGES", u"Absent"_s, capacity), kError);
        EXPECT_EQ(read("Absent", u"Languages"_s, capacity), kError);
        EXPECT_EQ(read("S", u"Languages"_s, capacity), kError);
        EXPECT_EQ(read("S", u"Name"_s, capacity), name.left(capacity - 1));
        EXPECT_EQ(read("S", u"URL"_s, capacity), url.left(capacity - 1));
    }
    EXPECT_EQ(read("S", u"Absent"_s, 4), u"Err"_s);
    EXPECT_EQ(read("S", u"Name"_s, 0), QString());
}

TEST_F(CatalogFileTest, EveryReadSeesTheFileAsItIsNowAndADirectoryExistsButReadsAsAbsent)
{
    EXPECT_FALSE(m_catalog.Exists());
    write("[LANGUAGES]\nLanguages=English\n");
    EXPECT_TRUE(m_catalog.Exists());
    EXPECT_EQ(read("LANGUAGES", u"Languages"_s), u"English"_s);
    write("[LANGUAGES]\nLanguages=Deutsch;English\n");
    EXPECT_EQ(read("LANGUAGES", u"Languages"_s), u"Deutsch;English"_s);
    ASSERT_TRUE(QFile::remove(m_catalog.m_szPath));
    EXPECT_EQ(read("LANGUAGES", u"Languages"_s), kError);

    ASSERT_TRUE(QDir().mkpath(m_catalog.m_szPath));
    EXPECT_TRUE(m_catalog.Exists());
    EXPECT_EQ(read("LANGUAGES", u"Languages"_s), kError);
}

TEST_F(CatalogFileTest, Utf8AndUtf16FilesWithAnyLineEndsReadTheSame)
{
    const QString lf = u"[LANGUAGES]\nLanguages=English;日本語\n[CATEGORYS]\n日本語=ウェブ;ニュース\n"_s;
    const QString crlf = QString(lf).replace(u'\n', u"\r\n"_s);
    QStringEncoder utf16(QStringConverter::Utf16LE);
    const QList<QByteArray> variants = {lf.toUtf8(), crlf.toUtf8(), "\xEF\xBB\xBF" + crlf.toUtf8(),
                                        "\xFF\xFE" + QByteArray(utf16.encode(crlf)), "\xFF\xFE" + QByteArray(utf16.encode(lf))};
    for (const QByteArray &bytes : variants) {
        SCOPED_TRACE(bytes.left(4).toHex().toStdString());
        write(bytes);
        EXPECT_EQ(read("languages", u"LANGUAGES"_s), u"English;日本語"_s);
        EXPECT_EQ(read("CATEGORYS", u"日本語"_s), u"ウェブ;ニュース"_s);
    }
}

TEST_F(CatalogFileTest, HugeLinesBytesThatAreNotUtf8AndEndlessFilesGiveWhatTheRulesGiveOrTheDefault)
{
    // A 10 MB line, as a value and as a line of its own; bytes that are not UTF-8.
    const QByteArray huge(10 * 1024 * 1024, 'x');
    write("[E]\nURL=" + huge + "\n" + huge + "\n[F]\nBad=\xC3\x28\xFF\xFE\nName=after\n");
    EXPECT_EQ(read("E", u"URL"_s, kCatalogUrlCapacity), QString(511, u'x'));
    EXPECT_EQ(read("F", u"Name"_s), u"after"_s);

    // A file that never ends is not read forever.
    m_catalog.m_szPath = u"/dev/zero"_s;
    if (m_catalog.Exists()) {
        EXPECT_EQ(read("E", u"Name"_s), kError);
    }
}

TEST(SplitString, CutsAtEverySeparatorKeepsEmptyItemsAndDropsOnlyTheTextAfterALastSeparator)
{
    const QList<std::pair<QString, QStringList>> cases = {
        {QString(), {}},
        {u"English;Deutsch;"_s, {u"English"_s, u"Deutsch"_s}},
        {u";English"_s, {QString(), u"English"_s}},
        {u" a ;;b;;"_s, {u" a "_s, QString(), u"b"_s, QString()}},
    };
    for (const auto &[text, expected] : cases) {
        QStringList items{u"kept"_s};
        SplitString(text, items, u';');
        EXPECT_EQ(items, QStringList{u"kept"_s} + expected) << qPrintable(text);
    }
}
