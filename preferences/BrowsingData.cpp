#include "preferences/BrowsingData.h"

#include <QString>

#include "platform/MessageBox.h"

namespace {

ClearBrowsingDataHandler &Handler()
{
    static ClearBrowsingDataHandler handler;
    return handler;
}

} // namespace

ClearBrowsingDataHandler SetClearBrowsingDataHandler(ClearBrowsingDataHandler handler)
{
    ClearBrowsingDataHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

bool HasClearBrowsingDataHandler()
{
    return static_cast<bool>(Handler());
}

bool ClearBrowsingDataWithConfirmation()
{
    if (!Handler())
        return false;
    const QString question = QStringLiteral(
        "Clear the cookies, cache, site storage and visited links of the result pages?\n"
        "Search engines will ask again for consent, sign-in and preferences.");
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    Handler()();
    return true;
}
