#pragma once

#include <QKeyCombination>
#include <QObject>

#include <span>
#include <utility>

class CCommandRouter;
class QWidget;

// The keys the main window adds to its accelerator table for working
// without a mouse: the result tabs, the focus, find in page, the text size
// and the engine list.
//
// Installed on the application, it also keeps the window's navigation keys
// (tabs, panes, focus, find) from a focused widget that would take every
// key for itself, as an embedded web page does, so that they reach the
// window's shortcuts wherever the focus is inside the window.
class CFrameKeyboard final : public QObject
{
    Q_OBJECT

public:
    // `window` is the main window whose keys are kept.
    explicit CFrameKeyboard(QWidget *window);
    ~CFrameKeyboard() override;
    Q_DISABLE_COPY_MOVE(CFrameKeyboard)

    using Accelerator = std::pair<QKeyCombination, int>;
    static std::span<const Accelerator> Accelerators();

    // The Font menu's command one text size above (`step` 1) or below (-1)
    // the checked one (Medium when none is); 0 past the largest or smallest.
    static int SteppedFontCommand(const CCommandRouter &router, int step);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_pWindow;
};
