#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "catalogue/CatalogChecker.h"
#include "catalogue/CatalogDocument.h"
#include "catalogue/CatalogEditor.h"
#include "catalogue/CatalogFile.h"

using namespace Qt::StringLiterals;

namespace
{
// Lines joined with CRLF, as a catalogue saved on Windows has them.
QString crlf(std::initializer_list<const char16_t *> lines)
{
    QString text;
    for (const char16_t *line : lines)
        text += QString::fromUtf16(line) + u"\r\n";
    return text;
}

QByteArray encoded(const QString &text, const QByteArray &mark, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding);
    return mark + QByteArray(encoder.encode(text));
}

QString read(const QString &path, const QString &section, const QString &key)
{
    CCatalogFile reader;
    reader.m_szPath = path;
    QString value;
    reader.ReadString(section, key, value, kCatalogUrlCapacity);
    return value;
}
} // namespace

// A catalogue with comments, blanks around "=", a quoted value and a section
// in two parts, edited at every level: the result is the text below to the
// byte in each encoding, reads back as meant and checks clean.
TEST(CatalogDocumentTest, EditsChangeOnlyTheirLinesInEveryEncodingAndReadBack)
{
    const QString before = crlf({
        u"; Engines of my own",
        u"[LANGUAGES]",
        u"Languages = English;Deutsch",
        u"",
        u"[CATEGORYS]",
        u"English=Web;News",
        u"Deutsch=Netz",
        u"",
        u"[English]",
        u"Web=A;B",
        u"News=B",
        u"[Deutsch]",
        u"Netz=A",
        u"",
        u"; engine A",
        u"[A]",
        u"Name=Alpha",
        u"URL=https://a.example/?q=*",
        u"",
        u"[B]",
        u"Name=\"  Beta  \"",
        u"URL=https://b.example/?q=*",
        u"",
        u"; a later part of [English]",
        u"[english]",
        u"Web=Z",
    });
    const QString after = crlf({
        u"; Engines of my own",
        u"[LANGUAGES]",
        u"Languages = English;German;日本語",
        u"",
        u"[CATEGORYS]",
        u"English=Web;Headlines",
        u"German=Netz",
        u"日本語=ウェブ",
        u"",
        u"[English]",
        u"Web=B",
        u"Headlines=B",
        u"[German]",
        u"Netz=Gamma",
        u"",
        u"[B]",
        u"Name=\"  Beta  \"",
        u"URL=https://b.example/?q=*",
        u"",
        u"; a later part of [English]",
        u"[english]",
        u"Web=Z",
        u"",
        u"[Gamma]",
        u"Name=\"'Gamma'\"",
        u"URL=https://g.example/search?x=*",
        u"Encoding=windows-1251",
        u"Method=POST",
        u"PostData=q=*",
        u"",
        u"[日本語]",
        u"ウェブ=B",
    });
    const SEngineDescription gamma{u"'Gamma'"_s, u"https://g.example/search?x=*"_s, u"windows-1251"_s,
                                   EEngineMethod::Post, u"q=*"_s};

    const QList<std::pair<QByteArray, QStringConverter::Encoding>> encodings = {
        {{}, QStringConverter::Utf8}, {"\xEF\xBB\xBF", QStringConverter::Utf8}, {"\xFF\xFE", QStringConverter::Utf16LE}};
    for (const auto &[mark, encoding] : encodings) {
        CCatalogDocument document;
        ASSERT_TRUE(document.SetBytes(encoded(before, mark, encoding)));
        CCatalogEditor editor(document);
        EXPECT_EQ(editor.Move({0, 0, 1}, 0), QString());
        EXPECT_EQ(editor.Rename({0, 1, -1}, u"Headlines"_s), QString());
        QString section;
        EXPECT_EQ(editor.AddEngine(1, 0, gamma, &section), QString());
        EXPECT_EQ(section, u"Gamma"_s);
        EXPECT_EQ(editor.Remove({1, 0, 0}), QString()); // A stays: English lists it
        EXPECT_EQ(editor.Remove({0, 0, 1}), QString()); // now A goes, with its comment
        EXPECT_EQ(editor.Rename({1, -1, -1}, u"German"_s), QString());
        EXPECT_EQ(editor.AddLanguage(u"日本語"_s), QString());
        EXPECT_EQ(editor.AddCategory(2, u"ウェブ"_s), QString());
        EXPECT_EQ(editor.ListEngine(2, 0, u"B"_s), QString());
        EXPECT_EQ(editor.Engine(u"gamma"_s), gamma);
        EXPECT_EQ(document.Bytes(), encoded(after, mark, encoding)) << "mark " << mark.toHex().constData();

        QTemporaryDir dir;
        const QString path = dir.filePath(u"new/Quaerio.CFG"_s);
        ASSERT_TRUE(document.Save(path));
        EXPECT_EQ(read(path, u"english"_s, u"Web"_s), u"B"_s);
        EXPECT_EQ(read(path, u"B"_s, u"Name"_s), u"  Beta  "_s);
        EXPECT_EQ(read(path, u"Gamma"_s, u"Name"_s), u"'Gamma'"_s);
        CCatalogChecker checker(path);
        EXPECT_EQ(checker.Check(), CCatalogChecker::EResult::Clean) << qPrintable(checker.FormatProblems().join(u'\n'));
    }
}

