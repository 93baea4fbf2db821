#include <QApplication>

#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "platform/PlatformServices.h"

int main(int argc, char *argv[])
{
    // Help, version, the catalogue check and a wrong command line end here,
    // before anything needs a display.
    SCommandLine commandLine;
    if (const std::optional<int> exitCode = ParseCommandLine(argc, argv, commandLine))
        return *exitCode;

    // The embedded browser shares OpenGL contexts with the widgets; this must
    // be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));

    // Message boxes, opening addresses and starting programs on the desktop.
    CPlatformServices services;
    InstallPlatformServices(&services);
    CWebEngineBrowserControlFactory browserControls;
    InstallBrowserControlFactory(&browserControls);

    return RunQuaerio(commandLine.request);
}
