#include <QStringList>

#include <gtest/gtest.h>

#include "catalogue/CatalogTokenizer.h"

// What a later edit of the file keeps: every line's number, raw text and
// line end, whatever mixture of line ends the file has.
TEST(CatalogTokenizer, LinesGiveTheTextBackNumberedAsAnEditorCountsThem)
{
    using EKind = SCatalogLine::EKind;
    static constexpr char16_t raw[] = u"; c\r\n[ S ] x\r\rk = 'v' \n[T\nk=w\r\n[U]\nno equals\r\nk\0=x\nk=x\0=y";
    const QString text = QString::fromUtf16(raw, std::size(raw) - 1);
    const QList<std::tuple<EKind, QString, QString, QString>> expected = {
        {EKind::Ignored, QStringLiteral("; c"), QStringLiteral("\r\n"), QString()},
        {EKind::Section, QStringLiteral("[ S ] x"), QStringLiteral("\r"), QStringLiteral("S")},
        {EKind::Ignored, QString(), QStringLiteral("\r"), QString()},
        {EKind::Entry, QStringLiteral("k = 'v' "), QStringLiteral("\n"), QStringLiteral("S/k/v")},
        {EKind::NoSection, QStringLiteral("[T"), QStringLiteral("\n"), QString()},
        {EKind::Ignored, QStringLiteral("k=w"), QStringLiteral("\r\n"), QString()},
        {EKind::Section, QStringLiteral("[U]"), QStringLiteral("\n"), QStringLiteral("U")},
        {EKind::Ignored, QStringLiteral("no equals"), QStringLiteral("\r\n"), QString()},
        // A NUL ends the line's text.
        {EKind::Ignored, QString::fromUtf16(u"k\0=x", 4), QStringLiteral("\n"), QString()},
        {EKind::Entry, QString::fromUtf16(u"k=x\0=y", 6), QString(), QStringLiteral("U/k/x")},
    };
    CCatalogTokenizer tokenizer(text);
    SCatalogLine line;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const auto &[kind, rawLine, lineEnd, meaning] = expected[i];
        ASSERT_TRUE(tokenizer.Next(line)) << i;
        EXPECT_EQ(line.nNumber, i + 1);
        EXPECT_EQ(line.eKind, kind) << i;
        EXPECT_EQ(line.raw, rawLine) << i;
        EXPECT_EQ(line.lineEnd, lineEnd) << i;
        const QString parts = kind == EKind::Entry ? QStringList{line.section.toString(), line.key.toString(), line.value.toString()}.join(u'/')
                                                   : line.section.toString();
        EXPECT_EQ(parts, meaning) << i;
    }
    EXPECT_FALSE(tokenizer.Next(line));
}
