#include "app/QuaerioApp.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "app/AboutDlg.h"
#include "app/DescriptionFetch.h"
#include "app/QuaerioDoc.h"
#include "app/ShutdownSignals.h"
#include "browsers/ResultBrowser.h"
#include "catalogue/CatalogFile.h"
#include "enginemanager/AddEngineDlg.h"
#include "enginemanager/EnginesDlg.h"
#include "frame/MainFrame.h"
#include "platform/MessageBox.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "platform/ShellOpen.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "workspace/QuaerioView.h"

CQuaerioApp::CQuaerioApp(QObject *parent)
    : QObject(parent)
{
    RegisterCommands();
}

CQuaerioApp::~CQuaerioApp()
{
    // A run that never reached ExitInstance still releases what it made.
    m_pMainFrame.reset();
    if (m_pCatalog)
        DestroyCatalogFile();
    if (m_pSettings)
        DestroyAppSettings();
}

int CQuaerioApp::Run()
{
    if (!InitInstance()) {
        ExitInstance();
        return kStartupFailedExitCode;
    }

    // SIGTERM and SIGINT close the windows on this thread, so the same
    // shutdown runs as when the user closes the frame. The handlers are
    // installed once the main window is up: until then there is nothing to
    // save and the signals keep their default effect.
    const CShutdownSignals shutdownSignals([] { QApplication::closeAllWindows(); });
    emit MainWindowShown();
    m_nExitCode = QApplication::exec();
    // Closing the frame ends the loop; destroying it lets the view and the
    // keyword box write what they keep before the shared objects go.
    m_pMainFrame.reset();
    m_pView = nullptr;
    return ExitInstance();
}

