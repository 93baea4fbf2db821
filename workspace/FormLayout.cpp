#include "workspace/FormLayout.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "workspace/ResultTabs.h"
#include "workspace/TabCtrl.h"

namespace
{
const QString kSettings = QString::fromUtf16(kSettingsSection);
const QString kExtendedKey = QStringLiteral("Extended");
} // namespace

CFormLayout::CFormLayout(QWidget *form, const SFormControls &controls, CResultTabs &tabs)
    : m_pForm(form)
    , m_ctl(controls)
    , m_tabs(tabs)
{
}

CFormLayout::~CFormLayout() = default;

void CFormLayout::Stretch(int cx)
{
    m_rcList = m_ctl.engines->geometry();
    m_ctl.engines->setGeometry(m_rcList.x(), m_rcList.y(), cx, m_rcList.height());

    // The tab row ends at the form's right edge, where its scroll arrows
    // sit; only the pages reach beyond it.
    m_rcTab = m_ctl.tabs->geometry();
    m_ctl.tabs->setGeometry(m_rcTab.x(), m_rcTab.y(), cx - m_rcTab.x(), m_rcTab.height());
    m_bLaidOut = true;
}

void CFormLayout::Apply()
{
    m_ctl.engines->setVisible(m_bExtended != 0);
    m_rcClient = m_pForm->rect();
    int top = 0;
    if (m_bExtended) {
        top = m_rcList.y() + m_rcList.height();
    } else {
        m_rcMarker = m_ctl.marker->geometry();
        top = m_rcMarker.y() + m_rcMarker.height();
    }
    UpdateExtendButton();
    m_ctl.tabs->setGeometry(m_rcTab.x(), top, m_rcClient.width() - m_rcTab.x(), m_rcTab.height());
    m_rcTab = m_ctl.tabs->geometry();
    m_tabs.PlaceAll();
}

void CFormLayout::Toggle()
{
    m_bExtended = m_bExtended ? 0 : 1;
    Apply();
}

bool CFormLayout::IsExtended() const
{
    return m_bExtended != 0;
}

bool CFormLayout::IsLaidOut() const
{
    return m_bLaidOut;
}

void CFormLayout::UpdateExtendButton()
{
    m_ctl.extend->setText(m_bExtended ? QStringLiteral("-") : QStringLiteral("+"));
}

void CFormLayout::ReadExtended()
{
    m_bExtended = GetProfileInt(kSettings, kExtendedKey, 0) != 0 ? 1 : 0;
}

void CFormLayout::WriteExtended() const
{
    WriteProfileInt(kSettings, kExtendedKey, m_bExtended == 1 ? 1 : 0);
}
