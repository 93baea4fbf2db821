#pragma once

#include <QRect>
#include <QtGlobal>

#include "workspace/FormTemplate.h"

class CResultTabs;

// How the form follows the window and the "-"/"+" button. The engine list
// and the tab row stretch to the form's width (the list even while hidden,
// so it shows at full width later); the pages take the page rectangle under
// the tabs. Extended, the list is shown and the tabs sit under it;
// collapsed, the list is hidden and the tabs move up to the lower edge of
// the hidden marker control. Whether the list is shown is kept in the
// profile from one run to the next.
class CFormLayout final
{
public:
    CFormLayout(QWidget *form, const SFormControls &controls, CResultTabs &tabs);
    ~CFormLayout();
    Q_DISABLE_COPY_MOVE(CFormLayout)

    // Stretches the list and the tab row to the form's new width `cx`,
    // recording their rectangles first.
    void Stretch(int cx);
    // Shows or hides the list, moves the tabs and gives every page the page
    // rectangle under them.
    void Apply();
    // Flips between extended and collapsed and applies it.
    void Toggle();

    bool IsExtended() const;
    // Stretch has recorded the list's and the tab row's rectangles.
    bool IsLaidOut() const;
    // The "-"/"+" text of the extend button for the current state.
    void UpdateExtendButton();

    // "Extended" of the profile's settings; any nonzero value means shown.
    void ReadExtended();
    void WriteExtended() const;

private:
    QWidget *m_pForm;
    SFormControls m_ctl;
    CResultTabs &m_tabs;
    int m_bExtended = 0;
    bool m_bLaidOut = false;
    QRect m_rcClient;
    QRect m_rcMarker;
    QRect m_rcList;
    QRect m_rcTab;
};
