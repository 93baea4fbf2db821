#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/ShellOpen.h"

// Points the per-user profile at a fresh temporary directory and names the
// company, as start-up does; on destruction the profile root is forgotten.
// Tests never touch the user's real settings.
class TempProfile final
{
public:
    TempProfile();
    ~TempProfile();
    Q_DISABLE_COPY_MOVE(TempProfile)

    QString path() const;

    // Every "section/entry" = value pair of the store, sorted, one per line.
    QString dump() const;

private:
    QTemporaryDir m_dir;
};

// Captures every message box instead of showing it; answers `answer`.
class MessageBoxRecorder final
{
public:
    explicit MessageBoxRecorder(int answer = 1 /* IDOK */);
    ~MessageBoxRecorder();
    Q_DISABLE_COPY_MOVE(MessageBoxRecorder)

    const std::vector<MessageBoxCall> &calls() const;
    QStringList texts() const;

private:
    std::vector<MessageBoxCall> m_calls;
    MessageBoxHook m_previous;
};

// Captures every shell open and answers with `code`.
class ShellOpenRecorder final
{
public:
    explicit ShellOpenRecorder(int code = SHELL_OPEN_OK);
    ~ShellOpenRecorder();
    Q_DISABLE_COPY_MOVE(ShellOpenRecorder)

    void setCode(int code);
    const QStringList &targets() const;

private:
    QStringList m_targets;
    int m_code;
    ShellOpenHook m_previous;
};

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns
// `done()`. Unlike QTest::qWaitFor it never sleeps between rounds of events:
// the browser engine runs its own tasks on this thread, and every pause
// would slow each of its steps down.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 20000);

// Writes `text` to `path` as UTF-8 (creating folders); false on failure.
bool WriteTextFile(const QString &path, const QString &text);
