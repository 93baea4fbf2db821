#include "workspace/TabCtrl.h"

#include <QContextMenuEvent>
#include <QStyleOptionTab>

CTabCtrl::CTabCtrl(QWidget *parent)
    : QTabBar(parent)
{
    connect(this, &QTabBar::currentChanged, this, [this](int) {
        if (m_bSilent)
            return;
        m_bNoSelection = false;
        emit SelChange();
    });
    // Clicking the tab that Qt keeps as current while none is selected.
    connect(this, &QTabBar::tabBarClicked, this, [this](int index) {
        if (!m_bNoSelection || index < 0 || index != currentIndex())
            return;
        m_bNoSelection = false;
        update();
        emit SelChange();
    });
}

CTabCtrl::~CTabCtrl() = default;

int CTabCtrl::GetCurSel() const
{
    return m_bNoSelection || count() == 0 ? -1 : currentIndex();
}

void CTabCtrl::SetCurSel(int index)
{
    m_bSilent = true;
    if (index >= 0 && index < count()) {
        m_bNoSelection = false;
        setCurrentIndex(index);
    } else {
        m_bNoSelection = true;
    }
    m_bSilent = false;
    update();
}

void CTabCtrl::SelectByUser(int index)
{
    if (index < 0 || index >= count())
        return;
    // Qt reports no change for the tab it keeps as current while none is
    // selected; a click on it counts all the same.
    if (index == currentIndex() && m_bNoSelection) {
        m_bNoSelection = false;
        update();
        emit SelChange();
        return;
    }
    setCurrentIndex(index);
}

int CTabCtrl::InsertItem(int index, const QString &label)
{
    m_bSilent = true;
    const bool wasEmpty = count() == 0;
    const int inserted = insertTab(index, label);
    setTabToolTip(inserted, label);
    if (wasEmpty)
        m_bNoSelection = true;
    m_bSilent = false;
    return inserted;
}

void CTabCtrl::DeleteAllItems()
{
    m_bSilent = true;
    while (count() > 0)
        removeTab(count() - 1);
    m_bNoSelection = true;
    m_bSilent = false;
}

void CTabCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    const bool byKey = event->reason() == QContextMenuEvent::Keyboard;
    const int index = byKey ? GetCurSel() : tabAt(event->pos());
    if (index < 0)
        return;
    SelectByUser(index);
    emit MenuRequested(byKey ? mapToGlobal(tabRect(index).bottomLeft()) : event->globalPos());
}

void CTabCtrl::initStyleOption(QStyleOptionTab *option, int tabIndex) const
{
    QTabBar::initStyleOption(option, tabIndex);
    if (m_bNoSelection)
        option->state &= ~QStyle::State_Selected;
}
