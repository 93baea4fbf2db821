#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

// The program's pictures, drawn in code so that no binary image lives in the
// source tree. Ids are those of res/ResourceIds.h.

// Bitmaps: 165 (About banner, 420 x 32), 261 and 262 (toolbar strips of 15
// images of 22 x 20 each, normal and under the pointer, magenta where
// transparent), 263 (settings line, 401 x 1). An unknown id gives a null pixmap.
QPixmap LoadResBitmap(int id);

// Image `index` (0 to 14) of strip 261 or 262, with magenta made transparent.
QPixmap ToolbarImage(int stripId, int index);

// The application icon (resource 128), at several sizes.
QIcon LoadAppIcon();

// The busy animation (resource 103): 16 frames of 22 x 22; frame 0 reads as idle.
QList<QImage> LoadAnimationFrames();
inline constexpr int kAnimationFrameMs = 100;
