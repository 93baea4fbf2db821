#include "preferences/BrowsingData.h"

#include <QString>

#include "platform/Installed.h"
#include "platform/MessageBox.h"

IBrowsingData::~IBrowsingData() = default;

bool HasBrowsingData()
{
    return CInstalled<IBrowsingData>::Installed() != nullptr;
}

bool ClearBrowsingDataWithConfirmation()
{
    IBrowsingData *data = CInstalled<IBrowsingData>::Installed();
    if (!data)
        return false;
    const QString question = QStringLiteral(
        "Clear the cookies, cache, site storage and visited links of the result pages?\n"
        "Search engines will ask again for consent, sign-in and preferences.");
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    data->Clear();
    return true;
}
