#include "frame/FrameKeyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <array>

#include "platform/CommandRouter.h"
#include "res/ResourceIds.h"

namespace
{
constexpr auto kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// The tab keys of desktop browsers, the focus keys, find, the text size and
// the engine list.
const CFrameKeyboard::Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_Tab, ID_NEXT_TAB},
    {kCtrlShift | Qt::Key_Tab, ID_PREV_TAB},
    {kCtrlShift | Qt::Key_Backtab, ID_PREV_TAB},
    {Qt::CTRL | Qt::Key_PageDown, ID_NEXT_TAB},
    {Qt::CTRL | Qt::Key_PageUp, ID_PREV_TAB},
    {Qt::ALT | Qt::Key_1, ID_SELECT_TAB_1 + 0},
    {Qt::ALT | Qt::Key_2, ID_SELECT_TAB_1 + 1},
    {Qt::ALT | Qt::Key_3, ID_SELECT_TAB_1 + 2},
    {Qt::ALT | Qt::Key_4, ID_SELECT_TAB_1 + 3},
    {Qt::ALT | Qt::Key_5, ID_SELECT_TAB_1 + 4},
    {Qt::ALT | Qt::Key_6, ID_SELECT_TAB_1 + 5},
    {Qt::ALT | Qt::Key_7, ID_SELECT_TAB_1 + 6},
    {Qt::ALT | Qt::Key_8, ID_SELECT_TAB_1 + 7},
    {Qt::ALT | Qt::Key_9, ID_SELECT_LAST_TAB},
    {Qt::CTRL | Qt::Key_L, ID_FOCUS_KEYWORDS},
    {QKeyCombination(Qt::Key_Escape), ID_STOP_SEARCH},
    {Qt::CTRL | Qt::Key_F, ID_EDIT_FIND},
    {QKeyCombination(Qt::Key_F3), ID_FIND_NEXT},
    {Qt::SHIFT | Qt::Key_F3, ID_FIND_PREVIOUS},
    {Qt::CTRL | Qt::Key_Plus, ID_VIEW_TEXT_LARGER},
    {Qt::CTRL | Qt::Key_Equal, ID_VIEW_TEXT_LARGER},
    {kCtrlShift | Qt::Key_Plus, ID_VIEW_TEXT_LARGER},
    {Qt::CTRL | Qt::Key_Minus, ID_VIEW_TEXT_SMALLER},
    {Qt::CTRL | Qt::Key_0, ID_FONT_MEDIUM},
    {kCtrlShift | Qt::Key_E, ID_VIEW_ENGINE_LIST},
};

// Commands whose keys a focused widget may not keep for itself.
constexpr std::array kReservedCommands = {ID_NEXT_TAB,   ID_PREV_TAB,   ID_SELECT_LAST_TAB, ID_FOCUS_KEYWORDS,
                                          ID_EDIT_FIND,  ID_FIND_NEXT,  ID_FIND_PREVIOUS,   ID_NEXT_PANE,
                                          ID_PREV_PANE};

bool IsReserved(QKeyCombination keys)
{
    if (keys == QKeyCombination(Qt::Key_F6) || keys == (Qt::SHIFT | Qt::Key_F6))
        return true;
    return std::any_of(std::begin(kAccelerators), std::end(kAccelerators), [keys](const auto &accelerator) {
        const int id = accelerator.second;
        const bool reserved = std::find(kReservedCommands.begin(), kReservedCommands.end(), id)
                                  != kReservedCommands.end()
                              || (id >= ID_SELECT_TAB_1 && id < ID_SELECT_TAB_1 + ID_SELECT_TAB_COUNT);
        return reserved && accelerator.first == keys;
    });
}

// The Font menu's commands by text size level, smallest first.
constexpr int kFontCommands[] = {ID_FONT_SMALLEST, ID_FONT_SMALLER, ID_FONT_MEDIUM, ID_FONT_LARGER, ID_FONT_LARGEST};
constexpr int kMediumLevel = 2;
} // namespace

CFrameKeyboard::CFrameKeyboard(QWidget *window)
    : QObject(window)
    , m_pWindow(window)
{
    qApp->installEventFilter(this);
}

CFrameKeyboard::~CFrameKeyboard()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

std::span<const CFrameKeyboard::Accelerator> CFrameKeyboard::Accelerators()
{
    return kAccelerators;
}

int CFrameKeyboard::SteppedFontCommand(const CCommandRouter &router, int step)
{
    int level = kMediumLevel;
    for (int i = 0; i < int(std::size(kFontCommands)); ++i) {
        if (router.Update(kFontCommands[i]).m_bChecked)
            level = i;
    }
    const int next = level + step;
    return next < 0 || next >= int(std::size(kFontCommands)) ? 0 : kFontCommands[next];
}

bool CFrameKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    const auto *widget = static_cast<QWidget *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeyCombination keys(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()));
    if (widget->window() != m_pWindow || !IsReserved(keys))
        return false;
    // Left unaccepted, the override lets the window's shortcut run.
    event->ignore();
    return true;
}
