#include <QFile>
#include <QTemporaryDir>

#include <tuple>

#include <gtest/gtest.h>

#include "catalogue/CatalogChecker.h"
#include "catalogue/OpenSearch.h"

// Descriptions in the shapes the formats allow (tests/catalogue/data), and what the reader refuses.

using namespace Qt::StringLiterals;

namespace
{
SEngineDescription Engine(const QString &name, const QString &url, const QString &encoding, EEngineMethod method = EEngineMethod::Get,
                          const QString &postData = {})
{
    return {name, url, encoding, method, postData};
}

// What a description gives reads back from a catalogue without a problem.
void ExpectTheCheckerTakesIt(const SEngineDescription &engine)
{
    QTemporaryDir dir;
    QFile catalogue(dir.filePath(u"Quaerio.CFG"_s));
    ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
    QString text = u"[LANGUAGES]\nLanguages=L\n[CATEGORYS]\nL=C\n[L]\nC=E\n[E]\nName="_s + engine.strName + u"\nURL="_s
        + engine.strUrl + u"\nMethod="_s + EngineMethodName(engine.eMethod) + u'\n';
    if (!engine.strEncoding.isEmpty())
        text += u"Encoding="_s + engine.strEncoding + u'\n';
    if (engine.eMethod == EEngineMethod::Post)
        text += u"PostData="_s + engine.strPostData + u'\n';
    catalogue.write(text.toUtf8());
    catalogue.close();
    CCatalogChecker checker(catalogue.fileName());
    EXPECT_EQ(checker.Check(), CCatalogChecker::EResult::Clean) << checker.FormatProblems().join(u'\n').toStdString();
}
} // namespace

void PrintTo(const SEngineDescription &engine, std::ostream *out)
{
    *out << '{' << engine.strName.toStdString() << " | " << engine.strUrl.toStdString() << " | "
         << engine.strEncoding.toStdString() << " | " << EngineMethodName(engine.eMethod).toStdString() << " | "
         << engine.strPostData.toStdString() << '}';
}

TEST(OpenSearchTest, DescriptionFilesBecomeEngines)
{
    const QList<std::pair<QString, SEngineDescription>> cases = {
        {u"get-params.xml"_s,
         Engine(u"Example Web"_s, u"https://search.example/find?n=20&p=0&i=&l=%2A&c=&q=*&src=open+search%2A#top"_s, {})},
        {u"post-windows-1251.xml"_s,
         Engine(u"Поиск"_s, u"http://poisk.example/cgi-bin/find?enc=windows-1251"_s, u"windows-1251"_s, EEngineMethod::Post,
                u"text=*&btn=%CD%E0%E9%F2%E8"_s)},
        {u"mozilla-shift-jis.xml"_s,
         Engine(u"検索"_s, u"https://kensaku.example/search?p=*&kw=%93%FA%96%7B&channel=sb&ie=Shift_JIS"_s, u"Shift_JIS"_s)},
        {u"path-euc-kr-utf16.xml"_s, Engine(u"검색"_s, u"https://geomsaek.example/*/all?ie=EUC-KR&oe=EUC-KR"_s, u"EUC-KR"_s)},
        {u"post-gb2312.xml"_s,
         Engine(u"搜索"_s, u"https://sousuo.example/s"_s, u"GB2312"_s, EEngineMethod::Post, u"wd=*+&%C0%B4%D4%B4=%CA%D7%D2%B3"_s)},
        {u"get-big5.xml"_s, Engine(u"搜尋"_s, u"https://sousun.example/find?q=*&tab=%BA%F4%AD%B6"_s, u"Big5"_s)},
    };
    for (const auto &[file, expected] : cases) {
        SCOPED_TRACE(file.toStdString());
        QFile description(QStringLiteral(QUAERIO_CATALOGUE_TEST_DATA "/") + file);
        ASSERT_TRUE(description.open(QIODevice::ReadOnly));
        SEngineDescription engine;
        QString error;
        EXPECT_EQ(ReadOpenSearchDescription(description.readAll(), engine, error), EOpenSearchRead::Read) << error.toStdString();
        EXPECT_EQ(engine, expected);
        ExpectTheCheckerTakesIt(engine);
    }
}

