#include "platform/MessageBox.h"

#include "platform/PlatformServices.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

int AfxMessageBox(const QString &text, unsigned type)
{
    if ((type & MB_ICONMASK) == 0 && ((type & MB_TYPEMASK) == MB_OK || (type & MB_TYPEMASK) == MB_OKCANCEL))
        type |= MB_ICONEXCLAMATION;
    return PlatformServices().MessageBox(MessageBoxCall{LoadResString(AFX_IDS_APP_TITLE), text, type});
}
