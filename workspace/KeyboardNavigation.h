#pragma once

#include <QList>
#include <QtGlobal>

#include "workspace/FormTemplate.h"

class CCommandTarget;
class CFindBar;
class CResultTabs;
class QWidget;

// The form's keyboard commands: the result tabs (next, previous, by number,
// the last), the focus (the keyword box with its text selected, and the
// panes in turn: keyword box, engine list when shown, the page shown), find
// in the page shown, which text size is checked, and the keys for the Stop
// and "-"/"+" buttons. A tab chosen here goes
// through the tab row's selection change, as a click does.
class CKeyboardNavigation final
{
public:
    // `view` holds the controls and the pages.
    CKeyboardNavigation(QWidget *view, const SFormControls &controls, CResultTabs &tabs);
    ~CKeyboardNavigation();
    Q_DISABLE_COPY_MOVE(CKeyboardNavigation)

    // Adds the handlers to the view's commands, bound to the view's lifetime.
    void RegisterCommands(CCommandTarget &commands);

    // Next or previous tab, wrapping at the ends; with none selected, the
    // first or the last.
    void StepTab(int step);
    // Tab `index` (from 0) when it exists; -1: the last tab.
    void SelectTab(int index);
    void FocusKeywords();
    // The focus goes to the next (or previous) pane after the one holding
    // it; from outside every pane, to the first (or last).
    void StepPane(int step);

    CFindBar *FindBar() const;

private:
    QList<QWidget *> Panes() const;
    void FocusPane(QWidget *pane);

    QWidget *m_pView;
    SFormControls m_ctl;
    CResultTabs &m_tabs;
    CFindBar *m_pFindBar;
};
