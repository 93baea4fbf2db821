#include "preferences/SettingsDlg.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/DialogUnits.h"
#include "preferences/AppSettings.h"
#include "preferences/WidenClippedTexts.h"
#include "res/ResourceIds.h"

namespace
{
QAccessibleInterface *SettingsPageAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(CGeneralSettingsPage::staticMetaObject.className())
        && className != QLatin1String(COtherSettingsPage::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::PropertyPage);
}

void InstallPageAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(SettingsPageAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
} // namespace

CSettingsDlg::CSettingsDlg(QWidget *parent)
    : QDialog(parent)
{
    const QFont font = DialogFont();
    setFont(font);
    setWindowTitle(QStringLiteral("Settings"));
    setFixedSize(DluToPixelsX(290, font), DluToPixelsY(220, font));

    auto *caption = new QLabel(QStringLiteral("&Categorys"), this);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    caption->setGeometry(DluRectToPixels(8, 8, 31, 8, font));

    m_treePages = new QTreeWidget(this);
    m_treePages->setObjectName(QString::number(IDC_TREE_PAGES));
    m_treePages->setGeometry(DluRectToPixels(8, 20, 72, 160, font));
    m_treePages->setColumnCount(1);
    m_treePages->header()->hide();
    m_treePages->setRootIsDecorated(true);
    m_treePages->setSelectionMode(QAbstractItemView::SingleSelection);
    m_treePages->setAllColumnsShowFocus(true);
    caption->setBuddy(m_treePages);
    m_treePages->setAccessibleName(QStringLiteral("Categorys"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QString::number(IDOK));
    ok->setGeometry(DluRectToPixels(122, 196, 48, 16, font));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::accept);

    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QString::number(IDCANCEL));
    cancel->setGeometry(DluRectToPixels(178, 196, 48, 16, font));
    connect(cancel, &QPushButton::clicked, this, &CSettingsDlg::reject);

    m_wndPageArea = new QLabel(QStringLiteral("1"), this);
    m_wndPageArea->setObjectName(QString::number(IDC_PAGE_AREA));
    m_wndPageArea->setGeometry(DluRectToPixels(88, 0, 194, 180, font));
    m_wndPageArea->hide();

    auto *line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(DluRectToPixels(8, 188, 274, 1, font));
    // An etched line needs two pixel rows to show both of its edges.
    line->resize(line->width(), qMax(line->height(), 2));

    auto *apply = new QPushButton(QStringLiteral("&Apply"), this);
    apply->setObjectName(QString::number(IDC_BTN_APPLY));
    apply->setGeometry(DluRectToPixels(234, 196, 48, 16, font));
    connect(apply, &QPushButton::clicked, this, [this] { OnApply(); });

    WidenClippedTexts(this);
    OnInitDialog();
}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::OnInitDialog()
{
    // The dialog always starts from the stored values.
    GetAppSettings()->Load();

    const QRect area = m_wndPageArea->geometry();
    m_pageGeneral.Create(IDD_SETTINGS_GENERAL, this);
    m_pageGeneral.setGeometry(area.x(), 0, area.width(), area.y() + area.height());
    m_pageGeneral.raise();
    m_pageGeneral.show();

    // Assistive technology reads each page as a property page by its name.
    InstallPageAccessibility();
    m_pageGeneral.setAccessibleName(QStringLiteral("General"));
    m_pageOther.setAccessibleName(QStringLiteral("Other"));
    m_pageOther.Create(IDD_SETTINGS_OTHER, this);
    m_pageOther.move(area.x(), 0);
    m_pageOther.raise();

    auto *general = new QTreeWidgetItem(m_treePages, {QStringLiteral("General")});
    general->setData(0, Qt::UserRole, IDD_SETTINGS_GENERAL);
    auto *other = new QTreeWidgetItem(m_treePages, {QStringLiteral("Other")});
    other->setData(0, Qt::UserRole, IDD_SETTINGS_OTHER);
    connect(m_treePages->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) { OnSelChangedPageTree(selected); });

    m_treePages->setFocus(Qt::OtherFocusReason);
}

void CSettingsDlg::ShowPage(int pageId)
{
    QWidget *shown = nullptr;
    QWidget *shrunk = nullptr;
    if (pageId == IDD_SETTINGS_GENERAL) {
        shown = &m_pageGeneral;
        shrunk = &m_pageOther;
    } else if (pageId == IDD_SETTINGS_OTHER) {
        shown = &m_pageOther;
        shrunk = &m_pageGeneral;
    } else {
        return;
    }

    const QRect area = m_wndPageArea->geometry();
    shrunk->resize(0, 0);
    shrunk->raise();
    // A page once shown stays shown at zero size; Tab must not reach its controls.
    shrunk->setEnabled(false);

    shown->setEnabled(true);
    shown->setGeometry(area.x(), 0, area.width(), area.y() + area.height());
    shown->raise();
    shown->show();
}

QTreeWidget *CSettingsDlg::PageTree() const
{
    return m_treePages;
}

QWidget *CSettingsDlg::PageArea() const
{
    return m_wndPageArea;
}

CGeneralSettingsPage *CSettingsDlg::GeneralPage()
{
    return &m_pageGeneral;
}

COtherSettingsPage *CSettingsDlg::OtherPage()
{
    return &m_pageOther;
}

void CSettingsDlg::accept()
{
    if (!CommitSettings())
        return;
    QDialog::accept();
}

void CSettingsDlg::OnApply()
{
    CommitSettings();
}

void CSettingsDlg::OnSelChangedPageTree(const QItemSelection &selected)
{
    const QModelIndexList indexes = selected.indexes();
    if (indexes.isEmpty())
        return;
    ShowPage(indexes.first().data(Qt::UserRole).toInt());
}

bool CSettingsDlg::CommitSettings()
{
    if (!m_pageOther.CommitKeywordsCount())
        return false;
    if (m_pageGeneral.IsModified() || m_pageOther.IsModified()) {
        CAppSettings *settings = GetAppSettings();
        settings->m_bChanged = 1;
        settings->Save();
    }
    return true;
}
