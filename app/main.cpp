#include <QApplication>

#include "app/QuaerioApp.h"
#include "browsers/webengine/WebEngineBrowserControl.h"

int main(int argc, char *argv[])
{
    // The embedded browser shares OpenGL contexts with the widgets; this must
    // be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));

    CWebEngineBrowserControlFactory browserControls;
    InstallBrowserControlFactory(&browserControls);

    // Command-line arguments are not examined: every run starts a new search.
    CQuaerioApp app;
    return app.Run();
}
