#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

#include "catalogue/CatalogFile.h"

// The catalogue that ships with the program must resolve completely through
// the reader, within the capacities the form reads it with, so that a user
// can search with every engine on the first start.
TEST(ShippedCatalog, EveryLanguageCategoryAndEngineResolves)
{
    CCatalogFile catalog;
    catalog.m_szPath = QStringLiteral(QUAERIO_SHIPPED_CATALOGUE);
    ASSERT_TRUE(catalog.Exists()) << QUAERIO_SHIPPED_CATALOGUE;

    // A list read into its 260-character buffer must not have been cut: a
    // value of 259 characters could be the cut remains of a longer one.
    const auto readList = [&](const QString &section, const QString &key) {
        QString value;
        const int count = catalog.ReadString(section, key, value, kCatalogListCapacity);
        EXPECT_GT(count, 0) << qPrintable(section + QLatin1Char('/') + key);
        EXPECT_LT(count, kCatalogListCapacity - 1) << qPrintable(section + QLatin1Char('/') + key);
        EXPECT_NE(value, QStringLiteral("Error!")) << qPrintable(section + QLatin1Char('/') + key);
        QStringList items;
        SplitString(value, items, QLatin1Char(';'));
        for (const QString &item : items)
            EXPECT_FALSE(item.trimmed().isEmpty()) << "empty item in " << qPrintable(section + QLatin1Char('/') + key);
        return items;
    };

    const QStringList languages = readList(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"));
    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Deutsch"), QStringLiteral("Français"),
                                    QStringLiteral("日本語")})
        EXPECT_TRUE(languages.contains(language)) << qPrintable(language);

    QSet<QString> checkedEngines;
    int engineRows = 0;
    for (const QString &language : languages) {
        const QStringList categories = readList(QStringLiteral("CATEGORYS"), language);
        EXPECT_GE(categories.size(), 6) << qPrintable(language);
        for (const QString &category : categories) {
            const QStringList engines = readList(language, category);
            EXPECT_GE(engines.size(), 2) << qPrintable(language + QLatin1Char('/') + category);
            engineRows += static_cast<int>(engines.size());
            for (const QString &engine : engines) {
                if (checkedEngines.contains(engine))
                    continue;
                checkedEngines.insert(engine);
                SCOPED_TRACE(engine.toStdString());

                QString name;
                const int nameCount = catalog.ReadString(engine, QStringLiteral("Name"), name, kCatalogNameCapacity);
                EXPECT_GT(nameCount, 0);
                EXPECT_LT(nameCount, kCatalogNameCapacity - 1);
                EXPECT_NE(name, QStringLiteral("Error!"));

                QString url;
                const int urlCount = catalog.ReadString(engine, QStringLiteral("URL"), url, kCatalogUrlCapacity);
                EXPECT_GT(urlCount, 0);
                EXPECT_LT(urlCount, kCatalogUrlCapacity - 1);
                EXPECT_TRUE(url.contains(QLatin1Char('*'))) << qPrintable(url);
                const QUrl query(QString(url).replace(QLatin1Char('*'), QStringLiteral("quaerio")), QUrl::StrictMode);
                EXPECT_TRUE(query.isValid()) << qPrintable(url);
                EXPECT_EQ(query.scheme(), QStringLiteral("https")) << qPrintable(url);
                EXPECT_FALSE(query.host().isEmpty()) << qPrintable(url);
            }
        }
    }
    EXPECT_GE(checkedEngines.size(), 30);
    EXPECT_GE(engineRows, checkedEngines.size());
}
