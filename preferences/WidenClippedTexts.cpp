#include "preferences/WidenClippedTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

void WidenClippedTexts(QWidget *container)
{
    // A small gap keeps a widened text off the control that follows it.
    constexpr int kGap = 2;
    const QList<QWidget *> children = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *widget : children) {
        const auto *label = qobject_cast<QLabel *>(widget);
        const bool isText = label && !label->text().isEmpty();
        if (!isText && !qobject_cast<QCheckBox *>(widget))
            continue;
        const QRect rect = widget->geometry();
        const int needed = widget->sizeHint().width();
        if (needed <= rect.width())
            continue;

        int limit = container->width();
        for (const QWidget *other : children) {
            const QRect otherRect = other->geometry();
            if (other == widget || qobject_cast<const QGroupBox *>(other) || otherRect.x() < rect.x() + rect.width()
                || otherRect.y() >= rect.y() + rect.height() || otherRect.y() + otherRect.height() <= rect.y())
                continue;
            limit = qMin(limit, otherRect.x() - kGap);
        }
        widget->resize(qMax(rect.width(), qMin(needed, limit - rect.x())), rect.height());
    }
}
