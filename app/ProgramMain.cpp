#include "app/ProgramMain.h"

#include <QApplication>

#include "app/CommandLine.h"
#include "app/FirstPaint.h"
#include "app/Launcher.h"
#include "app/QuaerioApp.h"
#include "app/SingleInstance.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/WebEngineBrowserControl.h"
#include "frame/MainFrame.h"
#include "platform/Installed.h"
#include "platform/PlatformServices.h"
#include "preferences/BrowsingData.h"

namespace
{
// Clear Browsing Data acts on the result pages' one profile.
class CResultProfileBrowsingData final : public IBrowsingData
{
public:
    explicit CResultProfileBrowsingData(CWebSession &session)
        : m_session(session)
    {
    }
    ~CResultProfileBrowsingData() override = default;
    Q_DISABLE_COPY_MOVE(CResultProfileBrowsingData)

    void Clear() override { m_session.Profile().ClearBrowsingData(); }

private:
    CWebSession &m_session;
};

// Past this, held navigations start even if the window was never painted.
constexpr int kFirstPaintWaitMs = 1000;

// Download progress and outcome go to the main window's status bar; the
// pages' navigations, held since start-up, start once the window is painted.
void ConnectApp(CQuaerioApp &app, CWebSession &session)
{
    QObject::connect(&session, &CWebSession::StatusTextChanged, &app, [&app](const QString &text) {
        if (CMainFrame *frame = app.GetMainFrame())
            frame->SetMessageText(text);
    });
    QObject::connect(&app, &CQuaerioApp::MainWindowShown, &app, [&app, &session] {
        CallAfterFirstPaint(app.GetMainFrame(), kFirstPaintWaitMs, [&session] { session.ReleaseNavigations(); });
    });
}
} // namespace

int QuaerioMain(int argc, char *argv[], IPlatformServices &services)
{
    // Help, version, the catalogue check and a wrong command line end here,
    // before anything needs a display.
    SCommandLine commandLine;
    if (const std::optional<int> exitCode = ParseCommandLine(argc, argv, commandLine))
        return *exitCode;

    // The embedded browser shares OpenGL contexts with the widgets; this must
    // be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // On Linux the browser engine shows screen readers its pages only when
    // asked to; it does the work only while assistive technology listens.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    // Qt reads options anywhere in what it is given; keywords after "--" are
    // not options, so it is not given them.
    int qtArgc = QtArgumentCount(argc, argv);
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quaerio"));

    const CInstalled<IPlatformServices> installedServices(services);
    // Kept until the factory has released the profile: a later start opens
    // the profile's folder only once this program has let go of it.
    CSingleInstance instance(CSingleInstance::PrivateFolderForUser());
    CWebEngineBrowserControlFactory browserControls;
    const CInstalled<IBrowserControlFactory> installedControls(browserControls);
    CWebSession &session = browserControls.Session();
    CResultProfileBrowsingData browsingData(session);
    const CInstalled<IBrowsingData> installedData(browsingData);

    // The browser engine starts with the first page made; that waits until
    // the window is on screen, so the window does not wait for the engine.
    session.HoldNavigations();
    return RunQuaerio(instance, commandLine.request, [&session](CQuaerioApp &app) { ConnectApp(app, session); });
}
