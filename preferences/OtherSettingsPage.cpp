#include "preferences/OtherSettingsPage.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "preferences/AppSettings.h"
#include "preferences/BrowsingData.h"
#include "preferences/WidenClippedTexts.h"
#include "res/Images.h"
#include "res/ResourceIds.h"

namespace
{
constexpr unsigned kMinKeywordsCount = 1;
constexpr unsigned kMaxKeywordsCount = 16;
} // namespace

COtherSettingsPage::COtherSettingsPage(QWidget *parent)
    : QWidget(parent)
{
}

COtherSettingsPage::~COtherSettingsPage()
{
    if (m_edtKeywordsCount)
        m_edtKeywordsCount->removeEventFilter(this);
}

bool COtherSettingsPage::Create(int templateId, QWidget *parentWnd)
{
    if (templateId != IDD_SETTINGS_OTHER || m_edtKeywordsCount)
        return false;

    setParent(parentWnd);
    const QFont font = DialogFont();
    setFont(font);
    resize(DluToPixelsX(194, font), DluToPixelsY(180, font));

    CreateStaticText(QStringLiteral("Other settings"), DluRectToPixels(0, 20, 188, 8, font), this);

    m_chkPreserveKeywords = new QCheckBox(QStringLiteral("Preserve keywords"), this);
    m_chkPreserveKeywords->setObjectName(QString::number(IDC_CHK_PRESERVE_KEYWORDS));
    m_chkPreserveKeywords->setGeometry(DluRectToPixels(4, 36, 68, 10, font));
    connect(m_chkPreserveKeywords, &QCheckBox::clicked, this, [this] { OnPreserveKeywordsClicked(); });

    CreateStaticText(QStringLiteral("Preserve keywords count :"), DluRectToPixels(8, 52, 80, 8, font), this);

    m_edtKeywordsCount = new QLineEdit(this);
    m_edtKeywordsCount->setObjectName(QString::number(IDC_EDT_KEYWORDS_COUNT));
    m_edtKeywordsCount->setGeometry(DluRectToPixels(92, 50, 24, 12, font));
    m_edtKeywordsCount->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edtKeywordsCount));
    m_edtKeywordsCount->setEnabled(false);
    m_edtKeywordsCount->installEventFilter(this);
    connect(m_edtKeywordsCount, &QLineEdit::textEdited, this, [this] { m_bCountChecked = false; });

    CreateStaticText(QStringLiteral("( 1 \uFF5E 16 )"), DluRectToPixels(120, 52, 59, 8, font), this);

    m_chkShowLatestKeyword = new QCheckBox(QStringLiteral("When startup, show the latest Keyword"), this);
    m_chkShowLatestKeyword->setObjectName(QString::number(IDC_CHK_SHOW_LATEST));
    m_chkShowLatestKeyword->setGeometry(DluRectToPixels(8, 66, 172, 10, font));
    m_chkShowLatestKeyword->setEnabled(false);
    connect(m_chkShowLatestKeyword, &QCheckBox::clicked, this, [this] { OnShowLatestKeywordClicked(); });

    auto *clear = new QPushButton(QStringLiteral("Clear Browsing Data..."), this);
    clear->setObjectName(QString::number(IDC_BTN_CLEAR_BROWSING_DATA));
    clear->setGeometry(DluRectToPixels(4, 92, 90, 14, font));
    clear->setEnabled(HasBrowsingData());
    connect(clear, &QPushButton::clicked, this, [] { ClearBrowsingDataWithConfirmation(); });

    auto *spare = new QCheckBox(QStringLiteral("none"), this);
    spare->setObjectName(QString::number(IDC_CHK_UNUSED2));
    spare->setGeometry(DluRectToPixels(4, 130, 180, 10, font));
    spare->hide();

    // The frame and the line lie under the controls and let the pointer through.
    auto *group = new QGroupBox(this);
    group->setGeometry(DluRectToPixels(0, 36, 194, 48, font));
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    group->lower();

    CreatePicture(LoadResBitmap(IDB_SETTINGS_LINE), QPoint(DluToPixelsX(0, font), DluToPixelsY(28, font)), this)->lower();

    WidenClippedTexts(this);
    hide();
    OnInitDialog();
    return true;
}

