#include "res/StringTable.h"

#include <QHash>

#include "res/ResourceIds.h"

const QString kProductHomeUrl = QStringLiteral("https://quaerio.tavistel.example/");
const QString kMakerHomeUrl = QStringLiteral("https://www.tavistel.example/");
const QString kAuthorBlogUrl = QStringLiteral("https://blog.tavistel.example/quaerio/");
const QString kAuthorMailAddress = QStringLiteral("quaerio@tavistel.example");
const QString kMakerDomain = QStringLiteral("tavistel.example");

namespace
{
const QHash<int, QString> &table()
{
    static const QHash<int, QString> strings = {
        {AFX_IDS_APP_TITLE, QStringLiteral("Quaerio")},
        {AFX_IDS_IDLEMESSAGE, QStringLiteral("Ready")},
        {ID_INDICATOR_CAPS, QStringLiteral("CAP")},
        {ID_INDICATOR_NUM, QStringLiteral("NUM")},
        {ID_INDICATOR_SCRL, QStringLiteral("SCRL")},

        {IDS_LABEL_BACK, QStringLiteral("Back")},
        {IDS_LABEL_FORWARD, QStringLiteral("Forward")},
        {IDS_LABEL_STOP, QStringLiteral("Stop")},
        {IDS_LABEL_REFRESH, QStringLiteral("Refresh")},
        {IDS_LABEL_NEW, QStringLiteral("New")},
        {IDS_LABEL_FONT, QStringLiteral("Font")},
        {IDS_SETTING_LABEL, QStringLiteral("Setting")},
        {IDS_LABEL_ABOUT, QStringLiteral("About")},

        {ID_INPUT_NEW_KEYWORD, QStringLiteral("Input new keyword.\nInput new keyword")},
        {ID_GO_BACK, QStringLiteral("Goes back one step.\nBack")},
        {ID_GO_FORWARD, QStringLiteral("Goes forward one step.\nForward")},
        {ID_VIEW_STOP, QStringLiteral("Stops opening a file.\nStop")},
        {ID_VIEW_REFRESH, QStringLiteral("Refreshes the contents of the current page.\nRefresh")},
        {ID_FONT_DROPDOWN, QStringLiteral("Change font size.\nFonts")},
        {ID_VIEW_SETTING, QStringLiteral("Program's options.\nSetting")},
        {ID_VIEW_CLEAR_BROWSING_DATA,
         QStringLiteral("Clears the result pages' cookies, cache, site storage and visited links.\nClear Browsing Data")},
        {ID_APP_ABOUT, QStringLiteral("Display program information, version number and copyright\nAbout")},
        {ID_FONT_LARGEST, QStringLiteral("Selects largest font size.")},
        {ID_FONT_LARGER, QStringLiteral("Selects large font size.")},
        {ID_FONT_MEDIUM, QStringLiteral("Selects medium font size.")},
        {ID_FONT_SMALLER, QStringLiteral("Selects small font size.")},
        {ID_FONT_SMALLEST, QStringLiteral("Selects smallest font size.")},

        {ID_HELP_HOMEPAGE, QStringLiteral("Opens Quaerio's home page.\nHomepage")},
        {ID_HELP_SUPPORT, QStringLiteral("Opens the author's blog for feedback and support.\nSupport")},
        {ID_HELP_MAKER, QStringLiteral("Opens the maker's home page.\nMaker")},

        {ID_FILE_NEW, QStringLiteral("Starts a new search.\nNew Search")},
        {ID_FILE_SAVE, QStringLiteral("Save the active document\nSave")},
        {ID_FILE_PRINT, QStringLiteral("Print the active document\nPrint")},
        {ID_FILE_PRINT_PREVIEW, QStringLiteral("Display full pages\nPrint Preview")},
        {ID_FILE_PRINT_SETUP, QStringLiteral("Change the printer and printing options\nPrint Setup")},
        {ID_APP_EXIT, QStringLiteral("Quit the application; prompts to save documents\nExit")},
        {ID_EDIT_COPY, QStringLiteral("Copy the selection and put it on the Clipboard\nCopy")},
        {ID_EDIT_CUT, QStringLiteral("Cut the selection and put it on the Clipboard\nCut")},
        {ID_EDIT_PASTE, QStringLiteral("Insert Clipboard contents\nPaste")},
        {ID_NEXT_PANE, QStringLiteral("Switch to the next window pane\nNext Pane")},
        {ID_PREV_PANE, QStringLiteral("Switch back to the previous window pane\nPrevious Pane")},
        {ID_VIEW_TOOLBAR, QStringLiteral("Show or hide the toolbar\nToggle ToolBar")},
        {ID_VIEW_STATUS_BAR, QStringLiteral("Show or hide the status bar\nToggle StatusBar")},

        {ID_VIEW_TEXT_LARGER, QStringLiteral("Makes the text of the page shown one size larger.\nLarger Text")},
        {ID_VIEW_TEXT_SMALLER, QStringLiteral("Makes the text of the page shown one size smaller.\nSmaller Text")},
        {ID_VIEW_ENGINE_LIST, QStringLiteral("Shows or hides the engine list.\nEngine List")},
        {ID_NEXT_TAB, QStringLiteral("Shows the next result tab.\nNext Tab")},
        {ID_PREV_TAB, QStringLiteral("Shows the previous result tab.\nPrevious Tab")},
        {ID_SELECT_TAB_1 + 0, QStringLiteral("Shows result tab 1.\nTab 1")},
        {ID_SELECT_TAB_1 + 1, QStringLiteral("Shows result tab 2.\nTab 2")},
        {ID_SELECT_TAB_1 + 2, QStringLiteral("Shows result tab 3.\nTab 3")},
        {ID_SELECT_TAB_1 + 3, QStringLiteral("Shows result tab 4.\nTab 4")},
        {ID_SELECT_TAB_1 + 4, QStringLiteral("Shows result tab 5.\nTab 5")},
        {ID_SELECT_TAB_1 + 5, QStringLiteral("Shows result tab 6.\nTab 6")},
        {ID_SELECT_TAB_1 + 6, QStringLiteral("Shows result tab 7.\nTab 7")},
        {ID_SELECT_TAB_1 + 7, QStringLiteral("Shows result tab 8.\nTab 8")},
        {ID_SELECT_LAST_TAB, QStringLiteral("Shows the last result tab.\nLast Tab")},
        {ID_FOCUS_KEYWORDS, QStringLiteral("Selects the keywords for a new entry.\nKeywords")},
        {ID_STOP_SEARCH, QStringLiteral("Stops the running search.\nStop Search")},
        {ID_EDIT_FIND, QStringLiteral("Finds text in the page shown.\nFind")},
        {ID_FIND_NEXT, QStringLiteral("Goes to the next match in the page shown.\nFind Next")},
        {ID_FIND_PREVIOUS, QStringLiteral("Goes to the previous match in the page shown.\nFind Previous")},
    };
    return strings;
}
} // namespace

QString LoadResString(int id)
{
    return table().value(id);
}

QString CommandPrompt(int id)
{
    const QString text = LoadResString(id);
    return text.section(QLatin1Char('\n'), 0, 0);
}

QString CommandTooltip(int id)
{
    const QString text = LoadResString(id);
    const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'));
    return lineFeed < 0 ? QString() : text.mid(lineFeed + 1);
}
