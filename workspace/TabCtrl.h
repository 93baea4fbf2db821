#pragma once

#include <QTabBar>

// A row of tabs that, like a tab control, may have no tab selected (index -1)
// and reports only the user's selection changes: inserting, removing and
// selecting tabs from code is silent.
class CTabCtrl final : public QTabBar
{
    Q_OBJECT

public:
    explicit CTabCtrl(QWidget *parent = nullptr);
    ~CTabCtrl() override;
    Q_DISABLE_COPY_MOVE(CTabCtrl)

    // The selected tab, -1 when none is.
    int GetCurSel() const;
    // Selects tab `index` (-1: none) without reporting a change.
    void SetCurSel(int index);
    // Selects tab `index` as a click on it would, reporting the change.
    void SelectByUser(int index);
    int InsertItem(int index, const QString &label);
    void DeleteAllItems();

signals:
    // The user chose another tab (or the first one after none was selected).
    void SelChange();
    // The user asked for a tab's menu (the right button, or the menu key on
    // the selected tab); the tab is selected first. `globalPos`: where the
    // menu opens.
    void MenuRequested(const QPoint &globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void initStyleOption(QStyleOptionTab *option, int tabIndex) const override;

private:
    bool m_bNoSelection = true;
    bool m_bSilent = false;
};
