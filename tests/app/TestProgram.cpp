// The program as the process-level tests run it: the same start-up as
// app/main.cpp (QuaerioMain), on platform services that answer message
// boxes by themselves. When the environment variable QUAERIO_MESSAGE_LOG
// names a file, no box is shown: each box appends one line to that file, its
// caption, a tab and its text (line breaks written as "\n"), and is answered
// at once with its first button (OK, or Yes for a Yes/No box). Everything else
// is the real platform's.

#include <QFile>

#include <utility>

#include "app/ProgramMain.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "res/ResourceIds.h"

namespace
{
class CMessageLogServices final : public IPlatformServices
{
public:
    explicit CMessageLogServices(const QString &logPath)
        : m_strLogPath(logPath)
    {
    }
    ~CMessageLogServices() override = default;
    Q_DISABLE_COPY_MOVE(CMessageLogServices)

    int MessageBox(const MessageBoxCall &call) override
    {
        if (m_strLogPath.isEmpty())
            return m_real.MessageBox(call);
        QFile log(m_strLogPath);
        if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QString text = call.text;
            text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            log.write((call.caption + QLatin1Char('\t') + text + QLatin1Char('\n')).toUtf8());
        }
        return (call.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    int ShellOpen(const QString &target) override { return m_real.ShellOpen(target); }
    bool Launch(const QString &program, const QStringList &arguments) override { return m_real.Launch(program, arguments); }
    void ChooseSaveFile(const SSaveFileQuestion &question, QObject *context, SaveFileAnswer answered) override
    {
        m_real.ChooseSaveFile(question, context, std::move(answered));
    }
    void ProfileWritten(const QString &section, const QString &entry, const QVariant &value) override
    {
        m_real.ProfileWritten(section, entry, value);
    }
    void ProfileSynced(const QString &location) override { m_real.ProfileSynced(location); }

private:
    CPlatformServices m_real;
    QString m_strLogPath;
};
} // namespace

int main(int argc, char *argv[])
{
    CMessageLogServices services(qEnvironmentVariable("QUAERIO_MESSAGE_LOG"));
    return QuaerioMain(argc, argv, services);
}
