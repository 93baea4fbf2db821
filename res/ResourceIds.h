#pragma once

// Numeric ids of Quaerio's resources: dialogs, menus, bitmaps, commands,
// controls and strings. The numbers are kept stable because stored settings,
// tests and the command router all key on them.

// Dialog templates
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_QUAERIO_FORM = 101;
inline constexpr int IDD_SETTINGS = 132;
inline constexpr int IDD_SETTINGS_GENERAL = 133;
inline constexpr int IDD_SETTINGS_OTHER = 134;

// Menus, accelerators, icon, toolbar (all share the frame's resource id)
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_FONT_MENU = 132;

// Bitmaps and animation
inline constexpr int IDB_ABOUT_BANNER = 165;
inline constexpr int IDB_SETTINGS_LINE = 263;
inline constexpr int IDR_BUSY_ANIMATION = 103;

// Application-defined commands
inline constexpr int ID_VIEW_SETTING = 32771;
inline constexpr int ID_HELP_HOMEPAGE = 32772;
inline constexpr int ID_HELP_MAKER = 32773;
inline constexpr int ID_HELP_SUPPORT = 32774;
inline constexpr int ID_VIEW_STOP = 32778;
inline constexpr int ID_VIEW_REFRESH = 32779;
inline constexpr int ID_FONT_LARGEST = 32782;
inline constexpr int ID_FONT_LARGER = 32783;
inline constexpr int ID_FONT_MEDIUM = 32786;
inline constexpr int ID_GO_BACK = 32787;
inline constexpr int ID_GO_FORWARD = 32788;
inline constexpr int ID_INPUT_NEW_KEYWORD = 32790;
inline constexpr int ID_FONT_DROPDOWN = 32793;
inline constexpr int ID_FONT_SMALLER = 32803;
inline constexpr int ID_FONT_SMALLEST = 32804;
inline constexpr int IDS_SETTING_LABEL = 32805;
inline constexpr int ID_VIEW_CLEAR_BROWSING_DATA = 32820;

// Keyboard commands: result tabs, focus, text size, the engine list, find
inline constexpr int ID_VIEW_TEXT_LARGER = 32850;
inline constexpr int ID_VIEW_TEXT_SMALLER = 32851;
inline constexpr int ID_VIEW_ENGINE_LIST = 32852;
inline constexpr int ID_NEXT_TAB = 32853;
inline constexpr int ID_PREV_TAB = 32854;
// Tabs 1 to 8 are ID_SELECT_TAB_1 + 0 .. 7.
inline constexpr int ID_SELECT_TAB_1 = 32855;
inline constexpr int ID_SELECT_TAB_COUNT = 8;
inline constexpr int ID_SELECT_LAST_TAB = 32863;
inline constexpr int ID_FOCUS_KEYWORDS = 32864;
inline constexpr int ID_STOP_SEARCH = 32865;
inline constexpr int ID_EDIT_FIND = 32866;
inline constexpr int ID_FIND_NEXT = 32867;
inline constexpr int ID_FIND_PREVIOUS = 32868;

// The engine manager and the user's catalogue
inline constexpr int ID_VIEW_ENGINES = 32869;
inline constexpr int ID_VIEW_RESTORE_ENGINES = 32870;
// The engine the page shown advertises, added to the user's catalogue
inline constexpr int ID_VIEW_ADD_ENGINE = 32871;

// Standard framework commands
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_REBAR = 59396;

// Window ids of the frame's bars
inline constexpr int AFX_IDW_TOOLBAR = 59392;
inline constexpr int AFX_IDW_STATUS_BAR = 59393;
inline constexpr int AFX_IDW_REBAR = 59396;

// Strings
inline constexpr int IDS_LABEL_BACK = 748;
inline constexpr int IDS_LABEL_FORWARD = 749;
inline constexpr int IDS_LABEL_STOP = 750;
inline constexpr int IDS_LABEL_REFRESH = 751;
inline constexpr int IDS_LABEL_NEW = 753;
inline constexpr int IDS_LABEL_FONT = 756;
inline constexpr int IDS_LABEL_ABOUT = 61446;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;

// Controls of the search form (template 101)
inline constexpr int IDC_TAB_ENGINES = 1000;
inline constexpr int IDC_CBO_KEYWORDS = 1001;
inline constexpr int IDC_CBO_CATEGORY = 1002;
inline constexpr int IDC_BTN_SEARCH = 1003;
inline constexpr int IDC_BTN_STOP = 1004;
inline constexpr int IDC_LST_ENGINES = 1005;
inline constexpr int IDC_BTN_EXTEND = 1006;
inline constexpr int IDC_CBO_LANGUAGE = 1010;
inline constexpr int IDC_STC_MARKER = 1012;
inline constexpr int IDC_BTN_DEFAULT = 1014;
inline constexpr int IDC_ANIMATE = 102;

// Controls of the About box (template 100)
inline constexpr int IDC_LNK_PRODUCT_HOME = 1000;
inline constexpr int IDC_LNK_AUTHOR_MAIL = 1002;
inline constexpr int IDC_LNK_AUTHOR_BLOG = 1003;
inline constexpr int IDC_LNK_MAKER_HOME = 1019;

// Controls of the settings dialog (templates 132, 133, 134)
inline constexpr int IDC_CHK_PRESERVE_POS = 1009;
inline constexpr int IDC_TREE_PAGES = 1017;
inline constexpr int IDC_PAGE_AREA = 1021;
inline constexpr int IDC_CHK_UNUSED1 = 1022;
inline constexpr int IDC_CHK_UNUSED2 = 1023;
inline constexpr int IDC_CHK_UNUSED3 = 1024;
inline constexpr int IDC_BTN_APPLY = 1025;
inline constexpr int IDC_CHK_PRESERVE_KEYWORDS = 1026;
inline constexpr int IDC_EDT_KEYWORDS_COUNT = 1027;
inline constexpr int IDC_CHK_SHOW_LATEST = 1029;
inline constexpr int IDC_BTN_CLEAR_BROWSING_DATA = 1040;

// Standard dialog buttons
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
