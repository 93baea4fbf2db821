#include "preferences/GeneralSettingsPage.h"

#include <QCheckBox>
#include <QLabel>

#include "platform/DialogUnits.h"
#include "preferences/AppSettings.h"
#include "preferences/WidenClippedTexts.h"
#include "res/Images.h"
#include "res/ResourceIds.h"

CGeneralSettingsPage::CGeneralSettingsPage(QWidget *parent)
    : QWidget(parent)
{
}

CGeneralSettingsPage::~CGeneralSettingsPage() = default;

bool CGeneralSettingsPage::Create(int templateId, QWidget *parentWnd)
{
    if (templateId != IDD_SETTINGS_GENERAL || m_chkPreservePos)
        return false;

    setParent(parentWnd);
    const QFont font = DialogFont();
    setFont(font);
    resize(DluToPixelsX(194, font), DluToPixelsY(180, font));

    CreateStaticText(QStringLiteral("General settings"), DluRectToPixels(0, 20, 188, 8, font), this);

    CreatePicture(LoadResBitmap(IDB_SETTINGS_LINE), QPoint(DluToPixelsX(0, font), DluToPixelsY(28, font)), this);

    m_chkPreservePos = new QCheckBox(QStringLiteral("Preserve frame size and position"), this);
    m_chkPreservePos->setObjectName(QString::number(IDC_CHK_PRESERVE_POS));
    m_chkPreservePos->setGeometry(DluRectToPixels(4, 36, 184, 10, font));
    connect(m_chkPreservePos, &QCheckBox::clicked, this, [this] { OnPreservePosClicked(); });

    // Three hidden boxes that the template reserves for later options.
    const struct
    {
        int id;
        int y;
        int width;
    } spares[] = {{IDC_CHK_UNUSED1, 50, 184}, {IDC_CHK_UNUSED2, 64, 180}, {IDC_CHK_UNUSED3, 78, 184}};
    for (const auto &spare : spares) {
        auto *box = new QCheckBox(QStringLiteral("none"), this);
        box->setObjectName(QString::number(spare.id));
        box->setGeometry(DluRectToPixels(4, spare.y, spare.width, 10, font));
        box->hide();
    }

    WidenClippedTexts(this);
    hide();
    OnInitDialog();
    return true;
}

bool CGeneralSettingsPage::IsModified() const
{
    return m_bModified;
}

void CGeneralSettingsPage::OnInitDialog()
{
    m_chkPreservePos->setChecked(GetAppSettings()->m_bPreservedPos != 0);
}

void CGeneralSettingsPage::OnPreservePosClicked()
{
    GetAppSettings()->m_bPreservedPos = m_chkPreservePos->isChecked() ? 1 : 0;
    m_bModified = true;
}
