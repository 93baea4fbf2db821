#include "app/SearchRequest.h"

#include <QComboBox>

#include "app/HandOverMessage.h"
#include "catalogue/CatalogFile.h"
#include "res/ResourceIds.h"
#include "workspace/QuaerioView.h"
#include "workspace/SearchRun.h"

namespace
{
// A catalogue list as the form reads it.
QStringList readList(const CCatalogFile &catalog, const QString &section, const QString &key)
{
    QString value;
    QStringList items;
    if (catalog.ReadString(section, key, value, kCatalogListCapacity) > 0)
        SplitString(value, items, u';');
    return items;
}

QStringList languagesOf(const CCatalogFile &catalog)
{
    return readList(catalog, QString::fromUtf16(kCatalogLanguagesSection), QString::fromUtf16(kCatalogLanguagesKey));
}

QStringList categoriesOf(const CCatalogFile &catalog, const QString &language)
{
    return readList(catalog, QString::fromUtf16(kCatalogCategoriesSection), language);
}

qsizetype indexOfName(const QStringList &names, const QString &name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList itemsOf(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    return items;
}

// The first language, in catalogue order, that has the category.
QString languageWithCategory(const CCatalogFile &catalog, const QString &category)
{
    for (const QString &language : languagesOf(catalog)) {
        if (indexOfName(categoriesOf(catalog, language), category) >= 0)
            return language;
    }
    return {};
}

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}
} // namespace

bool SSearchRequest::HasKeywords() const
{
    return !strKeywords.trimmed().isEmpty();
}

bool SSearchRequest::IsEmpty() const
{
    return strLanguage.isEmpty() && strCategory.isEmpty() && !HasKeywords() && !bNewSearch;
}

QString JoinKeywords(const QStringList &arguments)
{
    return PlainText(arguments.join(u' '), kRequestKeywordsLimit);
}

QString CheckRequestNames(const CCatalogFile &catalog, const SSearchRequest &request)
{
    const QStringList languages = languagesOf(catalog);
    QString language;
    if (!request.strLanguage.isEmpty()) {
        const qsizetype index = indexOfName(languages, request.strLanguage);
        if (index < 0)
            return QStringLiteral("unknown language %1; the catalogue has: %2").arg(quoted(request.strLanguage), languages.join(QStringLiteral(", ")));
        language = languages[index];
    }
    if (request.strCategory.isEmpty())
        return {};

    if (!language.isEmpty()) {
        const QStringList categories = categoriesOf(catalog, language);
        if (indexOfName(categories, request.strCategory) < 0)
            return QStringLiteral("language %1 has no category %2; it has: %3")
                .arg(quoted(language), quoted(request.strCategory), categories.join(QStringLiteral(", ")));
        return {};
    }
    if (languageWithCategory(catalog, request.strCategory).isEmpty()) {
        QStringList all;
        for (const QString &each : languages) {
            for (const QString &category : categoriesOf(catalog, each)) {
                if (indexOfName(all, category) < 0)
                    all.append(category);
            }
        }
        return QStringLiteral("unknown category %1; the catalogue has: %2").arg(quoted(request.strCategory), all.join(QStringLiteral(", ")));
    }
    return {};
}

bool ApplySearchRequest(CQuaerioView &view, const CCatalogFile &catalog, const SSearchRequest &request)
{
    auto *language = view.findChild<QComboBox *>(QString::number(IDC_CBO_LANGUAGE));
    auto *category = view.findChild<QComboBox *>(QString::number(IDC_CBO_CATEGORY));
    auto *keywords = view.findChild<QComboBox *>(QString::number(IDC_CBO_KEYWORDS));
    if (!language || !category || !keywords)
        return false;

    // A category alone is looked for in the language shown first.
    QString languageName = request.strLanguage;
    if (languageName.isEmpty() && !request.strCategory.isEmpty() && indexOfName(itemsOf(*category), request.strCategory) < 0)
        languageName = languageWithCategory(catalog, request.strCategory);
    const qsizetype languageIndex = languageName.isEmpty() ? language->currentIndex() : indexOfName(itemsOf(*language), languageName);
    if (languageIndex < 0)
        return false;
    if (!request.strCategory.isEmpty()
        && indexOfName(categoriesOf(catalog, language->itemText(static_cast<int>(languageIndex))), request.strCategory) < 0)
        return false;

    // The lists and "&Search" are disabled while a search runs; the user
    // would press "S&top" first.
    if (view.SearchRun().IsSearching() && (request.HasKeywords() || languageIndex != language->currentIndex() || !request.strCategory.isEmpty()))
        view.OnStop();
    if (languageIndex != language->currentIndex()) {
        language->setCurrentIndex(static_cast<int>(languageIndex));
        view.OnLanguageChanged();
    }
    if (!request.strCategory.isEmpty()) {
        const qsizetype categoryIndex = indexOfName(itemsOf(*category), request.strCategory);
        if (categoryIndex >= 0 && categoryIndex != category->currentIndex()) {
            category->setCurrentIndex(static_cast<int>(categoryIndex));
            view.OnCategoryChanged();
        }
    }
    if (request.HasKeywords()) {
        keywords->setEditText(request.strKeywords);
        view.OnSearch();
    }
    return true;
}