bool CQuaerioApp::InitInstance()
{
    g_szModulePath = QCoreApplication::applicationFilePath();
    g_szCatalogPath = ReplaceFileName(g_szModulePath, QString::fromUtf16(kCatalogFileName));
    g_szUserCatalogPath = UserCatalogPath();

    m_pCatalog = GetCatalogFile();
    m_pCatalog->m_szPath = CatalogPathInUse(g_szCatalogPath, g_szUserCatalogPath);
    // A directory of that name is no catalogue: every value would read as
    // "Error!", so it is refused like a missing file.
    if (!m_pCatalog->Exists() || QFileInfo(m_pCatalog->m_szPath).isDir()) {
        AfxMessageBox(QStringLiteral("The config file not exist !"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    g_szFirstShowPath = ReplaceFileName(g_szModulePath, QStringLiteral("firstshow.mht"));
    m_pSettings = GetAppSettings();

    // Hosting the browser control needs no further step here: the shared
    // OpenGL contexts it relies on are enabled before the QApplication exists.
    SetRegistryKey(QString::fromUtf16(kProfileCompany));

    OnFileNew();
    if (!m_pMainFrame)
        return false;

    m_pMainFrame->show();
    m_pMainFrame->raise();
    return true;
}

int CQuaerioApp::ExitInstance()
{
    if (m_pCatalog) {
        DestroyCatalogFile();
        m_pCatalog = nullptr;
    }
    if (m_pSettings) {
        DestroyAppSettings();
        m_pSettings = nullptr;
    }
    return m_nExitCode;
}

CMainFrame *CQuaerioApp::GetMainFrame() const
{
    return m_pMainFrame.get();
}

CQuaerioView *CQuaerioApp::GetView() const
{
    return m_pView;
}

const CCommandTarget &CQuaerioApp::CommandTarget() const
{
    return m_commands;
}

void CQuaerioApp::RegisterCommands()
{
    m_commands.OnCommand(ID_FILE_NEW, this, [this] { OnFileNew(); });
    m_commands.OnCommand(ID_FILE_PRINT_SETUP, this, [this] { OnFilePrintSetup(); });
    m_commands.OnCommand(ID_APP_ABOUT, this, [this] { OnAppAbout(); });
    m_commands.OnCommand(ID_HELP_HOMEPAGE, this, [this] { OnHelpHomepage(); });
    m_commands.OnCommand(ID_HELP_SUPPORT, this, [this] { OnHelpSupport(); });
    m_commands.OnCommand(ID_HELP_MAKER, this, [this] { OnHelpMaker(); });
    m_commands.OnCommand(ID_VIEW_ENGINES, this, [this] { OnViewEngines(); });
    m_commands.OnCommand(ID_VIEW_RESTORE_ENGINES, this, [this] { OnViewRestoreEngines(); });
    m_commands.OnCommand(ID_VIEW_ADD_ENGINE, this, [this] { OnViewAddEngine(); });
    m_commands.OnUpdate(ID_VIEW_ADD_ENGINE, this,
                        [this](CCmdUI &cmdUI) { cmdUI.Enable(!m_pFetch && !ShownSearchDescription().isEmpty()); });
    m_commands.OnUpdate(ID_VIEW_RESTORE_ENGINES, this,
                        [](CCmdUI &cmdUI) { cmdUI.Enable(QFileInfo(g_szUserCatalogPath).isFile()); });
}

void CQuaerioApp::OnFileNew()
{
    if (m_pMainFrame) {
        // New Search: the same document, frame and view, initialised afresh.
        m_pDocument->OnNewDocument();
        m_pView->OnInitialUpdate();
        return;
    }

    m_pDocument = std::make_unique<CQuaerioDoc>();
    m_pDocument->OnNewDocument();

    auto frame = std::make_unique<CMainFrame>();
    if (!frame->LoadFrame())
        return;
    frame->SetApplicationTarget(&m_commands);
    m_pView = new CQuaerioView(frame.get());
    frame->SetView(m_pView);
    m_pView->OnInitialUpdate();
    frame->ActivateFrame();
    m_pMainFrame = std::move(frame);
}

void CQuaerioApp::RaiseMainWindow()
{
    if (!m_pMainFrame)
        return;
    if (m_pMainFrame->isMinimized())
        m_pMainFrame->showNormal();
    m_pMainFrame->show();
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
}

SRequestOutcome CQuaerioApp::Search(const SSearchRequest &request)
{
    using EState = SRequestOutcome::EState;
    if (!m_pView || !m_pCatalog)
        return {EState::Refused, QStringLiteral("its window is not open")};
    if (QApplication::activeModalWidget())
        return {EState::NotNow, QStringLiteral("a dialog is open in its window")};
    // The names are checked before New Search clears the form.
    if (const QString problem = CheckRequestNames(*m_pCatalog, request); !problem.isEmpty())
        return {EState::Refused, problem};
    if (request.bNewSearch)
        OnFileNew();
    if (!ApplySearchRequest(*m_pView, *m_pCatalog, request))
        return {EState::Refused, QStringLiteral("its window has no such language or category; it read the catalogue when it started")};
    return {};
}

void CQuaerioApp::OnFilePrintSetup()
{
    // The view's printer serves the whole run, so Print and Print Preview
    // use what the user chooses here.
    if (m_pView)
        m_pView->Printer().PageSetup(m_pMainFrame.get());
}

void CQuaerioApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.exec();
}

void CQuaerioApp::OnHelpHomepage()
{
    ShellExecuteOpen(kProductHomeUrl, this);
}

void CQuaerioApp::OnHelpSupport()
{
    ShellExecuteOpen(kAuthorBlogUrl, this);
}

void CQuaerioApp::OnHelpMaker()
{
    ShellExecuteOpen(kMakerHomeUrl, this);
}

void CQuaerioApp::OnViewEngines()
{
    if (!m_pCatalog)
        return;
    CEnginesDlg dlg(m_pCatalog->m_szPath, g_szUserCatalogPath, m_pMainFrame.get());
    QString reason;
    if (!dlg.IsLoaded(&reason)) {
        AfxMessageBox(QStringLiteral("The engines of %1 cannot be changed here: %2.").arg(m_pCatalog->m_szPath, reason),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (dlg.exec() == QDialog::Accepted && dlg.IsSaved())
        UseCatalogue(g_szUserCatalogPath);
}

void CQuaerioApp::OnViewRestoreEngines()
{
    if (!m_pCatalog || !QFileInfo(g_szUserCatalogPath).isFile())
        return;
    if (!QFileInfo(g_szCatalogPath).isFile()) {
        AfxMessageBox(QStringLiteral("The engines shipped with Quaerio (%1) are missing, so your own engines stay.")
                          .arg(g_szCatalogPath),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (AfxMessageBox(QStringLiteral("Remove your own engines (%1) and use the ones shipped with Quaerio again?")
                          .arg(g_szUserCatalogPath),
                      MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    QFile copy(g_szUserCatalogPath);
    if (!copy.remove()) {
        AfxMessageBox(QStringLiteral("Your engines (%1) cannot be removed: %2.").arg(g_szUserCatalogPath, copy.errorString()),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    UseCatalogue(g_szCatalogPath);
}

void CQuaerioApp::UseCatalogue(const QString &path)
{
    m_pCatalog->m_szPath = path;
    if (m_pView)
        m_pView->ReloadCatalogue();
}

QUrl CQuaerioApp::ShownSearchDescription() const
{
    const CResultBrowser *page = m_pView ? m_pView->CurrentBrowser() : nullptr;
    return page && page->Control() ? page->Control()->SearchDescriptionUrl() : QUrl();
}

void CQuaerioApp::OnViewAddEngine()
{
    const QUrl description = ShownSearchDescription();
    QNetworkAccessManager *network = description.isEmpty() ? nullptr : m_pView->CurrentBrowser()->Control()->Network();
    if (!network || m_pFetch || !m_pCatalog)
        return;
    m_pFetch = new CDescriptionFetch(*network, this);
    connect(m_pFetch, &CDescriptionFetch::Finished, this,
            [this, fetch = m_pFetch, language = m_pView->LanguageName(), category = m_pView->CategoryName()](
                EOpenSearchRead result, const SEngineDescription &engine, const QString &error) {
                fetch->deleteLater();
                EditFetchedEngine(result, engine, error, language, category);
            });
    m_pFetch->Start(description.toString(QUrl::FullyEncoded));
}

void CQuaerioApp::EditFetchedEngine(EOpenSearchRead result, const SEngineDescription &engine, const QString &error,
                                    const QString &language, const QString &category)
{
    if (result != EOpenSearchRead::Read) {
        AfxMessageBox(QStringLiteral("This engine cannot be added: %1.").arg(error), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_pCatalog
        && AddEngineInEditor(engine, language, category, m_pCatalog->m_szPath, g_szUserCatalogPath, m_pMainFrame.get()))
        UseCatalogue(g_szUserCatalogPath);
}
