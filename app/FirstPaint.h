#pragma once

#include <functional>

class QWidget;

// Calls `call` once, on the user-interface thread, right after `window` has
// been painted for the first time (from the event loop, so the picture is
// out before the call runs), or after `fallbackMs` if no paint comes by then
// (a window that is never painted must not hold the call back for ever).
// Nothing is called once `window` is gone.
void CallAfterFirstPaint(QWidget *window, int fallbackMs, std::function<void()> call);
