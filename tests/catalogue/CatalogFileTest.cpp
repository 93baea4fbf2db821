#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "catalogue/CatalogFile.h"

namespace
{
const QString kError = QStringLiteral("Error!");

class CatalogFileTest : public ::testing::Test
{
protected:
    void SetUp() override { m_catalog.m_szPath = m_dir.filePath(QStringLiteral("Quaerio.CFG")); }

    void write(const QByteArray &bytes)
    {
        QFile file(m_catalog.m_szPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The value; the count returned must agree with it.
    QString read(const char *section, const QString &key, int capacity = kCatalogListCapacity)
    {
        QString buffer = QStringLiteral("left over");
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
        EXPECT_EQ(read("Languages", QStringLiteral("languages"), capacity), QStringLiteral("English ; Deutsch"));
        EXPECT_EQ(read("français", QStringLiteral("WEB"), capacity), QStringLiteral("Qwant"));
        EXPECT_EQ(read("LANGUAGES", QStringLiteral("Empty"), capacity), QString());
        EXPECT_EQ(read("LANGUAGES", QStringLiteral("Absent"), capacity), kError);
        EXPECT_EQ(read("Absent", QStringLiteral("Languages"), capacity), kError);
        EXPECT_EQ(read("S", QStringLiteral("Languages"), capacity), kError);
        EXPECT_EQ(read("S", QStringLiteral("Name"), capacity), name.left(capacity - 1));
        EXPECT_EQ(read("S", QStringLiteral("URL"), capacity), url.left(capacity - 1));
    }
    EXPECT_EQ(read("S", QStringLiteral("Absent"), 4), QStringLiteral("Err"));
    EXPECT_EQ(read("S", QStringLiteral("Name"), 0), QString());
}

TEST_F(CatalogFileTest, Utf8AndUtf16FilesWithAnyLineEndsReadTheSame)
{
    const QString lf = QStringLiteral("[LANGUAGES]\nLanguages=English;日本語\n[CATEGORYS]\n日本語=ウェブ;ニュース\n");
    const QString crlf = QString(lf).replace(u'\n', QStringLiteral("\r\n"));
    QStringEncoder utf16(QStringConverter::Utf16LE);
    const QList<QByteArray> variants = {lf.toUtf8(), crlf.toUtf8(), "\xEF\xBB\xBF" + crlf.toUtf8(),
                                        "\xFF\xFE" + QByteArray(utf16.encode(crlf)), "\xFF\xFE" + QByteArray(utf16.encode(lf))};
    for (const QByteArray &bytes : variants) {
        SCOPED_TRACE(bytes.left(4).toHex().toStdString());
        write(bytes);
        EXPECT_EQ(read("languages", QStringLiteral("LANGUAGES")), QStringLiteral("English;日本語"));
        EXPECT_EQ(read("CATEGORYS", QStringLiteral("日本語")), QStringLiteral("ウェブ;ニュース"));
    }
}

TEST_F(CatalogFileTest, HugeLinesBytesThatAreNotUtf8AndEndlessFilesGiveWhatTheRulesGiveOrTheDefault)
{
    // A 10 MB line, as a value and as a line of its own; bytes that are not UTF-8.
    const QByteArray huge(10 * 1024 * 1024, 'x');
    write("[E]\nURL=" + huge + "\n" + huge + "\n[F]\nBad=\xC3\x28\xFF\xFE\nName=after\n");
    EXPECT_EQ(read("E", QStringLiteral("URL"), kCatalogUrlCapacity), QString(511, u'x'));
    EXPECT_EQ(read("F", QStringLiteral("Name")), QStringLiteral("after"));

    // A file that never ends is not read forever.
    m_catalog.m_szPath = QStringLiteral("/dev/zero");
    if (m_catalog.Exists()) {
        EXPECT_EQ(read("E", QStringLiteral("Name")), kError);
    }
}

TEST(SplitString, CutsAtEverySeparatorKeepsEmptyItemsAndDropsOnlyTheTextAfterALastSeparator)
{
    const QList<std::pair<QString, QStringList>> cases = {
        {QString(), {}},
        {QStringLiteral("English;Deutsch;"), {QStringLiteral("English"), QStringLiteral("Deutsch")}},
        {QStringLiteral(";English"), {QString(), QStringLiteral("English")}},
        {QStringLiteral(" a ;;b;;"), {QStringLiteral(" a "), QString(), QStringLiteral("b"), QString()}},
    };
    for (const auto &[text, expected] : cases) {
        QStringList items{QStringLiteral("kept")};
        SplitString(text, items, u';');
        EXPECT_EQ(items, QStringList{QStringLiteral("kept")} + expected) << qPrintable(text);
    }
}
