#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "catalogue/CatalogFile.h"

namespace
{
class CatalogFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_catalog.m_szPath = m_dir.filePath(QStringLiteral("Quaerio.CFG"));
    }

    void writeBytes(const QByteArray &bytes)
    {
        QFile file(m_catalog.m_szPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    void writeText(const QString &text) { writeBytes(text.toUtf8()); }

    // The value and the count, which must agree with each other.
    QString read(const QString &section, const QString &key, int capacity = kCatalogListCapacity)
    {
        QString buffer = QStringLiteral("left over from an earlier read");
        const int count = m_catalog.ReadString(section, key, buffer, capacity);
        EXPECT_EQ(count, buffer.size()) << qPrintable(section) << "/" << qPrintable(key);
        return buffer;
    }

    QTemporaryDir m_dir;
    CCatalogFile m_catalog;
};

const QString kError = QStringLiteral("Error!");

QString repeated(QChar c, int count)
{
    return QString(count, c);
}
} // namespace

TEST_F(CatalogFileTest, AbsentValuesGiveTheDefaultAndEmptyValuesGiveNothingAtEveryCapacity)
{
    writeText(QStringLiteral("[LANGUAGES]\nLanguages=English;Deutsch\nEmpty=\n[E]\nName=\nURL=https://e.example/?q=*\n"));
    for (const int capacity : {kCatalogListCapacity, kCatalogNameCapacity, kCatalogUrlCapacity}) {
        SCOPED_TRACE(capacity);
        EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"), capacity), QStringLiteral("English;Deutsch"));
        EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Absent"), capacity), kError);
        EXPECT_EQ(read(QStringLiteral("Absent"), QStringLiteral("Languages"), capacity), kError);
        EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Empty"), capacity), QString());
        EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("Name"), capacity), QString());
        // A key of one section is not found in another.
        EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("Languages"), capacity), kError);
    }
}

TEST_F(CatalogFileTest, LongValuesAreCutToOneLessThanTheCapacity)
{
    const QString list = repeated(QLatin1Char('l'), 300);
    const QString name = repeated(QLatin1Char('n'), 64) + QStringLiteral("tail!!");
    const QString url = QStringLiteral("https://u.example/?q=*&") + repeated(QLatin1Char('u'), 600);
    const QString fits = repeated(QLatin1Char('f'), kCatalogListCapacity - 1);
    writeText(QStringLiteral("[S]\nList=%1\nName=%2\nURL=%3\nFits=%4\n").arg(list, name, url, fits));

    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("List"), kCatalogListCapacity), list.left(259));
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("Name"), kCatalogNameCapacity), name.left(63));
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("URL"), kCatalogUrlCapacity), url.left(511));
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("Fits"), kCatalogListCapacity), fits);
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("Fits"), kCatalogListCapacity + 1), fits);

    // The default text obeys the capacity too; a buffer without room delivers nothing.
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("Absent"), 4), QStringLiteral("Err"));
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("List"), 1), QString());
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("List"), 0), QString());
}

TEST_F(CatalogFileTest, NamesMatchWithoutCaseAndTheProfileLayoutRulesHold)
{
    writeText(QStringLiteral(
        "; Languages=FromAComment\n"
        "  [ languages ]  \n"
        "\tLANGUAGES  =   English ; Deutsch  \n"
        "Languages=second occurrence\n"
        "a line without an equals sign\n"
        "[FRANÇAIS]\n"
        "Web=Qwant;Wiki\n"
        "[Quoted]\n"
        "Name=\"  Engine A  \"\n"
        "Half=\"open\n"
        "[Languages]\n"
        "Later=merged\n"));

    // Blanks around names and "=" go, inner blanks of a value stay; comments
    // and lines without "=" are skipped; the first occurrence of a key wins.
    EXPECT_EQ(read(QStringLiteral("Languages"), QStringLiteral("languages")), QStringLiteral("English ; Deutsch"));
    EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("LANGUAGES")), QStringLiteral("English ; Deutsch"));
    EXPECT_EQ(read(QStringLiteral("français"), QStringLiteral("WEB")), QStringLiteral("Qwant;Wiki"));
    // A section that appears twice reads as one.
    EXPECT_EQ(read(QStringLiteral("languages"), QStringLiteral("later")), QStringLiteral("merged"));
    // One pair of matching quotes is removed, with what is inside kept.
    EXPECT_EQ(read(QStringLiteral("Quoted"), QStringLiteral("Name")), QStringLiteral("  Engine A  "));
    EXPECT_EQ(read(QStringLiteral("Quoted"), QStringLiteral("Half")), QStringLiteral("\"open"));
}

