#include <QApplication>

#include "app/QuaerioApp.h"
#include "browsers/webengine/DownloadHandler.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "frame/MainFrame.h"
#include "preferences/BrowsingData.h"

int main(int argc, char *argv[])
{
    // The embedded browser shares OpenGL contexts with the widgets; this must
    // be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));

    SetBrowserControlFactory(WebEngineBrowserControlFactory());
    SetClearBrowsingDataHandler([] { GetResultProfile()->ClearBrowsingData(); });

    int exitCode = 0;
    {
        // Command-line arguments are not examined: every run starts a new search.
        CQuaerioApp app;
        QObject::connect(GetDownloadHandler(), &CDownloadHandler::StatusTextChanged, &app,
                         [&app](const QString &text) {
                             if (CMainFrame *frame = app.GetMainFrame())
                                 frame->SetMessageText(text);
                         });
        exitCode = app.Run();
    }
    // The profile writes its cookies out when it goes, after its pages.
    ReleaseResultProfile();
    return exitCode;
}
