#include "workspace/FindBar.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "browsers/ResultBrowser.h"
#include "workspace/ResultTabs.h"
#include "workspace/TabCtrl.h"

namespace
{
// Space kept between the bar and the view's right and bottom edges.
constexpr int kMargin = 4;
constexpr int kEditWidthChars = 24;
// Typing searches once the keys pause this long: a browser engine may never
// answer a search that the next key overtook.
constexpr int kTypingPauseMs = 150;

QToolButton *AddButton(QWidget *bar, QLayout *layout, const QString &text, const QString &name)
{
    auto *button = new QToolButton(bar);
    button->setText(text);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(button);
    return button;
}

void StopFindingIn(CWebBrowser2 *page)
{
    if (page && page->Control())
        page->Control()->StopFinding();
}

bool IsEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}
} // namespace

CFindBar::CFindBar(QWidget *view, CResultTabs &tabs, CTabCtrl *tabRow)
    : QWidget(view)
    , m_tabs(tabs)
{
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find in page"));
    setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, 2, kMargin, 2);

    m_edit = new QLineEdit(this);
    m_edit->setAccessibleName(QStringLiteral("Find in page"));
    m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * kEditWidthChars);
    m_edit->installEventFilter(this);
    layout->addWidget(m_edit);
    // Read out by its text ("2 of 5"), which the label announces as it
    // changes.
    m_result = new QLabel(this);
    layout->addWidget(m_result);
    m_previous = AddButton(this, layout, QStringLiteral("\u25B2"), QStringLiteral("Previous match"));
    m_next = AddButton(this, layout, QStringLiteral("\u25BC"), QStringLiteral("Next match"));
    m_close = AddButton(this, layout, QStringLiteral("\u2715"), QStringLiteral("Close find bar"));
    installEventFilter(this);

    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(kTypingPauseMs);
    connect(m_typing, &QTimer::timeout, this, [this] { Find(false); });
    connect(m_edit, &QLineEdit::textEdited, m_typing, qOverload<>(&QTimer::start));
    connect(m_previous, &QToolButton::clicked, this, [this] { Find(true); });
    connect(m_next, &QToolButton::clicked, this, [this] { Find(false); });
    connect(m_close, &QToolButton::clicked, this, [this] { Close(); });
    // Runs after the view has shown the newly chosen page.
    connect(tabRow, &CTabCtrl::SelChange, this, [this] { OnTabChanged(); });
    view->installEventFilter(this);
    hide();
}

CFindBar::~CFindBar() = default;

CWebBrowser2 *CFindBar::Page() const
{
    return m_tabs.Current();
}

QString CFindBar::Text() const
{
    return m_edit->text();
}

QString CFindBar::ResultText() const
{
    return m_result->text();
}

void CFindBar::Open()
{
    Place();
    show();
    raise();
    m_edit->selectAll();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    if (!m_edit->text().isEmpty() && !m_searched)
        Find(false);
}

void CFindBar::Close()
{
    StopFindingIn(m_searched);
    m_searched = nullptr;
    ++m_nSearch;
    m_typing->stop();
    ShowResult(0, -1);
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    if (hadFocus)
        m_tabs.FocusCurrent();
}

void CFindBar::FindAgain(bool backward)
{
    if (isHidden())
        Open();
    if (!m_edit->text().isEmpty())
        Find(backward);
}

void CFindBar::Find(bool backward)
{
    m_typing->stop();
    CWebBrowser2 *page = Page();
    if (m_searched != page)
        StopFindingIn(m_searched);
    m_searched = nullptr;
    const quint64 search = ++m_nSearch;
    const QString text = m_edit->text();
    if (!page || !page->Control() || text.isEmpty()) {
        StopFindingIn(page);
        ShowResult(0, -1);
        return;
    }
    m_searched = page;
    QPointer<CFindBar> self(this);
    page->Control()->FindText(text, backward, [self, search](const IBrowserControl::FindResult &result) {
        if (self && self->m_nSearch == search)
            self->ShowResult(result.activeMatch, result.numberOfMatches);
    });
}

void CFindBar::ShowResult(int active, int total)
{
    QString text;
    if (total == 0)
        text = QStringLiteral("No matches");
    else if (total > 0)
        text = QStringLiteral("%1 of %2").arg(active).arg(total);
    m_result->setText(text);
}

void CFindBar::OnTabChanged()
{
    if (isHidden() || m_edit->text().isEmpty())
        return;
    Find(false);
}

void CFindBar::Place()
{
    const QWidget *view = parentWidget();
    const QSize size = sizeHint();
    setGeometry(view->width() - size.width() - kMargin, view->height() - size.height() - kMargin, size.width(),
                size.height());
}

bool CFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize && !isHidden())
            Place();
        return false;
    }
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Escape and Enter belong to the bar while it has the focus, not to
    // the window's shortcuts (Escape stops a search) nor to the form
    // (Enter searches).
    if (event->type() == QEvent::ShortcutOverride) {
        if (key->key() != Qt::Key_Escape && !IsEnter(key))
            return false;
        event->accept();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        Close();
        return true;
    }
    // Enter anywhere in the bar goes to a match, never to the form's search.
    if (IsEnter(key)) {
        Find(key->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }
    return false;
}
