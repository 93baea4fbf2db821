#include "platform/BrowserFallback.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

#include "platform/PlatformServices.h"

namespace
{
// How long the question to xdg-settings may take before it counts as no answer.
constexpr int kXdgSettingsTimeoutMs = 5000;

QString unescapeKeyFileValue(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            result.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            result.append(QLatin1Char(' '));
            break;
        case 'n':
            result.append(QLatin1Char('\n'));
            break;
        case 't':
            result.append(QLatin1Char('\t'));
            break;
        case 'r':
            result.append(QLatin1Char('\r'));
            break;
        case '\\':
            result.append(QLatin1Char('\\'));
            break;
        default:
            // Not a key file escape: kept for the Exec quoting rules.
            result.append(c);
            result.append(next);
            break;
        }
    }
    return result;
}

// Starts the registered command on the target; false when the command names
// no program or the program cannot be started.
bool launch(const QString &registered, const QString &target)
{
    if (registered.isEmpty())
        return false;
    const BrowserCommand command = FormFallbackCommand(registered, target);
    if (command.program.isEmpty())
        return false;
    return PlatformServices().Launch(command.program, command.arguments);
}

// Asks `xdg-settings get default-web-browser` in the background and hands
// its answer (empty for none) to `answered`, once.
void askDefaultDesktopEntry(const QString &xdgSettings, QObject *context, std::function<void(const QString &)> answered)
{
    auto *process = new QProcess(context);
    auto finish = std::make_shared<std::function<void(const QString &)>>(std::move(answered));
    const auto reply = [process, finish](const QString &entry) {
        if (!*finish)
            return;
        const auto call = std::exchange(*finish, {});
        process->disconnect();
        if (process->state() != QProcess::NotRunning)
            process->kill();
        process->deleteLater();
        call(entry);
    };
    QObject::connect(process, &QProcess::finished, process, [process, reply](int exitCode, QProcess::ExitStatus status) {
        const bool ok = status == QProcess::NormalExit && exitCode == 0;
        reply(ok ? QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed() : QString());
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [reply](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            reply(QString());
    });
    QTimer::singleShot(kXdgSettingsTimeoutMs, process, [reply] { reply(QString()); });
    // The context emits this before its children, the process among them, are
    // deleted: the answer is dropped before the process is torn down.
    QObject::connect(context, &QObject::destroyed, process, [process, finish] {
        *finish = {};
        process->disconnect();
        process->kill();
        process->waitForFinished();
    });
    process->start(xdgSettings, {QStringLiteral("get"), QStringLiteral("default-web-browser")});
}
} // namespace

BrowserCommand FormFallbackCommand(const QString &registered, const QString &target)
{
    QString head = registered;
    qsizetype cut = head.indexOf(QLatin1String("\"%1\""));
    if (cut < 0)
        cut = head.indexOf(QLatin1String("%1"));
    if (cut >= 0)
        head.truncate(cut);

    BrowserCommand command;
    command.commandLine = head + QLatin1Char(' ') + target;
    QStringList words = QProcess::splitCommand(head);
    if (words.isEmpty())
        return command;
    command.program = words.takeFirst();
    command.arguments = words;
    command.arguments.append(target);
    return command;
}

QString DesktopExecToCommand(const QString &exec)
{
    QString result;
    result.reserve(exec.size());
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c != QLatin1Char('%') || i + 1 == exec.size()) {
            result.append(c);
            continue;
        }
        const QChar code = exec.at(++i);
        switch (code.unicode()) {
        case 'u':
        case 'U':
        case 'f':
        case 'F':
            result.append(QLatin1String("%1"));
            break;
        case '%':
            result.append(QLatin1Char('%'));
            break;
        default:
            // %i, %c, %k and the deprecated codes add nothing we need.
            break;
        }
    }
    return result.trimmed();
}

QString DesktopFileExec(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream stream(&file);
    bool inEntryGroup = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntryGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntryGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || line.left(equals).trimmed() != QLatin1String("Exec"))
            continue;
        return unescapeKeyFileValue(line.mid(equals + 1).trimmed());
    }
    return {};
}

QString BrowserCommandFromVariable(const QString &value)
{
    const QStringList entries = value.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QString command = entry.trimmed();
        if (!command.isEmpty())
            return QString(command).replace(QLatin1String("%s"), QLatin1String("%1"));
    }
    return {};
}

QString DesktopEntryCommand(const QString &entry)
{
    if (entry.isEmpty() || !entry.endsWith(QLatin1String(".desktop")))
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    if (path.isEmpty())
        return {};
    return DesktopExecToCommand(DesktopFileExec(path));
}

bool IsWebAddress(const QString &target)
{
    const QUrl url(target.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

void OpenWithRegisteredBrowser(const QString &target, QObject *context, std::function<void(bool started)> done)
{
    if (!IsWebAddress(target)) {
        done(false);
        return;
    }
    const QString address = target.trimmed();
    const QString variable = BrowserCommandFromVariable(QProcessEnvironment::systemEnvironment().value(QStringLiteral("BROWSER")));
    if (!variable.isEmpty()) {
        done(launch(variable, address));
        return;
    }
    const QString xdgSettings = QStandardPaths::findExecutable(QStringLiteral("xdg-settings"));
    if (xdgSettings.isEmpty()) {
        done(false);
        return;
    }
    askDefaultDesktopEntry(xdgSettings, context, [address, done = std::move(done)](const QString &entry) {
        done(launch(DesktopEntryCommand(entry), address));
    });
}
