#pragma once

#include <QToolButton>

// A toolbar button split in two: the button part triggers its action, the
// arrow part asks its owner for a drop-down (DropDown) instead of showing a
// menu of its own, so the owner decides what opens and where.
//
// From the keyboard, as a split button: Alt+Down (or Alt+Up, F4) asks for
// the drop-down; Right and Left move the focus between the button part and
// the arrow, and Space or Enter on the arrow asks for the drop-down.
class CDropDownToolButton final : public QToolButton
{
    Q_OBJECT

public:
    explicit CDropDownToolButton(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(CDropDownToolButton)

    // The arrow's rectangle in the button's coordinates.
    QRect ArrowRect() const;
    // The keyboard is on the arrow part.
    bool IsArrowFocused() const;

signals:
    void DropDown();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_bArrowFocused = false;
};
