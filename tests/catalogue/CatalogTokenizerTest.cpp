#include <QStringList>

#include <gtest/gtest.h>

#include "catalogue/CatalogTokenizer.h"

using namespace Qt::StringLiterals;

// What a later edit of the file keeps: every line's number, raw text and
// line end, whatever mixture of line ends the file has.
TEST(CatalogTokenizer, LinesGiveTheTextBackNumberedAsAnEditorCountsThem)
{
    using EKind = SCatalogLine::EKind;
    static constexpr char16_t raw[] = u"; c\r\n[ S ] x\r\rk = 'v' \n[T\nk=w\r\n[U]\nno equals\r\nk\0=x\nk=x\0=y";
    const QString text = QString::fromUtf16(raw, std::size(raw) - 1);
    const QList<std::tuple<EKind, QString, QString, QString>> expected = {
        {EKind::Ignored, u"; c"_s, u"\r\n"_s, QString()},
        {EKind::Section, u"[ S ] x"_s, u"\r"_s, u"S"_s},
        {EKind::Ignored, QString(), u"\r"_s, QString()},
        {EKind::Entry, u"k = 'v' "_s, u"\n"_s, u"S/k/v"_s},
        {EKind::NoSection, u"[T"_s, u"\n"_s, QString()},
        {EKind::Ignored, u"k=w"_s, u"\r\n"_s, QString()},
        {EKind::Section, u"[U]"_s, u"\n"_s, u"U"_s},
        {EKind::Ignored, u"no equals"_s, u"\r\n"_s, QString()},
        // A NUL ends the line's text.
        {EKind::Ignored, QString::fromUtf16(u"k\0=x", 4), u"\n"_s, QString()},
        {EKind::Entry, QString::fromUtf16(u"k=x\0=y", 6), QString(), u"U/k/x"_s},
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
