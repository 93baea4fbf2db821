#include "app/Launcher.h"

#include <QTextStream>
#include <QTimer>

#include "app/QuaerioApp.h"
#include "app/SingleInstance.h"

int RunQuaerio(const SSearchRequest &request, const std::function<void(CQuaerioApp &)> &connectApp)
{
    const QString socketName = CSingleInstance::SocketNameForUser();
    switch (CSingleInstance::HandOver(socketName, request, kHandOverTimeoutMs)) {
    case CSingleInstance::EHandOver::Accepted:
        return 0;
    case CSingleInstance::EHandOver::Refused:
        QTextStream(stderr) << "quaerio: the running Quaerio refused the request" << Qt::endl;
        return kHandOverRefusedExitCode;
    case CSingleInstance::EHandOver::NoAnswer:
        break;
    }

    // This start's form is new already.
    SSearchRequest atStart = request;
    atStart.bNewSearch = false;

    CQuaerioApp app;
    CSingleInstance instance(socketName);
    QObject::connect(&app, &CQuaerioApp::MainWindowShown, &app, [&app, &instance, atStart, socketName] {
        if (!instance.Listen())
            QTextStream(stderr) << "quaerio: later starts will open windows of their own: cannot listen on "
                                << socketName << Qt::endl;
        // Queued, so that the search starts once the event loop shows the window.
        if (!atStart.IsEmpty())
            QTimer::singleShot(0, &app, [&app, atStart] { app.Search(atStart); });
    });
    QObject::connect(&instance, &CSingleInstance::RequestReceived, &app, [&app](const SSearchRequest &received) {
        app.RaiseMainWindow();
        if (received.bNewSearch || received.HasKeywords())
            app.Search(received);
    });
    if (connectApp)
        connectApp(app);
    return app.Run();
}
