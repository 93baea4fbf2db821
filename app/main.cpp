#include <QApplication>

#include "app/QuaerioApp.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "platform/PlatformServices.h"

int main(int argc, char *argv[])
{
    // The embedded browser shares OpenGL contexts with the widgets; this must
    // be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));

    // Message boxes, opening addresses and starting programs on the desktop.
    CPlatformServices services;
    InstallPlatformServices(&services);
    SetBrowserControlFactory(WebEngineBrowserControlFactory());

    // Command-line arguments are not examined: every run starts a new search.
    CQuaerioApp app;
    return app.Run();
}
