#include "workspace/CatalogueLoader.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

#include "browsers/ResultBrowser.h"
#include "browsers/ResultBrowserMap.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/EngineDescription.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "workspace/TabCtrl.h"

namespace
{
const QString kSettings = QString::fromUtf16(kSettingsSection);
const QString kLanguageKey = QStringLiteral("CurLanguageIndex");
const QString kCategoryKey = QStringLiteral("CurCategoryIndex");

void ReportFailure()
{
    AfxMessageBox(QStringLiteral("Initial GUI control failed !"));
}

QTableWidgetItem *ListItem(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setToolTip(text);
    return item;
}

// How an engine takes its keywords besides its URL. The reader delivers
// "Error!" for an absent key: no charset (so UTF-8) and no method (so GET);
// a POST engine without post data, which the checker reports, sends an empty
// form.
SEngineDescription ReadQueryKeys(const CCatalogFile &catalog, const QString &section, const QString &url)
{
    SEngineDescription engine;
    engine.strUrl = url;
    catalog.ReadString(section, QString::fromUtf16(kEngineEncodingKey), engine.strEncoding, kCatalogEncodingCapacity);
    QString method;
    catalog.ReadString(section, QString::fromUtf16(kEngineMethodKey), method, kCatalogMethodCapacity);
    engine.eMethod = ParseEngineMethod(method).value_or(EEngineMethod::Get);
    if (engine.eMethod == EEngineMethod::Post) {
        catalog.ReadString(section, QString::fromUtf16(kEnginePostDataKey), engine.strPostData, kCatalogPostDataCapacity);
        if (engine.strPostData == QStringView(kCatalogDefault))
            engine.strPostData.clear();
    }
    return engine;
}

// The QueryURL cell: the URL template, after the method for a POST engine,
// whose form body the tooltip adds.
QTableWidgetItem *QueryUrlItem(const SEngineDescription &engine)
{
    if (engine.eMethod != EEngineMethod::Post)
        return ListItem(engine.strUrl, Qt::AlignRight);
    QTableWidgetItem *item = ListItem(EngineMethodName(engine.eMethod) + u' ' + engine.strUrl, Qt::AlignRight);
    item->setToolTip(item->text() + u'\n' + engine.strPostData);
    return item;
}

bool InRange(int index, const QStringList &list)
{
    return index >= 0 && index < list.size();
}

// Where the item shown before a reload is now: found by its name, else (it
// was renamed, say) at its old index, else first.
int IndexAfterReload(const QStringList &items, const QString &name, int index)
{
    if (const qsizetype found = items.indexOf(name); found >= 0)
        return int(found);
    return InRange(index, items) ? index : 0;
}
} // namespace

CCatalogueLoader::CCatalogueLoader(const Controls &controls, CResultBrowserMap &browsers)
    : m_ctl(controls)
    , m_browsers(browsers)
{
}

CCatalogueLoader::~CCatalogueLoader() = default;

void CCatalogueLoader::ReadDefault()
{
    m_nCurLanguage = GetProfileInt(kSettings, kLanguageKey, 0);
    m_nCurCategory = GetProfileInt(kSettings, kCategoryKey, 0);
}

void CCatalogueLoader::WriteDefault() const
{
    WriteProfileInt(kSettings, kLanguageKey, m_nCurLanguage);
    WriteProfileInt(kSettings, kCategoryKey, m_nCurCategory);
}

void CCatalogueLoader::SetUpEngineList()
{
    QTableWidget *list = m_ctl.engines;
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setColumnCount(3);
    list->setHorizontalHeaderItem(0, ListItem(QStringLiteral("Name")));
    list->setHorizontalHeaderItem(1, ListItem(QStringLiteral("Progress")));
    list->setHorizontalHeaderItem(2, ListItem(QStringLiteral("QueryURL"), Qt::AlignRight));
    list->setColumnWidth(0, 160);
    list->setColumnWidth(1, 80);
    list->setColumnWidth(2, 400);
}

bool CCatalogueLoader::LoadLanguages()
{
    m_pCatalog = GetCatalogFile();
    QString languages;
    if (m_pCatalog->ReadString(QString::fromUtf16(kCatalogLanguagesSection), QString::fromUtf16(kCatalogLanguagesKey),
                               languages, kCatalogListCapacity)
        == 0) {
        ReportFailure();
        return false;
    }
    m_arrLanguages.clear();
    SplitString(languages, m_arrLanguages, QLatin1Char(';'));
    // A stored index beyond the catalogue now loaded falls back to the first.
    if (!InRange(m_nCurLanguage, m_arrLanguages))
        m_nCurLanguage = 0;
    m_ctl.language->clear();
    m_ctl.language->addItems(m_arrLanguages);
    m_ctl.language->setCurrentIndex(m_nCurLanguage);
    return true;
}

