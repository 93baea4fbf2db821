#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

#include "app/SearchRequest.h"
#include "catalogue/OpenSearch.h"
#include "platform/CommandRouter.h"

class CAppSettings;
class CDescriptionFetch;
class CCatalogFile;
class CMainFrame;
class CQuaerioDoc;
class CQuaerioView;

// The application: start-up, shutdown and the application-level commands.
// Construct it after the QApplication; Run() returns the process exit code.
class CQuaerioApp final : public QObject
{
    Q_OBJECT

public:
    explicit CQuaerioApp(QObject *parent = nullptr);
    ~CQuaerioApp() override;
    Q_DISABLE_COPY_MOVE(CQuaerioApp)

    // Start-up, the event loop, shutdown.
    int Run();

    // Start-up sequence; false ends the program before any window exists.
    bool InitInstance();

    // Releases the shared objects; returns the exit code.
    int ExitInstance();

    CMainFrame *GetMainFrame() const;
    CQuaerioView *GetView() const;
    const CCommandTarget &CommandTarget() const;

    CCatalogFile *m_pCatalog = nullptr; // owned
    CAppSettings *m_pSettings = nullptr; // owned

    // Brings the main window to the front, restored if it was minimized.
    void RaiseMainWindow();
    // Runs New Search when asked, then searches as the user would in the
    // form (see ApplySearchRequest). Refused, with the reason, when the form
    // has no language or category of the names given; not now while a modal
    // dialog is open, since the user could do nothing either.
    SRequestOutcome Search(const SSearchRequest &request);

    // Application commands.
    void OnFileNew();
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnHelpHomepage();
    void OnHelpSupport();
    void OnHelpMaker();
    // The engine manager; after OK the user's catalogue is the one in use.
    void OnViewEngines();
    // After a Yes, removes the user's catalogue: the shipped one is in use again.
    void OnViewRestoreEngines();
    // Fetches the description the page shown advertises, through the page's
    // own network, and opens the engine editor on its engine, for the
    // language and category shown; after OK the user's catalogue is the one
    // in use.
    void OnViewAddEngine();

signals:
    // Start-up has succeeded and the main window is shown; the event loop
    // starts next.
    void MainWindowShown();

private:
    void RegisterCommands();
    // Reads the catalogue at `path` from now on, and the form shows it.
    void UseCatalogue(const QString &path);
    // The description the page shown advertises; empty when none.
    QUrl ShownSearchDescription() const;
    void EditFetchedEngine(EOpenSearchRead result, const SEngineDescription &engine, const QString &error,
                           const QString &language, const QString &category);

    CCommandTarget m_commands;
    std::unique_ptr<CQuaerioDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    CQuaerioView *m_pView = nullptr; // owned by the frame
    int m_nExitCode = 0;
    QPointer<CDescriptionFetch> m_pFetch; // while Add This Engine fetches
};

// Exit code of a start-up that failed (the catalogue is missing).
inline constexpr int kStartupFailedExitCode = 1;
