#include "tests/support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

#include "platform/ProfileStore.h"

TempProfile::TempProfile()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    SetRegistryKey(QStringLiteral("Tavistel"));
}

TempProfile::~TempProfile()
{
    ResetRegistryKey();
}

QString TempProfile::path() const
{
    return m_dir.path();
}

QString TempProfile::dump() const
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavistel"), QStringLiteral("Quaerio"));
    QStringList lines;
    const QStringList keys = store.allKeys();
    for (const QString &key : keys)
        lines.append(key + QLatin1Char('=') + store.value(key).toString());
    lines.sort();
    return lines.join(QLatin1Char('\n'));
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
{
    m_previous = SetMessageBoxHook([this, answer](const MessageBoxCall &call) {
        m_calls.push_back(call);
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHook(std::move(m_previous));
}

const std::vector<MessageBoxCall> &MessageBoxRecorder::calls() const
{
    return m_calls;
}

QStringList MessageBoxRecorder::texts() const
{
    QStringList result;
    for (const MessageBoxCall &call : m_calls)
        result.append(call.text);
    return result;
}

ShellOpenRecorder::ShellOpenRecorder(int code)
    : m_code(code)
{
    m_previous = SetShellOpenHook([this](const QString &target) {
        m_targets.append(target);
        return m_code;
    });
}

ShellOpenRecorder::~ShellOpenRecorder()
{
    SetShellOpenHook(std::move(m_previous));
}

void ShellOpenRecorder::setCode(int code)
{
    m_code = code;
}

const QStringList &ShellOpenRecorder::targets() const
{
    return m_targets;
}

bool WriteTextFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.toUtf8()) >= 0;
}

bool WaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(5);
    QEventLoop loop;
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}
