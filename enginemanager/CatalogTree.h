#pragma once

#include <QTreeWidget>

#include "catalogue/CatalogEditor.h"

// The catalogue as a tree: the languages, under each its categories, under
// each category its engines by their shown names. Every item knows its
// place. An item dragged within its list, or an engine dragged into another
// category, is not moved by the tree: it asks for the move, and is filled
// afresh from the catalogue once the move is made.
class CCatalogTree final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CCatalogTree(QWidget *parent = nullptr);
    ~CCatalogTree() override;
    Q_DISABLE_COPY_MOVE(CCatalogTree)

    // Fills the tree from the catalogue, keeps open what was open (by
    // name; at the first filling, every language) and selects `select`.
    void Fill(const CCatalogEditor &editor, const SCatalogPlace &select);
    SCatalogPlace CurrentPlace() const;
    // The current item dropped at `position` of the viewport: before or
    // after the item there (in its upper or lower quarter) or, for an
    // engine dropped on a category, at the category's end.
    void DropAt(const QPoint &position, bool copy);

signals:
    // `from` was dropped before item `before` of the list of `owner` (after
    // its last item when `before` is its size); `copy` when Ctrl was held.
    void DropRequested(const SCatalogPlace &from, const SCatalogPlace &owner, int before, bool copy);

protected:
    void dropEvent(QDropEvent *event) override;

private:
    QTreeWidgetItem *AddItem(QTreeWidgetItem *parent, const QString &text, const SCatalogPlace &place);
    static SCatalogPlace PlaceOf(const QTreeWidgetItem *item);

    bool m_bFilled = false;
};
