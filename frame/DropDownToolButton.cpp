#include "frame/DropDownToolButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStylePainter>
#include <QStyle>
#include <QStyleOptionToolButton>

CDropDownToolButton::CDropDownToolButton(QWidget *parent)
    : QToolButton(parent)
{
    setPopupMode(QToolButton::MenuButtonPopup);
}

QRect CDropDownToolButton::ArrowRect() const
{
    QStyleOptionToolButton option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
}

void CDropDownToolButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        const QRect arrow = ArrowRect();
        if (arrow.isValid() && arrow.contains(event->position().toPoint())) {
            event->accept();
            emit DropDown();
            return;
        }
    }
    QToolButton::mousePressEvent(event);
}

bool CDropDownToolButton::IsArrowFocused() const
{
    return m_bArrowFocused;
}

void CDropDownToolButton::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool altArrow = modifiers == Qt::AltModifier && (key == Qt::Key_Down || key == Qt::Key_Up);
    const bool onArrow = m_bArrowFocused && modifiers == Qt::NoModifier
                         && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
    if (isEnabled() && (altArrow || onArrow || (key == Qt::Key_F4 && modifiers == Qt::NoModifier))) {
        event->accept();
        emit DropDown();
        return;
    }
    if (modifiers == Qt::NoModifier && (key == Qt::Key_Right || key == Qt::Key_Left)
        && m_bArrowFocused != (key == Qt::Key_Right)) {
        m_bArrowFocused = key == Qt::Key_Right;
        update();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void CDropDownToolButton::focusOutEvent(QFocusEvent *event)
{
    m_bArrowFocused = false;
    QToolButton::focusOutEvent(event);
}

void CDropDownToolButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (!hasFocus() || !m_bArrowFocused)
        return;
    // The focus frame goes round the arrow while the keyboard is there.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = ArrowRect().adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
