#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

#include "catalogue/CatalogFile.h"

// The catalogue that ships with the program resolves completely through the
// reader, within the capacities the form reads it with, so that a user can
// search with every engine on the first start.
TEST(ShippedCatalog, EveryLanguageCategoryAndEngineResolves)
{
    CCatalogFile catalog;
    catalog.m_szPath = QStringLiteral(QUAERIO_SHIPPED_CATALOGUE);
    ASSERT_TRUE(catalog.Exists());

    // A value one short of its capacity could be the cut remains of a longer one.
    const auto read = [&](const QString &section, const QString &key, int capacity) {
        QString value;
        const int count = catalog.ReadString(section, key, value, capacity);
        EXPECT_TRUE(count > 0 && count < capacity - 1 && value != QStringLiteral("Error!")) << qPrintable(section + u'/' + key);
        return value;
    };
    const auto readList = [&](const QString &section, const QString &key) {
        QStringList items;
        SplitString(read(section, key, kCatalogListCapacity), items, u';');
        for (const QString &item : items)
            EXPECT_FALSE(item.trimmed().isEmpty()) << "empty item in " << qPrintable(section + u'/' + key);
        return items;
    };

    const QStringList languages = readList(QStringLiteral("LANGUAGES"), QStringLiteral("Languages"));
    for (const char *language : {"English", "Deutsch", "Français", "日本語"})
        EXPECT_TRUE(languages.contains(QString::fromUtf8(language))) << language;
    QSet<QString> engines;
    for (const QString &language : languages) {
        const QStringList categories = readList(QStringLiteral("CATEGORYS"), language);
        EXPECT_GE(categories.size(), 6) << qPrintable(language);
        for (const QString &category : categories)
            for (const QString &engine : readList(language, category))
                engines.insert(engine);
    }
    EXPECT_GE(engines.size(), 30);
    for (const QString &engine : engines) {
        read(engine, QStringLiteral("Name"), kCatalogNameCapacity);
        const QString url = read(engine, QStringLiteral("URL"), kCatalogUrlCapacity);
        EXPECT_TRUE(url.contains(u'*')) << qPrintable(url);
        const QUrl query(QString(url).replace(u'*', QStringLiteral("quaerio")), QUrl::StrictMode);
        EXPECT_TRUE(query.isValid() && query.scheme() == QStringLiteral("https") && !query.host().isEmpty()) << qPrintable(url);
    }
}
