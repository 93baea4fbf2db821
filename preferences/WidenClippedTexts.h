#pragma once

class QWidget;

// Widens the texts and check boxes among the direct children of `container`
// whose captions the template's widths cut off (the platform's font may run
// wider than the one the templates were drawn for), as far as the next
// control to their right on the same row, or the container's edge, allows.
void WidenClippedTexts(QWidget *container);
