#include "frame/LockKeys.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(QUAERIO_HAVE_XKB) && QT_CONFIG(xcb)
#define QUAERIO_READ_XKB 1
#include <X11/XKBlib.h>
#endif

#ifdef QUAERIO_READ_XKB
namespace
{
bool namedIndicator(Display *display, const char *name)
{
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0)
        return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on != False;
}
} // namespace
#endif

CLockKeyState ReadLockKeyState()
{
    CLockKeyState state;
#if defined(Q_OS_WIN)
    state.known = true;
    state.caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    state.num = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    state.scroll = (GetKeyState(VK_SCROLL) & 1) != 0;
#elif defined(QUAERIO_READ_XKB)
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (display) {
        state.known = true;
        state.caps = namedIndicator(display, "Caps Lock");
        state.num = namedIndicator(display, "Num Lock");
        state.scroll = namedIndicator(display, "Scroll Lock");
    }
#endif
    return state;
}
