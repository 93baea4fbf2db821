#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

// The program's pictures. The toolbar images, the application icon and the
// busy animation are drawn in code; the About banner and the settings line
// are SVG drawings in the resource file Images.qrc. No binary image lives in
// the source tree. Ids are those of res/ResourceIds.h.

// Bitmaps: 165 (About banner, 420 x 32), 261 and 262 (toolbar strips of 15
// images of 22 x 20 each, normal and under the pointer, magenta where
// transparent), 263 (settings line, 401 x 1). An unknown id gives a null pixmap.
QPixmap LoadResBitmap(int id);

// Image `index` (0 to 14) of strip 261 or 262, with magenta made transparent.
QPixmap ToolbarImage(int stripId, int index);

// The icon of toolbar image `index` (0 to 14): the desktop icon theme's icon
// of the same meaning (ToolbarIconName) where the theme has one, else the
// drawn image, lit under the pointer. A null icon for an index out of range.
QIcon LoadToolbarIcon(int index);
// The freedesktop icon name for toolbar image `index`; empty out of range.
QString ToolbarIconName(int index);

// The application icon (resource 128), at several sizes.
QIcon LoadAppIcon();

// The busy animation (resource 103): 16 frames of 22 x 22; frame 0 reads as idle.
QList<QImage> LoadAnimationFrames();
inline constexpr int kAnimationFrameMs = 100;
