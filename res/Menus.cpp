#include "res/Menus.h"

#include "res/ResourceIds.h"

namespace
{
constexpr SMenuItem kSeparator{};

const SMenuItem kFontItems[] = {
    {u"Lar&gest", ID_FONT_LARGEST}, {u"&Larger", ID_FONT_LARGER},     {u"&Medium", ID_FONT_MEDIUM},
    {u"&Smaller", ID_FONT_SMALLER}, {u"Sm&allest", ID_FONT_SMALLEST},
};
const SMenu kFontMenu{u"Font", kFontItems};

const SMenuItem kFileItems[] = {
    {u"&New Search", ID_FILE_NEW},
    kSeparator,
    {u"&Save\tCtrl+S", ID_FILE_SAVE},
    kSeparator,
    {u"&Print...\tCtrl+P", ID_FILE_PRINT},
    {u"Print Pre&view", ID_FILE_PRINT_PREVIEW},
    {u"P&rint Setup...", ID_FILE_PRINT_SETUP},
    kSeparator,
    {u"E&xit", ID_APP_EXIT},
};

const SMenuItem kGoItems[] = {
    {u"&Back\tAlt + Left", ID_GO_BACK},
    {u"&Forward\tAlt + Right", ID_GO_FORWARD},
};

// After Refresh, the keyboard's ways to the text sizes and the engine list.
const SMenuItem kViewItems[] = {
    {u"S&top", ID_VIEW_STOP},
    {u"&Refresh", ID_VIEW_REFRESH},
    {u"Te&xt Size", 0, false, &kFontMenu},
    {u"Engine &List\tCtrl+Shift+E", ID_VIEW_ENGINE_LIST, true},
    kSeparator,
    {u"&Toolbar", ID_VIEW_TOOLBAR, true},
    {u"&Status Bar", ID_VIEW_STATUS_BAR, true},
    kSeparator,
    {u"S&etting...", ID_VIEW_SETTING},
    {u"E&ngines...", ID_VIEW_ENGINES},
    {u"&Add This Engine...", ID_VIEW_ADD_ENGINE},
    {u"Restore the S&hipped Engines", ID_VIEW_RESTORE_ENGINES},
    {u"Clear &Browsing Data...", ID_VIEW_CLEAR_BROWSING_DATA},
};

// The menu of a result tab: commands on the page under it.
const SMenuItem kTabItems[] = {
    {u"&Refresh", ID_VIEW_REFRESH},
    {u"S&top", ID_VIEW_STOP},
    kSeparator,
    {u"&Add This Engine...", ID_VIEW_ADD_ENGINE},
};
const SMenu kTabMenu{u"Result Tab", kTabItems};

const SMenuItem kHelpItems[] = {
    {u"&Homepage", ID_HELP_HOMEPAGE},
    {u"&Support", ID_HELP_SUPPORT},
    {u"Tavistel &Online", ID_HELP_MAKER},
    kSeparator,
    {u"&About...", ID_APP_ABOUT},
};

const SMenu kMainMenu[] = {
    {u"&File", kFileItems},
    {u"&Go", kGoItems},
    {u"&View", kViewItems},
    {u"&Help", kHelpItems},
};

const SToolButton kToolBar[] = {
    {ID_INPUT_NEW_KEYWORD, IDS_LABEL_NEW, u"document-new"},
    {0, 0, nullptr},
    {ID_GO_BACK, IDS_LABEL_BACK, u"go-previous"},
    {ID_GO_FORWARD, IDS_LABEL_FORWARD, u"go-next"},
    {ID_VIEW_STOP, IDS_LABEL_STOP, u"process-stop"},
    {ID_VIEW_REFRESH, IDS_LABEL_REFRESH, u"view-refresh"},
    {ID_FONT_DROPDOWN, IDS_LABEL_FONT, u"preferences-desktop-font"},
    {0, 0, nullptr},
    {ID_VIEW_SETTING, IDS_SETTING_LABEL, u"preferences-system"},
    {ID_APP_ABOUT, IDS_LABEL_ABOUT, u"help-about"},
};

const SAccelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},         {Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
    {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},   {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},      {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
    {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE}, {Qt::ALT | Qt::Key_Left, ID_GO_BACK},
    {Qt::ALT | Qt::Key_Right, ID_GO_FORWARD},
};
} // namespace

std::span<const SMenu> MainMenu()
{
    return kMainMenu;
}

const SMenu &FontMenu()
{
    return kFontMenu;
}

const SMenu &TabMenu()
{
    return kTabMenu;
}

std::span<const SToolButton> MainToolBar()
{
    return kToolBar;
}

std::span<const SAccelerator> MainAccelerators()
{
    return kAccelerators;
}
