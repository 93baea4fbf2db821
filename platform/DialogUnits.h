#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>

class QLabel;
class QWidget;

// Dialog templates are laid out in dialog units: a quarter of the dialog
// font's average character width horizontally and an eighth of its height
// vertically, so a form keeps its proportions with any font.

// The font of every dialog template: the platform's user-interface font at 9 points.
QFont DialogFont();

// The base units of a font: average character width and character height in pixels.
QSize DialogBaseUnits(const QFont &font);

int DluToPixelsX(int dlu, const QFont &font);
int DluToPixelsY(int dlu, const QFont &font);

// x, y, width, height in dialog units to a pixel rectangle.
QRect DluRectToPixels(int x, int y, int width, int height, const QFont &font);

// A static text of a template: plain text, aligned top-left, at `rect` (pixels).
QLabel *CreateStaticText(const QString &text, const QRect &rect, QWidget *parent);

// A picture of a template: the pixmap at its own size, its top-left at `position`.
QLabel *CreatePicture(const QPixmap &pixmap, const QPoint &position, QWidget *parent);
