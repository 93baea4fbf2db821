#pragma once

#include <QHash>
#include <QRect>
#include <QtGlobal>

class CResultBrowser;
class CResultBrowserMap;
class CTabCtrl;
class QWidget;

// The row of engine tabs and the result page shown under the selected tab.
// Every page lies in one rectangle under the tabs; the page shown is on top
// and the page shown before it is hidden by shrinking it to nothing. The
// commands on the page shown (back, forward, stop, refresh, text size) act
// on it alone, and do nothing while there is no page.
//
// Only the page shown is visible: the others are hidden as well as moved
// aside, so neither the Tab key nor assistive technology reaches them.
//
// Whatever chooses another tab (a click, or a key) goes through the tab
// row's selection change, so the view's OnTabChanged runs for each.
class CResultTabs final
{
public:
    // `view` is the parent of the tab row and of every page.
    CResultTabs(QWidget *view, CTabCtrl *tabs, CResultBrowserMap &browsers);
    ~CResultTabs();
    Q_DISABLE_COPY_MOVE(CResultTabs)

    // Where a page lies, for the view and the tab row as they are now: it
    // overlaps the tabs' lower border by one pixel and reaches two pixels
    // beyond the view's left, right and bottom edges, so its own border
    // stays out of sight.
    QRect PageRect() const;

    // The page shown; null until one is chosen, or when its creation failed.
    CResultBrowser *Current() const;
    // Takes `page` as the page shown, leaving every page where it is.
    void SetCurrent(CResultBrowser *page);

    // Hides the page shown so far and shows the selected tab's page (page 0
    // when that one has none) on top at the page rectangle. False when there
    // is no page to show.
    bool ShowSelected();
    // The page shown goes on top at the page rectangle.
    void RaiseCurrent();
    // The page shown takes the page rectangle; the others stay as they are.
    void ResizeCurrent();
    // Every page takes the page rectangle, keeping the stacking order; the
    // page shown (page 0 if none is yet) stays on top.
    void PlaceAll();

    void GoBack();
    void GoForward();
    void StopPage();
    void Refresh();
    // Text size level 0 (smallest) to 4 (largest).
    void SetTextSize(int level);
    // The level last set on the page shown; normal (2) before any.
    int TextSize() const;
    bool IsCurrentBusy() const;
    // `overlay` (a child of the view, may be null) stays above the page
    // shown whenever it is visible.
    void SetOverlay(QWidget *overlay);
    // Gives the keyboard focus to the page shown (its first control that
    // takes focus, else the page). False when there is no page.
    bool FocusCurrent();

private:
    // Hides every page but the one shown and keeps the overlay on top.
    void FinishShowing();

    QWidget *m_pView;
    CTabCtrl *m_tabEngines;
    CResultBrowserMap &m_browsers;
    CResultBrowser *m_pCurBrowser = nullptr;
    QWidget *m_pOverlay = nullptr;
    // Pages live as long as the pool, so their addresses stay valid keys.
    QHash<const CResultBrowser *, int> m_textSizes;
};
