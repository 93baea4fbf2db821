#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into an orderly shutdown. The signal handler only
// writes a byte to a pipe; a socket notifier reads it on the user-interface
// thread and runs the given action there (the application closes its
// windows, so the normal shutdown runs and the process exits with 0).
//
// One instance at a time. While it lives, the two signals are caught; its
// destruction restores the handlers that were there before. Create it after
// the embedded browser engine has started: the engine's start-up resets
// both signals to their default action.
class CShutdownSignals final : public QObject
{
    Q_OBJECT

public:
    explicit CShutdownSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~CShutdownSignals() override;
    Q_DISABLE_COPY_MOVE(CShutdownSignals)

    // False when the pipe or the handlers could not be set up; the signals
    // then keep their previous behaviour.
    bool IsActive() const;

private:
    void OnReadable();

    std::function<void()> m_onSignal;
    QSocketNotifier *m_pNotifier = nullptr;
    bool m_bActive = false;
};
