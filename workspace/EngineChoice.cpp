#include "workspace/EngineChoice.h"

#include <QMenu>
#include <QTableWidget>

#include <utility>

#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"

namespace
{
const QString kChoiceSection = QStringLiteral("EngineChoice");
constexpr int kNameColumn = 0;

// One part of an entry name: the store's group separators and the parts'
// own separator are escaped, so any catalogue name makes one distinct entry.
QString EntryPart(QString text)
{
    return text.replace(u'%', QStringLiteral("%25"))
        .replace(u':', QStringLiteral("%3A"))
        .replace(u'/', QStringLiteral("%2F"))
        .replace(u'\\', QStringLiteral("%5C"));
}
} // namespace

CEngineChoice::CEngineChoice(QTableWidget *list, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_menu(new QMenu(list))
{
    connect(m_menu->addAction(QStringLiteral("Tick all")), &QAction::triggered, this, [this] { TickAll(true); });
    connect(m_menu->addAction(QStringLiteral("Untick all")), &QAction::triggered, this, [this] { TickAll(false); });
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_menu->popup(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &QTableWidget::itemChanged, this, &CEngineChoice::OnItemChanged);
}

CEngineChoice::~CEngineChoice() = default;

QString CEngineChoice::EntryOf(const QString &language, const QString &category, const QString &section)
{
    return EntryPart(language) + u':' + EntryPart(category) + u':' + EntryPart(section);
}

void CEngineChoice::Clear()
{
    m_bLoaded = false;
}

void CEngineChoice::Load(const QString &language, const QString &category, const QStringList &sections)
{
    m_strLanguage = language;
    m_strCategory = category;
    m_arrSections = sections;
    // A row the catalogue left unticked (no query URL) stays so.
    for (int row = 0; row < m_list->rowCount() && row < sections.size(); ++row) {
        QTableWidgetItem *item = m_list->item(row, kNameColumn);
        if (!item || item->checkState() != Qt::Checked)
            continue;
        const QString entry = EntryOf(language, category, sections.at(row));
        if (GetProfileInt(kChoiceSection, entry, 1) == 0)
            item->setCheckState(Qt::Unchecked);
    }
    m_bLoaded = true;
}

QSet<int> CEngineChoice::NotAsked() const
{
    QSet<int> rows;
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const QTableWidgetItem *item = m_list->item(row, kNameColumn);
        if (!item || item->checkState() != Qt::Checked)
            rows.insert(row);
    }
    return rows;
}

bool CEngineChoice::ConfirmAnyChosen() const
{
    if (m_list->rowCount() == 0 || NotAsked().size() < m_list->rowCount())
        return true;
    AfxMessageBox(QStringLiteral("Please tick at least one engine to search !"));
    return false;
}

void CEngineChoice::TickAll(bool ticked)
{
    const bool loaded = std::exchange(m_bLoaded, false);
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (QTableWidgetItem *item = m_list->item(row, kNameColumn))
            item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    m_bLoaded = loaded;
    if (m_bLoaded)
        Save();
}

QMenu *CEngineChoice::ContextMenu() const
{
    return m_menu;
}

void CEngineChoice::OnItemChanged(QTableWidgetItem *item)
{
    // Only the user's ticks count, not the cells the program writes.
    if (m_bLoaded && item->column() == kNameColumn)
        Save();
}

void CEngineChoice::Save() const
{
    const CProfileBatch batch;
    for (int row = 0; row < m_list->rowCount() && row < m_arrSections.size(); ++row) {
        const QTableWidgetItem *item = m_list->item(row, kNameColumn);
        const bool ticked = item && item->checkState() == Qt::Checked;
        WriteProfileInt(kChoiceSection, EntryOf(m_strLanguage, m_strCategory, m_arrSections.at(row)), ticked ? 1 : 0);
    }
}
