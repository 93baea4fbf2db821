#pragma once

#include <QDialog>

#include "controls/HyperLinkLabel.h"

class QPushButton;

// The About box: the program's name and version and four links (the
// product's home page, the maker's home page, the author's mail address and
// blog). Build one per opening, so no link shows as visited when it opens:
// `CAboutDlg dlg; dlg.exec();`.
class CAboutDlg final : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
    ~CAboutDlg() override;
    Q_DISABLE_COPY_MOVE(CAboutDlg)

    CHyperLinkLabel *ProductHomeLink();
    CHyperLinkLabel *MakerHomeLink();
    CHyperLinkLabel *AuthorMailLink();
    CHyperLinkLabel *AuthorBlogLink();

private:
    void OnInitDialog();
    void FitWidthToLinks();

    CHyperLinkLabel m_lnkMakerHome;
    CHyperLinkLabel m_lnkAuthorBlog;
    CHyperLinkLabel m_lnkAuthorMail;
    CHyperLinkLabel m_lnkProductHome;
    QPushButton *m_btnOk = nullptr;
};
