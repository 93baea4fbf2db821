#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

class QMainWindow;

// The frame's normal rectangle when nothing is restored: 0, 0, 760, 640.
extern const QRect g_rcDefaultFrame;

// Where the main window opens, and how that is kept: the normal rectangle,
// the minimised or maximised state ("Position", "icon" and "max" in section
// "Settings") and the bar layout (section "Quaerio-Bars"). They are read at
// start-up and written at close while the user keeps positions (the setting
// PreservedPos).
class CFramePlacement final
{
public:
    CFramePlacement() = default;
    Q_DISABLE_COPY_MOVE(CFramePlacement)

    // The first call loads the settings. While positions are kept, the first
    // call takes the normal rectangle from "Position" (the default one when
    // none or no usable one is stored); while they are not, every call
    // takes the default rectangle.
    void SettleRestoreRect();

    // The first call gives `window` its stored state, its normal rectangle
    // (moved onto an attached screen) and its bar layout, and shows it;
    // "icon" and "max" are applied whether or not positions are kept. True
    // then; false on later calls, which change nothing.
    bool ShowFirst(QMainWindow &window);

    // While positions are kept, writes the placement and the bar layout of
    // `window` in one save. The setting in memory counts, also one changed
    // in the settings dialog and not confirmed.
    static void Save(const QMainWindow &window);

private:
    // The normal rectangle that the first ShowFirst applies.
    QRect m_rcRestoreFrame;
    bool m_bFirstSettle = true;
    bool m_bFirstShow = true;
};

// Rectangles below are left, top, right, bottom in screen pixels with right
// and bottom exclusive (right = x + width), the form in which "Position"
// keeps them.

// "%04d %04d %04d %04d" of left, top, right and bottom; -8 gives "-008".
QString FormatFramePosition(const QRect &rect);

// Reads the four numbers at character offsets 0, 5, 10 and 15: optional
// white space, an optional sign and the digits up to the first non-digit; a
// field without digits, or beyond the end of the text, reads as 0. Nothing
// when the text is empty or the numbers give no window: an empty or inverted
// rectangle, or a coordinate outside the range a window can have.
std::optional<QRect> ParseFramePosition(const QString &text);

// A rectangle that overlaps some screen is returned unchanged. One lying
// wholly outside every screen (its monitor was removed) moves to the top-left
// corner of the primary screen's available area, keeping its size where it
// fits there and shrinking to that area where it does not.
QRect FitOntoScreens(const QRect &rect, const QList<QRect> &screens, const QRect &primaryAvailable);