void COtherSettingsPage::EnableKeywordOptions(bool enable)
{
    m_chkPreserveKeywords->setChecked(enable);
    if (enable) {
        const CAppSettings *settings = GetAppSettings();
        m_nKeywordsCount = static_cast<unsigned>(settings->m_nKeywordsHisCount);
        SetCountText(QString::number(settings->m_nKeywordsHisCount));
        m_chkShowLatestKeyword->setChecked(settings->m_bShowLatestKeyword != 0);
    }
    m_edtKeywordsCount->setEnabled(enable);
    m_chkShowLatestKeyword->setEnabled(enable);
}

bool COtherSettingsPage::CommitKeywordsCount()
{
    if (!m_edtKeywordsCount->isEnabled())
        return true;
    if (!m_bCountChecked)
        OnKeywordsCountKillFocus();
    return m_bCountAccepted;
}

bool COtherSettingsPage::IsModified() const
{
    return m_bModified;
}

unsigned COtherSettingsPage::KeywordsCount() const
{
    return m_nKeywordsCount;
}

bool COtherSettingsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edtKeywordsCount && event->type() == QEvent::FocusOut) {
        // Losing the focus to another window or to a menu is no leaving, nor
        // is the page being shrunk away (its count was checked on the way out).
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible() && isEnabled())
            OnKeywordsCountKillFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void COtherSettingsPage::OnInitDialog()
{
    SetCountText(QString::number(m_nKeywordsCount));
    EnableKeywordOptions(GetAppSettings()->m_bPreservedKeywords != 0);
}

void COtherSettingsPage::OnKeywordsCountKillFocus()
{
    // The message box takes the focus too; that second leave is not checked.
    if (m_bValidating)
        return;
    m_bValidating = true;
    if (ExchangeKeywordsCount()) {
        CAppSettings *settings = GetAppSettings();
        if (static_cast<int>(m_nKeywordsCount) != settings->m_nKeywordsHisCount) {
            m_bModified = true;
            settings->m_nKeywordsHisCount = static_cast<int>(m_nKeywordsCount);
        }
    }
    m_bValidating = false;
}

void COtherSettingsPage::OnPreserveKeywordsClicked()
{
    m_bModified = true;
    const bool checked = m_chkPreserveKeywords->isChecked();
    EnableKeywordOptions(checked);
    GetAppSettings()->m_bPreservedKeywords = checked ? 1 : 0;
}

void COtherSettingsPage::OnShowLatestKeywordClicked()
{
    m_bModified = true;
    GetAppSettings()->m_bShowLatestKeyword = m_chkShowLatestKeyword->isChecked() ? 1 : 0;
}

bool COtherSettingsPage::ExchangeKeywordsCount()
{
    const QString text = m_edtKeywordsCount->text().trimmed();
    bool isNumber = !text.isEmpty();
    for (const QChar c : text)
        isNumber = isNumber && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const unsigned value = isNumber ? text.toUInt(&isNumber) : 0;

    m_bCountChecked = true;
    m_bCountAccepted = isNumber && value >= kMinKeywordsCount && value <= kMaxKeywordsCount;
    if (m_bCountAccepted) {
        m_nKeywordsCount = value;
        return true;
    }

    AfxMessageBox(QStringLiteral("Please enter an integer between %1 and %2.").arg(kMinKeywordsCount).arg(kMaxKeywordsCount),
                  MB_ICONEXCLAMATION);
    m_edtKeywordsCount->setFocus(Qt::OtherFocusReason);
    m_edtKeywordsCount->selectAll();
    return false;
}

void COtherSettingsPage::SetCountText(const QString &text)
{
    m_edtKeywordsCount->setText(text);
    // A count put there by the page is the store's own: nothing to take.
    m_bCountChecked = true;
    m_bCountAccepted = true;
}