TEST_F(CatalogFileTest, EveryReadSeesTheFileAsItIsNow)
{
    writeText(QStringLiteral("[LANGUAGES]\nLanguages=English\n"));
    EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Languages")), QStringLiteral("English"));

    writeText(QStringLiteral("[LANGUAGES]\nLanguages=Deutsch;English\n"));
    EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Languages")), QStringLiteral("Deutsch;English"));

    ASSERT_TRUE(QFile::remove(m_catalog.m_szPath));
    EXPECT_FALSE(m_catalog.Exists());
    EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Languages")), kError);
}

TEST_F(CatalogFileTest, ExistsCountsFilesAndDirectoriesButADirectoryReadsAsAbsent)
{
    CCatalogFile fresh;
    EXPECT_TRUE(fresh.m_szPath.isEmpty());
    EXPECT_FALSE(fresh.Exists());
    QString buffer;
    EXPECT_EQ(fresh.ReadString(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"), buffer, 260), 6);

    EXPECT_FALSE(m_catalog.Exists());
    writeText(QStringLiteral("[A]\nb=c\n"));
    EXPECT_TRUE(m_catalog.Exists());

    CCatalogFile directory;
    directory.m_szPath = m_dir.filePath(QStringLiteral("dir/Quaerio.CFG"));
    ASSERT_TRUE(QDir().mkpath(directory.m_szPath));
    EXPECT_TRUE(directory.Exists());
    EXPECT_EQ(directory.ReadString(QStringLiteral("A"), QStringLiteral("b"), buffer, 260), 6);
    EXPECT_EQ(buffer, kError);
}

TEST_F(CatalogFileTest, Utf8AndUtf16FilesWithAnyLineEndsReadTheSame)
{
    const QString lf = QStringLiteral(
        "[LANGUAGES]\nLanguages=English;日本語;Français\n"
        "[CATEGORYS]\n日本語=ウェブ;ニュース\n"
        "[Yahoo]\nName=Yahoo! JAPAN\nURL=https://search.yahoo.co.jp/search?p=*\n");
    QString crlf = lf;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QString cr = lf;
    cr.replace(QLatin1Char('\n'), QLatin1Char('\r'));

    QStringEncoder utf16(QStringConverter::Utf16LE);
    const QList<std::pair<const char *, QByteArray>> variants = {
        {"UTF-8, LF", lf.toUtf8()},
        {"UTF-8, CRLF", crlf.toUtf8()},
        {"UTF-8, CR", cr.toUtf8()},
        {"UTF-8 with BOM, CRLF", QByteArray("\xEF\xBB\xBF") + crlf.toUtf8()},
        {"UTF-16 LE with BOM, CRLF", QByteArray("\xFF\xFE") + QByteArray(utf16.encode(crlf))},
        {"UTF-16 LE with BOM, LF", QByteArray("\xFF\xFE") + QByteArray(utf16.encode(lf))},
    };
    for (const auto &[label, bytes] : variants) {
        SCOPED_TRACE(label);
        writeBytes(bytes);
        EXPECT_EQ(read(QStringLiteral("LANGUAGES"), QStringLiteral("Languages")), QStringLiteral("English;日本語;Français"));
        EXPECT_EQ(read(QStringLiteral("CATEGORYS"), QStringLiteral("日本語")), QStringLiteral("ウェブ;ニュース"));
        EXPECT_EQ(read(QStringLiteral("yahoo"), QStringLiteral("url"), kCatalogUrlCapacity),
                  QStringLiteral("https://search.yahoo.co.jp/search?p=*"));
    }
}

TEST_F(CatalogFileTest, MalformedFilesGiveWhatTheRulesGiveOrTheDefault)
{
    // A header without "]" opens no section: its keys are nowhere, and the
    // next valid header works again.
    writeText(QStringLiteral("[Broken\nName=lost\n[Good]\nName=found\n"));
    EXPECT_EQ(read(QStringLiteral("Broken"), QStringLiteral("Name")), kError);
    EXPECT_EQ(read(QStringLiteral("Good"), QStringLiteral("Name")), QStringLiteral("found"));

    // A NUL ends the text of its line only.
    static const char withNuls[] = "[E]\nName=abc\0def\nU\0RL=x\nURL=https://e.example/*\n";
    writeBytes(QByteArray(withNuls, sizeof withNuls - 1));
    EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("Name")), QStringLiteral("abc"));
    EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("URL")), QStringLiteral("https://e.example/*"));

    // A 10 MB line, as a value and as a line of its own, around valid lines.
    const QByteArray huge(10 * 1024 * 1024, 'x');
    writeBytes("[E]\nURL=" + huge + "\n" + huge + "\n[F]\nName=after\n");
    EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("URL"), kCatalogUrlCapacity), QString(511, QLatin1Char('x')));
    EXPECT_EQ(read(QStringLiteral("F"), QStringLiteral("Name"), kCatalogNameCapacity), QStringLiteral("after"));

    // Bytes that are not UTF-8 do not hide the valid lines around them, and a
    // UTF-16 file cut in the middle of a character still reads.
    writeBytes(QByteArray("[E]\nBad=\xC3\x28\xFF\xFE\nName=ok\n"));
    EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("Name")), QStringLiteral("ok"));
    static const char cutUtf16[] = "\xFF\xFE[\0E\0]\0\n\0k\0=\0v\0\n";
    writeBytes(QByteArray(cutUtf16, sizeof cutUtf16 - 1));
    EXPECT_EQ(read(QStringLiteral("E"), QStringLiteral("k")), QStringLiteral("v"));

    // Random binary: whatever comes back obeys the capacity and is consistent.
    QRandomGenerator random(20261206);
    for (int round = 0; round < 50; ++round) {
        QByteArray noise(1 + random.bounded(4096), Qt::Uninitialized);
        for (char &byte : noise)
            byte = static_cast<char>(random.bounded(256));
        if (round % 2)
            noise.prepend("\xFF\xFE");
        writeBytes(noise);
        EXPECT_LE(read(QStringLiteral("E"), QStringLiteral("Name"), kCatalogNameCapacity).size(), 63);
    }
}

