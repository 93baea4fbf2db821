#include "app/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "platform/DialogUnits.h"
#include "res/Images.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace
{
// The size at which the icon is shown, as the platform's large icons.
constexpr int kIconPixels = 32;

void placeLink(CHyperLinkLabel &link, int id, const QString &caption, const QRect &rect)
{
    link.setObjectName(QString::number(id));
    link.setText(caption);
    link.setGeometry(rect);
}
} // namespace

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
    , m_lnkMakerHome(this)
    , m_lnkAuthorBlog(this)
    , m_lnkAuthorMail(this)
    , m_lnkProductHome(this)
{
    const QFont font = DialogFont();
    setFont(font);
    setWindowTitle(QStringLiteral("About Quaerio"));
    setFixedSize(DluToPixelsX(183, font), DluToPixelsY(148, font));

    const QPoint iconPosition(DluToPixelsX(8, font), DluToPixelsY(28, font));
    CreatePicture(LoadAppIcon().pixmap(kIconPixels, kIconPixels), iconPosition, this);
    CreateStaticText(QStringLiteral("Quaerio ( Unicode )"), DluRectToPixels(32, 30, 140, 8, font), this);

    m_btnOk = new QPushButton(QStringLiteral("OK"), this);
    m_btnOk->setObjectName(QString::number(IDOK));
    m_btnOk->setGeometry(DluRectToPixels(126, 124, 48, 16, font));
    m_btnOk->setDefault(true);
    connect(m_btnOk, &QPushButton::clicked, this, &CAboutDlg::accept);

    CreatePicture(LoadResBitmap(IDB_ABOUT_BANNER), {0, 0}, this);
    CreateStaticText(QStringLiteral("One query, every engine."), DluRectToPixels(32, 56, 140, 8, font),
            this);
    CreateStaticText(QStringLiteral("Version 1. 2. 4. 2"), DluRectToPixels(32, 44, 140, 8, font), this);

    placeLink(m_lnkAuthorMail, IDC_LNK_AUTHOR_MAIL, QStringLiteral("Author's Mail Box : ") + kAuthorMailAddress,
              DluRectToPixels(8, 96, 168, 8, font));
    placeLink(m_lnkProductHome, IDC_LNK_PRODUCT_HOME,
              QStringLiteral("Get the latest stable release on ") + kMakerDomain + QLatin1Char(' '),
              DluRectToPixels(8, 72, 172, 8, font));
    placeLink(m_lnkMakerHome, IDC_LNK_MAKER_HOME, QStringLiteral("SEARCH ONCE, ASK EVERYONE"),
              DluRectToPixels(8, 108, 170, 8, font));
    placeLink(m_lnkAuthorBlog, IDC_LNK_AUTHOR_BLOG, QStringLiteral("Author's Blog : feedback and recommand coming here"),
              DluRectToPixels(8, 84, 168, 8, font));

    OnInitDialog();
}

CAboutDlg::~CAboutDlg() = default;

CHyperLinkLabel *CAboutDlg::ProductHomeLink()
{
    return &m_lnkProductHome;
}

CHyperLinkLabel *CAboutDlg::MakerHomeLink()
{
    return &m_lnkMakerHome;
}

CHyperLinkLabel *CAboutDlg::AuthorMailLink()
{
    return &m_lnkAuthorMail;
}

CHyperLinkLabel *CAboutDlg::AuthorBlogLink()
{
    return &m_lnkAuthorBlog;
}

void CAboutDlg::OnInitDialog()
{
    // Each link starts with its caption as target, underlined and fitted.
    m_lnkAuthorBlog.Attach();
    m_lnkAuthorMail.Attach();
    m_lnkProductHome.Attach();
    m_lnkMakerHome.Attach();

    const struct
    {
        CHyperLinkLabel *link;
        QString target;
    } targets[] = {
        {&m_lnkProductHome, kProductHomeUrl},
        {&m_lnkMakerHome, kMakerHomeUrl},
        {&m_lnkAuthorMail, QStringLiteral("mailto:") + kAuthorMailAddress},
        {&m_lnkAuthorBlog, kAuthorBlogUrl},
    };
    for (const auto &entry : targets) {
        entry.link->SetTarget(entry.target);
        entry.link->SetUnderlined(false);
    }
    FitWidthToLinks();
}

void CAboutDlg::FitWidthToLinks()
{
    // The platform's font may run wider than the one the box was drawn for:
    // the box grows until no link is cut off, keeping the links' margin on
    // the right and OK at its distance from the right edge.
    int right = 0;
    for (const CHyperLinkLabel *link : {&m_lnkProductHome, &m_lnkMakerHome, &m_lnkAuthorMail, &m_lnkAuthorBlog})
        right = qMax(right, link->x() + link->width());
    const int extra = right + DluToPixelsX(8, font()) - width();
    if (extra <= 0)
        return;
    setFixedSize(width() + extra, height());
    m_btnOk->move(m_btnOk->x() + extra, m_btnOk->y());
}
