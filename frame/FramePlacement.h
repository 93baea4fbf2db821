#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// The frame's stored placement. Rectangles here are left, top, right, bottom
// in screen pixels with right and bottom exclusive (right = x + width), the
// form in which the "Position" value keeps them.

// Show commands of the frame's activation.
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWMINNOACTIVE = 7;

// Placement flags: where a minimised window goes when it is restored.
inline constexpr int WPF_SETMINPOSITION = 1;
inline constexpr int WPF_RESTORETOMAXIMIZED = 2;

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
