#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

// The program's pictures. The toolbar's pictures, the application's mark,
// the About banner and the settings line are SVG drawings in the resource
// file Images.qrc; the busy animation is drawn in code. Ids are those of
// res/ResourceIds.h.

// Bitmaps 165 (About banner, 420 x 32) and 263 (settings line, 401 x 1); a
// null pixmap for any other id.
QPixmap LoadResBitmap(int id);

// The toolbar picture with the freedesktop icon name `name`: the desktop
// icon theme's icon where the theme has one, else the program's own drawing
// (22 x 20). A null icon for a name the program has no drawing of.
QIcon LoadToolbarIcon(const QString &name);

// The application icon (resource 128), at several sizes; res/quaerio.svg is
// also the desktop's icon.
QIcon LoadAppIcon();

// The busy animation (resource 103): 16 frames of 22 x 22; frame 0 reads as idle.
QList<QImage> LoadAnimationFrames();
inline constexpr int kAnimationFrameMs = 100;