TEST(CatalogDocumentTest, RemovingALanguageTakesAllItsPartsAndTheEnginesOnlyItListed)
{
    CCatalogDocument document;
    ASSERT_TRUE(document.SetBytes("[LANGUAGES]\nLanguages=English;Deutsch\n[CATEGORYS]\nEnglish=Web\nDeutsch=Web\n"
                                  "[Deutsch]\nWeb=Shared;Own\n\n[Shared]\nName=S\nURL=http://s/*\n\n"
                                  "; mine\n[Own]\nName=O\nURL=http://o/*\n\n[English]\nWeb=Shared\n\n"
                                  "[deutsch]\nWeb=Late\n"));
    CCatalogEditor editor(document);
    EXPECT_EQ(editor.Remove({1, -1, -1}), QString());
    EXPECT_EQ(document.Bytes().toStdString(), "[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Web\n"
                                "\n[Shared]\nName=S\nURL=http://s/*\n\n[English]\nWeb=Shared\n");
}

TEST(CatalogDocumentTest, WhatWouldNotReadBackIsRefusedAndChangesNothing)
{
    const QByteArray sound = "[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Web\n[English]\nWeb=E0\n"
                             "[E0]\nName=Engine 0\nURL=https://a.example/?q=*\n";
    const auto engine = [](const QString &name, const QString &url = u"https://n.example/?q=*"_s) {
        return SEngineDescription{name, url, {}, EEngineMethod::Get, {}};
    };
    // "English;" is 8 characters: 251 more fill the list to 259.
    const QList<std::pair<std::function<QString(CCatalogEditor &)>, QString>> cases = {
        {[](CCatalogEditor &e) { return e.AddLanguage(u"english"_s); }, u"there is a language \"english\" already"_s},
        {[](CCatalogEditor &e) { return e.AddLanguage(u"A;B"_s); }, u"a name cannot hold"_s},
        {[](CCatalogEditor &e) { return e.Rename({0, 0, -1}, u" Web"_s); }, u"a name cannot begin or end with a blank"_s},
        {[](CCatalogEditor &e) { return e.AddLanguage(u"e0"_s); }, u"the catalogue has a section [e0] already"_s},
        {[](CCatalogEditor &e) { return e.AddLanguage(QString(251, u'x')); }, {}},
        {[](CCatalogEditor &e) { return e.AddLanguage(QString(252, u'x')); },
         u"the language list would be 260 characters long; the program reads only 259"_s},
        {[&](CCatalogEditor &e) { return e.AddEngine(0, 0, engine(QString(63, u'n'))); }, {}},
        {[&](CCatalogEditor &e) { return e.AddEngine(0, 0, engine(QString(64, u'n'))); },
         u"is 64 characters long; the program reads only the first 63"_s},
        {[&](CCatalogEditor &e) { return e.AddEngine(0, 0, engine(u"N"_s, u"https://n/*"_s + QString(500, u'u'))); }, {}},
        {[&](CCatalogEditor &e) { return e.AddEngine(0, 0, engine(u"N"_s, u"https://n/*"_s + QString(501, u'u'))); },
         u"is 512 characters long; the program reads only the first 511"_s},
        {[&](CCatalogEditor &e) { return e.AddEngine(0, 0, engine(u"N\nURL=x"_s)); }, u"a value cannot hold a line break"_s},
        {[&](CCatalogEditor &e) { return e.AddEngine(0, 0, engine(u"Engine 0"_s)); },
         u"category \"Web\" of language \"English\" has an engine shown as \"Engine 0\" already"_s},
        {[&](CCatalogEditor &e) { return e.SetEngine(u"E0"_s, engine(u"E"_s, u"https://a.example/"_s)); },
         u"the URL of [E0] has no \"*\" where the keywords go"_s},
        {[](CCatalogEditor &e) { return e.ListEngine(0, 0, u"e0"_s); }, u"engine \"e0\" is listed in that category already"_s},
    };
    for (const auto &[change, fault] : cases) {
        CCatalogDocument document;
        ASSERT_TRUE(document.SetBytes(sound));
        CCatalogEditor editor(document);
        const QString refused = change(editor);
        EXPECT_TRUE(fault.isEmpty() ? refused.isEmpty() : refused.contains(fault)) << qPrintable(refused);
        if (!fault.isEmpty()) {
            EXPECT_EQ(document.Bytes(), sound) << qPrintable(fault);
        }
    }

    CCatalogDocument latin1;
    QString reason;
    EXPECT_FALSE(latin1.SetBytes(sound + "; Fran\xE7" "ais\n", &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(CatalogDocumentTest, NewSectionsAreMadeFromTheNameUniqueAndShort)
{
    CCatalogDocument document;
    ASSERT_TRUE(document.SetBytes("[LANGUAGES]\nLanguages=日本語\n[CATEGORYS]\n日本語=W\n[日本語]\nW=Gone\n[Bing]\n"));
    const CCatalogEditor editor(document);
    EXPECT_EQ(editor.NewSectionName(u"Bing (news)"_s), u"Bingnews"_s);
    EXPECT_EQ(editor.NewSectionName(u"bing"_s), u"bing2"_s);
    EXPECT_EQ(editor.NewSectionName(u"日本語 ★"_s), u"日本語2"_s); // a language's section
    EXPECT_EQ(editor.NewSectionName(u"Gone"_s), u"Gone2"_s); // listed, though without a section yet
    EXPECT_EQ(editor.NewSectionName(u"categorys"_s), u"categorys2"_s);
    EXPECT_EQ(editor.NewSectionName(u"★"_s), u"Engine"_s);
    EXPECT_EQ(editor.NewSectionName(QString(40, u'x')), QString(24, u'x'));
}