TEST_F(CatalogFileTest, AFileThatNeverEndsIsNotReadForever)
{
    CCatalogFile endless;
    endless.m_szPath = QStringLiteral("/dev/zero");
    if (!endless.Exists())
        GTEST_SKIP() << "no /dev/zero here";
    QString buffer;
    EXPECT_EQ(endless.ReadString(QStringLiteral("E"), QStringLiteral("Name"), buffer, 64), 6);
    EXPECT_EQ(buffer, kError);
}

TEST(SplitString, CutsAtEverySeparatorKeepsEmptyItemsAndDropsOnlyTheTextAfterALastSeparator)
{
    const QList<std::pair<QString, QStringList>> cases = {
        {QString(), {}},
        {QStringLiteral("English"), {QStringLiteral("English")}},
        {QStringLiteral("English;Deutsch;"), {QStringLiteral("English"), QStringLiteral("Deutsch")}},
        {QStringLiteral(";English"), {QString(), QStringLiteral("English")}},
        {QStringLiteral("a;;b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a;b;;"), {QStringLiteral("a"), QStringLiteral("b"), QString()}},
        {QStringLiteral(";"), {QString()}},
        {QStringLiteral(" a ; b"), {QStringLiteral(" a "), QStringLiteral(" b")}},
    };
    for (const auto &[text, expected] : cases) {
        QStringList items;
        SplitString(text, items, QLatin1Char(';'));
        EXPECT_EQ(items, expected) << qPrintable(text);
    }

    // Pieces are appended to what the list already holds.
    QStringList items{QStringLiteral("kept")};
    SplitString(QStringLiteral("x|y"), items, QLatin1Char('|'));
    EXPECT_EQ(items, (QStringList{QStringLiteral("kept"), QStringLiteral("x"), QStringLiteral("y")}));
}
