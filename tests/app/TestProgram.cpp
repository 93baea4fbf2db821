// The program on the real platform services, but with QUAERIO_MESSAGE_LOG set each message box is
// appended there as "caption<tab>text" and answered with its first button, and with
// QUAERIO_STATUS_LOG set each status text is appended there (line breaks as "\n").

#include <QFile>

#include <utility>

#include "app/ProgramMain.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "res/ResourceIds.h"

namespace
{
void AppendLine(const QString &path, QString text)
{
    QFile log(path);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        log.write((text + QLatin1Char('\n')).toUtf8());
    }
}

class CLoggingServices final : public IPlatformServices
{
public:
    CLoggingServices(const QString &messageLog, const QString &statusLog)
        : m_strMessageLog(messageLog)
        , m_strStatusLog(statusLog)
    {
    }
    ~CLoggingServices() override = default;
    Q_DISABLE_COPY_MOVE(CLoggingServices)

    int MessageBox(const MessageBoxCall &call) override
    {
        if (m_strMessageLog.isEmpty())
            return m_real.MessageBox(call);
        AppendLine(m_strMessageLog, call.caption + QLatin1Char('\t') + call.text);
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
    void StatusTextShown(const QString &text) override
    {
        if (!m_strStatusLog.isEmpty())
            AppendLine(m_strStatusLog, text);
    }

private:
    CPlatformServices m_real;
    QString m_strMessageLog;
    QString m_strStatusLog;
};
} // namespace

int main(int argc, char *argv[])
{
    CLoggingServices services(qEnvironmentVariable("QUAERIO_MESSAGE_LOG"), qEnvironmentVariable("QUAERIO_STATUS_LOG"));
    return QuaerioMain(argc, argv, services);
}