TEST(OpenSearchTest, WhatCannotBecomeAnEngineIsRefusedWithItsReason)
{
    const auto description = [](const QByteArray &url, const QByteArray &more = {}) -> QByteArray {
        return "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\"><ShortName>S</ShortName>" + more + url
            + "</OpenSearchDescription>";
    };
    const QByteArray get = "<Url type=\"text/html\" template=\"https://e.example/?q={searchTerms}\"/>";
    // Entities nest a thousandfold at each level; expanded, a few bytes would take gigabytes.
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\">";
    for (char level = 'b'; level <= 'i'; ++level)
        laughs += "<!ENTITY " + QByteArray(1, level) + " \"" + QByteArray(1, '&').append(level - 1).append(';').repeated(1000) + "\">";
    laughs += "]>" + description(get, "<Description>&i;</Description>");

    // The first seven cannot be read; the others are read but name no engine the program can ask.
    const QList<std::pair<QByteArray, QString>> cases = {
        {description(get, "<!--" + QByteArray(kOpenSearchMaxBytes, ' ') + "-->"), u"larger than 256 KB"_s},
        {laughs, u"declares a document type"_s},
        {description(get, "<Description>&ext;</Description>"), u"not well-formed XML: Entity 'ext' not declared"_s},
        {description(get).chopped(1), u"not well-formed XML"_s},
        {"<html><link rel=\"search\"/></html>", u"its root element is <html>"_s},
        {"<SearchPlugin>" + get + "</SearchPlugin>", u"has no ShortName"_s},
        {description("<Url type=\"application/rss+xml\" template=\"https://e.example/?q={searchTerms}\"/>"
                     "<Url type=\"text/html\" rel=\"suggestions\" template=\"https://e.example/?q={searchTerms}\"/>"
                     "<Url type=\"text/html\"/>"),
         u"has no Url of type text/html"_s},
        {description("<Url type=\"text/html\" template=\"https://e.example/?q={searchTerms}&amp;c={example:color}\"/>"),
         u"needs the parameter {example:color}, which Quaerio cannot fill"_s},
        {description("<Url type=\"text/html\" template=\"https://e.example/\"><Param name=\"q\" value=\"{searchTerms}{time}\"/></Url>"),
         u"needs the parameter {time}"_s},
        {description(get, "<InputEncoding>UTF-16</InputEncoding>"), u"input encoding \"UTF-16\" is not one Quaerio can send"_s},
        {description("<Url type=\"text/html\" method=\"PUT\" template=\"https://e.example/?q={searchTerms}\"/>"),
         u"method \"PUT\" is neither GET nor POST"_s},
        {description("<Url type=\"text/html\" template=\"ftp://e.example/{searchTerms}\"/>"), u"is not an http or https address"_s},
        {description("<Url type=\"text/html\" template=\"https://e.example/?q=*\"/>"), u"does not take the keywords"_s},
        {description("<Url type=\"text/html\" method=\"post\" template=\"https://e.example/?q={searchTerms}\"/>"),
         u"POST search address does not send the keywords"_s},
    };
    const qsizetype firstRefused = 7;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const auto &[xml, reason] = cases.at(i);
        SCOPED_TRACE(xml.left(300).toStdString());
        SEngineDescription engine;
        engine.strName = u"kept"_s;
        QString error;
        EXPECT_EQ(ReadOpenSearchDescription(xml, engine, error),
                  i < firstRefused ? EOpenSearchRead::Unreadable : EOpenSearchRead::Refused);
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
        EXPECT_EQ(engine.strName, u"kept");
    }
}
