#include "enginemanager/CatalogTree.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QSet>
#include <QTimer>

#include "catalogue/CatalogFile.h"
#include "catalogue/TextCut.h"

namespace
{
constexpr int kLanguageRole = Qt::UserRole;
constexpr int kCategoryRole = Qt::UserRole + 1;
constexpr int kEngineRole = Qt::UserRole + 2;

// The names on the way to an item, which stay when the tree is filled afresh.
QString PathOf(const QTreeWidgetItem *item)
{
    return item->parent() ? PathOf(item->parent()) + u'\n' + item->text(0) : item->text(0);
}

// A drop in the upper or lower quarter of an item lands before or after it.
enum class EDrop
{
    Above,
    On,
    Below,
};

EDrop DropOn(const QRect &item, int y)
{
    const int edge = item.height() / 4;
    if (y < item.top() + edge)
        return EDrop::Above;
    return y > item.bottom() - edge ? EDrop::Below : EDrop::On;
}
} // namespace

CCatalogTree::CCatalogTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

CCatalogTree::~CCatalogTree() = default;

void CCatalogTree::Fill(const CCatalogEditor &editor, const SCatalogPlace &select)
{
    QSet<QString> open;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->isExpanded())
            open.insert(PathOf(*it));
    }
    clear();
    const QStringList languages = editor.Languages();
    for (int language = 0; language < languages.size(); ++language) {
        QTreeWidgetItem *languageItem = AddItem(nullptr, languages[language], {language, -1, -1});
        const QStringList categories = editor.Categories(language);
        for (int category = 0; category < categories.size(); ++category) {
            QTreeWidgetItem *categoryItem = AddItem(languageItem, categories[category], {language, category, -1});
            const QStringList engines = editor.Engines(language, category);
            for (int engine = 0; engine < engines.size(); ++engine) {
                const QString name = CutToLength(editor.Engine(engines[engine]).strName, kCatalogNameCapacity - 1);
                AddItem(categoryItem, name.isEmpty() ? u'[' + engines[engine] + u']' : name, {language, category, engine})
                    ->setToolTip(0, u'[' + engines[engine] + u']');
            }
            categoryItem->setExpanded(open.contains(PathOf(categoryItem)));
        }
        languageItem->setExpanded(!m_bFilled || open.contains(PathOf(languageItem)));
    }
    m_bFilled = true;

    QTreeWidgetItem *selected = topLevelItem(select.nLanguage);
    if (selected && select.nCategory >= 0)
        selected = selected->child(select.nCategory);
    if (selected && select.nEngine >= 0)
        selected = selected->child(select.nEngine);
    setCurrentItem(selected ? selected : topLevelItem(0));
}

SCatalogPlace CCatalogTree::CurrentPlace() const
{
    return PlaceOf(currentItem());
}

void CCatalogTree::dropEvent(QDropEvent *event)
{
    // Nothing is moved here, nor by the drag when it ends: a drag that ends
    // in a move would take the selected item out of the tree filled afresh.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    DropAt(event->position().toPoint(), event->modifiers().testFlag(Qt::ControlModifier));
}

void CCatalogTree::DropAt(const QPoint &position, bool copy)
{
    const QTreeWidgetItem *target = itemAt(position);
    const SCatalogPlace from = CurrentPlace();
    if (!target || from.Level() == SCatalogPlace::ELevel::None)
        return;
    const SCatalogPlace on = PlaceOf(target);
    const EDrop where = DropOn(visualItemRect(target), position.y());
    SCatalogPlace owner;
    int before = 0;
    if (from.Level() == SCatalogPlace::ELevel::Engine && on.Level() == SCatalogPlace::ELevel::Category
        && where == EDrop::On) {
        owner = on;
        before = target->childCount();
    } else if (on.Level() == from.Level()) {
        owner = on.Parent();
        before = on.Index() + (where == EDrop::Below ? 1 : 0);
    } else {
        return;
    }
    // Languages and categories keep to their lists; engines may change category.
    if (from.Level() != SCatalogPlace::ELevel::Engine && owner != from.Parent())
        return;
    // Once the drag has ended: the move fills the tree afresh.
    QTimer::singleShot(0, this, [this, from, owner, before, copy] { emit DropRequested(from, owner, before, copy); });
}

QTreeWidgetItem *CCatalogTree::AddItem(QTreeWidgetItem *parent, const QString &text, const SCatalogPlace &place)
{
    auto *item = parent ? new QTreeWidgetItem(parent, {text}) : new QTreeWidgetItem(this, {text});
    item->setData(0, kLanguageRole, place.nLanguage);
    item->setData(0, kCategoryRole, place.nCategory);
    item->setData(0, kEngineRole, place.nEngine);
    return item;
}

SCatalogPlace CCatalogTree::PlaceOf(const QTreeWidgetItem *item)
{
    if (!item)
        return {};
    return {item->data(0, kLanguageRole).toInt(), item->data(0, kCategoryRole).toInt(), item->data(0, kEngineRole).toInt()};
}
