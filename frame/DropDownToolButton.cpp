#include "frame/DropDownToolButton.h"

#include <QMouseEvent>
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
