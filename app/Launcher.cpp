#include "app/Launcher.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <optional>

#include "app/QuaerioApp.h"
#include "app/SingleInstance.h"

namespace
{
void warn(const QString &message)
{
    QTextStream(stderr) << "quaerio: " << message << Qt::endl;
}

// The exit code when another program took or refused the request; nothing
// when this start opens a window.
std::optional<int> handOver(const CSingleInstance::SClaim &claim)
{
    switch (claim.eClaim) {
    case CSingleInstance::EClaim::HandedOver:
        return 0;
    case CSingleInstance::EClaim::Refused:
        warn(QStringLiteral("the running Quaerio refused the request")
             + (claim.strReason.isEmpty() ? QString() : QStringLiteral(": ") + claim.strReason));
        return kHandOverRefusedExitCode;
    case CSingleInstance::EClaim::NoAnswer:
        warn(QStringLiteral("the running Quaerio does not answer; this window will not take the searches of later starts"));
        break;
    case CSingleInstance::EClaim::Alone:
        warn(QStringLiteral("no private folder for passing searches between starts: ") + claim.strReason
             + QStringLiteral("; each start opens a window of its own"));
        break;
    case CSingleInstance::EClaim::Owner:
        break;
    }
    return std::nullopt;
}

// A request from a later start: the window comes to the front and, given
// keywords or New Search, searches.
SRequestOutcome carryOut(CQuaerioApp &app, const SSearchRequest &request)
{
    if (!request.bNewSearch && !request.HasKeywords()) {
        app.RaiseMainWindow();
        return {};
    }
    const SRequestOutcome outcome = app.Search(request);
    if (outcome.eState != SRequestOutcome::EState::NotNow)
        app.RaiseMainWindow();
    return outcome;
}
} // namespace

int RunQuaerio(CSingleInstance &instance, const SSearchRequest &request, const std::function<void(CQuaerioApp &)> &connectApp)
{
    const CSingleInstance::SClaim claim = instance.Claim(request);
    if (const std::optional<int> exitCode = handOver(claim))
        return *exitCode;

    // This start's form is new already.
    SSearchRequest atStart = request;
    atStart.bNewSearch = false;

    CQuaerioApp app;
    const bool owner = claim.eClaim == CSingleInstance::EClaim::Owner;
    // Queued, so that the search starts once the event loop shows the window;
    // a later start's request, taken after it, is searched after it.
    QObject::connect(&app, &CQuaerioApp::MainWindowShown, &app, [&app, &instance, atStart, owner] {
        QTimer::singleShot(0, &app, [&app, &instance, atStart, owner] {
            if (!atStart.IsEmpty())
                app.Search(atStart);
            if (owner && !instance.Listen())
                warn(QStringLiteral("later starts will open windows of their own: cannot listen on ") + instance.SocketPath());
        });
    });
    instance.SetRequestHandler([&app](const SSearchRequest &received) { return carryOut(app, received); });
    // From the moment the window closes, later starts wait for this program
    // to end instead of handing it what it would no longer carry out.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &instance, &CSingleInstance::StopListening);
    if (connectApp)
        connectApp(app);
    const int exitCode = app.Run();
    instance.SetRequestHandler({});
    return exitCode;
}
