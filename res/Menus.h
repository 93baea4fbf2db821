#pragma once

#include <QKeyCombination>

#include <span>
#include <utility>

// The main window's menus, toolbar and accelerator table as data; the frame
// builds its widgets from them. Command ids are those of res/ResourceIds.h.

struct SMenu;

struct SMenuItem
{
    const char16_t *text = nullptr; // the caption, '&' before its mnemonic; null: a separator
    int id = 0;                     // the command it runs
    bool checkable = false;         // shows a check mark while its command is checked
    const SMenu *submenu = nullptr; // opens this menu instead of running a command
};

struct SMenu
{
    const char16_t *title;
    std::span<const SMenuItem> items;
};

// Menu 128, the menu bar: its menus from left to right. The Help menu's third
// item is captioned with the maker's site name.
std::span<const SMenu> MainMenu();

// Menu 132: the five text sizes, which the toolbar's Font button opens.
const SMenu &FontMenu();

// The context menu of a result tab, which acts on the page shown.
const SMenu &TabMenu();

struct SToolButton
{
    int id;              // the command; 0: a separator
    int label;           // the string id of the text under the picture
    const char16_t *icon; // the picture's freedesktop icon name (LoadToolbarIcon)
};

// The toolbar's buttons, left to right; Font (ID_FONT_DROPDOWN) is the
// drop-down button.
std::span<const SToolButton> MainToolBar();

// Accelerator table 128: keys and the command each runs.
using SAccelerator = std::pair<QKeyCombination, int>;
std::span<const SAccelerator> MainAccelerators();
