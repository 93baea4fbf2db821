#pragma once

// The state of the keyboard's lock keys, as far as the platform tells it.
struct CLockKeyState
{
    bool known = false; // false: the platform gives no way to read them
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

CLockKeyState ReadLockKeyState();
