#pragma once

#include <QPointer>
#include <QWidget>

class CResultTabs;
class CTabCtrl;
class CWebBrowser2;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

// Find in the page shown: a small bar over the lower right corner of the
// result page. Typing searches as one types (once the keys pause); Enter goes to the next match
// and Shift+Enter to the previous; the bar shows "n of m" or "No matches".
// Escape closes it and clears the highlight. The text stays when the user
// switches tabs, and is searched again in the page then shown.
class CFindBar final : public QWidget
{
    Q_OBJECT

public:
    // `view` holds the bar and the pages; `tabs` names the page shown and
    // `tabRow` reports the user's tab changes.
    CFindBar(QWidget *view, CResultTabs &tabs, CTabCtrl *tabRow);
    ~CFindBar() override;
    Q_DISABLE_COPY_MOVE(CFindBar)

    // Shows the bar with its text selected and the focus in it; a text
    // kept from before is searched again.
    void Open();
    // Clears the highlight, hides the bar and gives the focus to the page.
    void Close();
    // The next (or previous) match of the text; opens the bar first when
    // it is closed.
    void FindAgain(bool backward);

    QString Text() const;
    // "n of m", "No matches", or empty while there is nothing to find.
    QString ResultText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Find(bool backward);
    void ShowResult(int active, int total);
    void OnTabChanged();
    void Place();
    CWebBrowser2 *Page() const;

    CResultTabs &m_tabs;
    QLineEdit *m_edit;
    QLabel *m_result;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_close;
    QTimer *m_typing;
    // The page whose matches are highlighted, to clear them there.
    QPointer<CWebBrowser2> m_searched;
    // Answers to searches older than the last one are dropped.
    quint64 m_nSearch = 0;
};
