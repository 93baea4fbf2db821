#include "controls/HyperLinkLabel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>

#include "platform/MessageBox.h"
#include "platform/ShellOpen.h"

CHyperLinkLabel::CHyperLinkLabel(QWidget *parent)
    : QLabel(parent)
    , m_clrHover(palette().color(QPalette::Active, QPalette::Highlight))
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

CHyperLinkLabel::~CHyperLinkLabel() = default;

void CHyperLinkLabel::Attach()
{
    if (m_strTarget.isEmpty())
        m_strTarget = text();
    if (text().isEmpty())
        setText(m_strTarget);
    m_bAttached = true;
    ApplyFont();
    ApplyColor();
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setToolTip(m_strTarget);
}

bool CHyperLinkLabel::IsAttached() const
{
    return m_bAttached;
}

void CHyperLinkLabel::SetTarget(const QString &target)
{
    m_strTarget = target;
    if (!m_bAttached)
        return;
    FitToText();
    setToolTip(m_strTarget);
}

QString CHyperLinkLabel::GetTarget() const
{
    return m_strTarget;
}

void CHyperLinkLabel::SetVisited(bool visited)
{
    m_bVisited = visited;
    if (m_bAttached)
        ApplyColor();
}

bool CHyperLinkLabel::IsVisited() const
{
    return m_bVisited;
}

void CHyperLinkLabel::SetUnderlined(bool underlined)
{
    m_bUnderlined = underlined;
    if (m_bAttached)
        ApplyFont();
}

bool CHyperLinkLabel::IsUnderlined() const
{
    return m_bUnderlined;
}

bool CHyperLinkLabel::IsHovering() const
{
    return m_bHovering;
}

QColor CHyperLinkLabel::TextColor() const
{
    if (m_bHovering)
        return m_clrHover;
    return m_bVisited ? m_clrVisited : m_clrLink;
}

QRect CHyperLinkLabel::FitRectToText(const QRect &rect, const QSize &textSize, Qt::Alignment alignment)
{
    int left = rect.x();
    int top = rect.y();
    int right = rect.x() + rect.width();
    int bottom = rect.y() + rect.height();

    if (alignment & Qt::AlignVCenter) {
        const int shrink = (rect.height() - textSize.height()) / 2;
        top += shrink;
        bottom -= shrink;
    } else {
        bottom = top + textSize.height();
    }

    if (alignment & Qt::AlignHCenter) {
        const int shrink = (rect.width() - textSize.width()) / 2;
        left += shrink;
        right -= shrink;
    } else if (alignment & Qt::AlignRight) {
        left = right - textSize.width();
    } else {
        right = left + textSize.width();
    }
    return {left, top, right - left, bottom - top};
}

QString CHyperLinkLabel::OpenFailureText(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred. ");
    case 27:
        return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28:
        return QStringLiteral("The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.");
    case 31:
        return QStringLiteral("There is no application associated\nwith the given filename extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return QStringLiteral("Unknown Error (%1) occurred.").arg(code);
    }
}

void CHyperLinkLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    SetHovering(true);
}

void CHyperLinkLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    SetHovering(false);
}

void CHyperLinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);
    // While a button is held the label keeps the pointer, so it can see the
    // pointer outside its rectangle before any leave event.
    SetHovering(rect().contains(event->position().toPoint()));
}

void CHyperLinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_bPressed = true;
    event->accept();
}

void CHyperLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_bPressed) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_bPressed = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        OnClicked();
}

void CHyperLinkLabel::FitToText()
{
    if (!m_bAttached || !m_bFitToText)
        return;
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(text()), metrics.height());
    setGeometry(FitRectToText(geometry(), textSize, alignment()));
}

void CHyperLinkLabel::ApplyFont()
{
    QFont linkFont = font();
    linkFont.setUnderline(m_bUnderlined);
    setFont(linkFont);
    update();
}

void CHyperLinkLabel::ApplyColor()
{
    const QColor color = TextColor();
    if (palette().color(QPalette::WindowText) == color)
        return;
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, color);
    setPalette(colors);
}

void CHyperLinkLabel::SetHovering(bool hovering)
{
    if (!m_bAttached || m_bHovering == hovering)
        return;
    m_bHovering = hovering;
    ApplyColor();
    repaint();
}

void CHyperLinkLabel::OnClicked()
{
    // A click while the registered browser is still being looked up waits
    // for that answer instead of opening the target twice.
    if (m_bOpening)
        return;
    // The answer may come later (the registered browser asked for); the
    // window goes on meanwhile.
    m_bOpening = true;
    ShellExecuteOpen(m_strTarget, this, [this](int code) {
        m_bOpening = false;
        const bool opened = code > SHELL_OPEN_LAST_ERROR;
        SetVisited(opened);
        if (!opened) {
            QApplication::beep();
            ReportOpenFailure(code);
        }
    });
}

bool CHyperLinkLabel::IsOpening() const
{
    return m_bOpening;
}

void CHyperLinkLabel::ReportOpenFailure(int code)
{
    AfxMessageBox(QStringLiteral("Unable to open hyperlink:\n\n") + OpenFailureText(code), MB_ICONEXCLAMATION);
}
