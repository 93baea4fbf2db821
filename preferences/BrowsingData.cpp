#include "preferences/BrowsingData.h"

#include <QString>

#include "platform/MessageBox.h"

namespace
{
IBrowsingData *g_pBrowsingData = nullptr;
} // namespace

IBrowsingData::~IBrowsingData() = default;

IBrowsingData *InstallBrowsingData(IBrowsingData *data)
{
    IBrowsingData *previous = g_pBrowsingData;
    g_pBrowsingData = data;
    return previous;
}

bool HasBrowsingData()
{
    return g_pBrowsingData != nullptr;
}

bool ClearBrowsingDataWithConfirmation()
{
    if (!g_pBrowsingData)
        return false;
    const QString question = QStringLiteral(
        "Clear the cookies, cache, site storage and visited links of the result pages?\n"
        "Search engines will ask again for consent, sign-in and preferences.");
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    g_pBrowsingData->Clear();
    return true;
}
