#include "app/FirstPaint.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace
{
// Lives as a child of the window until it has made its one call.
class CFirstPaintWatcher final : public QObject
{
public:
    CFirstPaintWatcher(QWidget *window, int fallbackMs, std::function<void()> call)
        : QObject(window)
        , m_call(std::move(call))
    {
        window->installEventFilter(this);
        m_fallback.setSingleShot(true);
        connect(&m_fallback, &QTimer::timeout, this, &CFirstPaintWatcher::Fire);
        m_fallback.start(fallbackMs);
    }
    Q_DISABLE_COPY_MOVE(CFirstPaintWatcher)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Queued: the paint event is being handled now and its picture
        // reaches the screen only when it returns.
        if (event->type() == QEvent::Paint && !m_fired)
            QTimer::singleShot(0, this, &CFirstPaintWatcher::Fire);
        return QObject::eventFilter(watched, event);
    }

private:
    void Fire()
    {
        if (m_fired)
            return;
        m_fired = true;
        m_fallback.stop();
        parent()->removeEventFilter(this);
        m_call();
        deleteLater();
    }

    std::function<void()> m_call;
    QTimer m_fallback;
    bool m_fired = false;
};
} // namespace

void CallAfterFirstPaint(QWidget *window, int fallbackMs, std::function<void()> call)
{
    if (window)
        new CFirstPaintWatcher(window, fallbackMs, std::move(call));
}