void CCatalogueLoader::LoadCategories()
{
    while (m_ctl.category->count() > 0)
        m_ctl.category->removeItem(0);
    if (!InRange(m_nCurLanguage, m_arrLanguages))
        return;

    QString categories;
    if (m_pCatalog->ReadString(QString::fromUtf16(kCatalogCategoriesSection), m_arrLanguages.at(m_nCurLanguage),
                               categories, kCatalogListCapacity)
        == 0) {
        ReportFailure();
        return;
    }
    m_arrCategories.clear();
    SplitString(categories, m_arrCategories, QLatin1Char(';'));
    if (!InRange(m_nCurCategory, m_arrCategories))
        m_nCurCategory = 0;
    m_ctl.category->addItems(m_arrCategories);
    m_ctl.category->setCurrentIndex(m_nCurCategory);
}

bool CCatalogueLoader::LoadEngines()
{
    // Without a language or a category there is nothing to read; the failure
    // that left the lists empty has been reported already.
    if (!InRange(m_nCurLanguage, m_arrLanguages) || !InRange(m_nCurCategory, m_arrCategories))
        return false;

    QString engines;
    if (m_pCatalog->ReadString(m_arrLanguages.at(m_nCurLanguage), m_arrCategories.at(m_nCurCategory), engines,
                               kCatalogListCapacity)
        == 0) {
        ReportFailure();
        return false;
    }
    m_arrEngines.clear();
    SplitString(engines, m_arrEngines, QLatin1Char(';'));

    if (m_ctl.engines->rowCount() > 0)
        m_ctl.engines->setRowCount(0);
    if (m_ctl.tabs->count() > 0)
        m_ctl.tabs->DeleteAllItems();
    m_browsers.DeactivateAll();

    for (int i = 0; i < m_arrEngines.size(); ++i) {
        if (!AddEngine(i, m_arrEngines.at(i))) {
            ReportFailure();
            return false;
        }
    }
    m_ctl.tabs->SetCurSel(0);
    return true;
}

bool CCatalogueLoader::AddEngine(int index, const QString &section)
{
    QString name;
    if (m_pCatalog->ReadString(section, QString::fromUtf16(kCatalogNameKey), name, kCatalogNameCapacity) == 0)
        return false;
    QTableWidget *list = m_ctl.engines;
    list->insertRow(index);
    QTableWidgetItem *nameItem = ListItem(name);
    nameItem->setFlags(nameItem->flags() | Qt::ItemIsUserCheckable);
    nameItem->setCheckState(Qt::Unchecked);
    list->setItem(index, 0, nameItem);
    m_ctl.tabs->InsertItem(index, name);
    list->setItem(index, 1, ListItem(QStringLiteral("100%")));

    // Without a URL the engine keeps its row and tab but no tick and no page.
    QString url;
    if (m_pCatalog->ReadString(section, QString::fromUtf16(kCatalogUrlKey), url, kCatalogUrlCapacity) == 0)
        return false;
    const SEngineDescription engine = ReadQueryKeys(*m_pCatalog, section, url);
    list->setItem(index, 2, QueryUrlItem(engine));
    nameItem->setCheckState(Qt::Checked);

    if (CResultBrowser *page = m_browsers.GetBrowser(index)) {
        page->SetQueryTemplate(url, engine.strEncoding, engine.eMethod, engine.strPostData);
        page->SetEngineName(name);
        page->m_bActive = true;
    }
    return true;
}

bool CCatalogueLoader::Reload()
{
    const QString language = LanguageName();
    const QString category = CategoryName();
    if (!LoadLanguages())
        return false;
    m_nCurLanguage = IndexAfterReload(m_arrLanguages, language, m_nCurLanguage);
    m_ctl.language->setCurrentIndex(m_nCurLanguage);
    const int shown = m_nCurCategory;
    m_arrCategories.clear();
    LoadCategories();
    m_nCurCategory = IndexAfterReload(m_arrCategories, category, shown);
    m_ctl.category->setCurrentIndex(m_nCurCategory);
    return true;
}

bool CCatalogueLoader::ChooseLanguage(int index)
{
    if (index == m_nCurLanguage)
        return false;
    m_nCurLanguage = index;
    m_nCurCategory = 0;
    return true;
}

bool CCatalogueLoader::ChooseCategory(int index)
{
    if (index == m_nCurCategory)
        return false;
    m_nCurCategory = index;
    return true;
}

int CCatalogueLoader::CurrentLanguage() const
{
    return m_nCurLanguage;
}

int CCatalogueLoader::CurrentCategory() const
{
    return m_nCurCategory;
}

QString CCatalogueLoader::LanguageName() const
{
    return m_arrLanguages.value(m_nCurLanguage);
}

QString CCatalogueLoader::CategoryName() const
{
    return m_arrCategories.value(m_nCurCategory);
}

const QStringList &CCatalogueLoader::Engines() const
{
    return m_arrEngines;
}
