#pragma once

#include <QToolButton>

// A toolbar button split in two: the button part triggers its action, the
// arrow part asks its owner for a drop-down (DropDown) instead of showing a
// menu of its own, so the owner decides what opens and where.
class CDropDownToolButton final : public QToolButton
{
    Q_OBJECT

public:
    explicit CDropDownToolButton(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(CDropDownToolButton)

    // The arrow's rectangle in the button's coordinates.
    QRect ArrowRect() const;

signals:
    void DropDown();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
