#include "workspace/KeyboardNavigation.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "browsers/ResultBrowser.h"
#include "platform/CommandRouter.h"
#include "res/ResourceIds.h"
#include "workspace/FindBar.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/ResultTabs.h"
#include "workspace/TabCtrl.h"

namespace
{
// The Font menu's commands by text size level, smallest first.
constexpr int kFontCommands[] = {ID_FONT_SMALLEST, ID_FONT_SMALLER, ID_FONT_MEDIUM, ID_FONT_LARGER, ID_FONT_LARGEST};
} // namespace

CKeyboardNavigation::CKeyboardNavigation(QWidget *view, const SFormControls &controls, CResultTabs &tabs)
    : m_pView(view)
    , m_ctl(controls)
    , m_tabs(tabs)
    , m_pFindBar(new CFindBar(view, tabs, controls.tabs))
{
    // The bar lies over the lower corner of the page shown.
    m_tabs.SetOverlay(m_pFindBar);
}

CKeyboardNavigation::~CKeyboardNavigation() = default;

void CKeyboardNavigation::RegisterCommands(CCommandTarget &commands)
{
    commands.OnCommand(ID_NEXT_TAB, m_pView, [this] { StepTab(1); });
    commands.OnCommand(ID_PREV_TAB, m_pView, [this] { StepTab(-1); });
    for (int i = 0; i < ID_SELECT_TAB_COUNT; ++i)
        commands.OnCommand(ID_SELECT_TAB_1 + i, m_pView, [this, i] { SelectTab(i); });
    commands.OnCommand(ID_SELECT_LAST_TAB, m_pView, [this] { SelectTab(-1); });
    commands.OnCommand(ID_FOCUS_KEYWORDS, m_pView, [this] { FocusKeywords(); });
    commands.OnCommand(ID_NEXT_PANE, m_pView, [this] { StepPane(1); });
    commands.OnCommand(ID_PREV_PANE, m_pView, [this] { StepPane(-1); });
    commands.OnCommand(ID_EDIT_FIND, m_pView, [this] { m_pFindBar->Open(); });
    commands.OnCommand(ID_FIND_NEXT, m_pView, [this] { m_pFindBar->FindAgain(false); });
    commands.OnCommand(ID_FIND_PREVIOUS, m_pView, [this] { m_pFindBar->FindAgain(true); });
    // Escape and the View menu's Engine List do what the Stop and "-"/"+"
    // buttons do, by pressing them.
    commands.OnCommand(ID_STOP_SEARCH, m_pView, [this] { m_ctl.stop->click(); });
    commands.OnUpdate(ID_STOP_SEARCH, m_pView, [this](CCmdUI &cmdUI) { cmdUI.Enable(m_ctl.stop->isEnabled()); });
    commands.OnCommand(ID_VIEW_ENGINE_LIST, m_pView, [this] { m_ctl.extend->click(); });
    commands.OnUpdate(ID_VIEW_ENGINE_LIST, m_pView,
                      [this](CCmdUI &cmdUI) { cmdUI.SetCheck(!m_ctl.engines->isHidden()); });
    for (int level = 0; level < int(std::size(kFontCommands)); ++level) {
        commands.OnUpdate(kFontCommands[level], m_pView,
                          [this, level](CCmdUI &cmdUI) { cmdUI.SetCheck(m_tabs.TextSize() == level); });
    }
}

void CKeyboardNavigation::StepTab(int step)
{
    const int count = m_ctl.tabs->count();
    if (count == 0)
        return;
    const int current = m_ctl.tabs->GetCurSel();
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step % count + count) % count;
    m_ctl.tabs->SelectByUser(next);
}

void CKeyboardNavigation::SelectTab(int index)
{
    m_ctl.tabs->SelectByUser(index < 0 ? m_ctl.tabs->count() - 1 : index);
}

void CKeyboardNavigation::FocusKeywords()
{
    m_ctl.keywords->setFocus(Qt::ShortcutFocusReason);
    if (QLineEdit *edit = m_ctl.keywords->lineEdit())
        edit->selectAll();
}

QList<QWidget *> CKeyboardNavigation::Panes() const
{
    QList<QWidget *> panes = {m_ctl.keywords};
    if (m_ctl.engines->isVisible() && m_ctl.engines->isEnabled())
        panes.append(m_ctl.engines);
    if (CResultBrowser *page = m_tabs.Current())
        panes.append(page);
    return panes;
}

void CKeyboardNavigation::StepPane(int step)
{
    const QList<QWidget *> panes = Panes();
    const QWidget *focus = QApplication::focusWidget();
    qsizetype current = -1;
    for (qsizetype i = 0; i < panes.size(); ++i) {
        if (focus && (focus == panes.at(i) || panes.at(i)->isAncestorOf(focus)))
            current = i;
    }
    const qsizetype count = panes.size();
    const qsizetype next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    FocusPane(panes.at(next));
}

void CKeyboardNavigation::FocusPane(QWidget *pane)
{
    if (pane == m_ctl.keywords)
        FocusKeywords();
    else if (pane == m_ctl.engines)
        pane->setFocus(Qt::OtherFocusReason);
    else
        m_tabs.FocusCurrent();
}

CFindBar *CKeyboardNavigation::FindBar() const
{
    return m_pFindBar;
}
