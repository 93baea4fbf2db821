#pragma once

#include <QString>

// Message boxes in the manner the program's texts expect: a fixed text, the
// application's name as caption, an icon and a set of buttons. The box itself
// is shown by the installed platform services (platform/PlatformServices.h),
// which tests replace to record each call and answer at once.

inline constexpr unsigned MB_OK = 0x0000;
inline constexpr unsigned MB_OKCANCEL = 0x0001;
inline constexpr unsigned MB_YESNO = 0x0004;
inline constexpr unsigned MB_ICONHAND = 0x0010;
inline constexpr unsigned MB_ICONQUESTION = 0x0020;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
inline constexpr unsigned MB_ICONASTERISK = 0x0040;
inline constexpr unsigned MB_TYPEMASK = 0x000F;
inline constexpr unsigned MB_ICONMASK = 0x00F0;

inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxCall
{
    QString caption;
    QString text;
    unsigned type = MB_OK; // buttons and icon, after the default icon was applied
};

// Shows a modal message box and returns the id of the button pressed (IDOK,
// IDCANCEL, IDYES, IDNO). With no icon in `type`, OK and OK/Cancel boxes get
// the exclamation icon.
int AfxMessageBox(const QString &text, unsigned type = MB_OK);
