#pragma once

#include <QString>

#include <memory>

#include "browsers/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"

class CQuaerioApp;

// A catalogue of two languages: English with "Web" (5 engines) and "Small"
// (3), Deutsch with "Netz" (2). Every URL points at `baseUrl`.
QString WorkspaceCatalogue(const QString &baseUrl);

// The whole program in this process: settings in a temporary profile,
// message boxes recorded, recording browser controls, and a catalogue and
// first-show page written beside the test program, where start-up looks for
// them. The files are removed again at the end.
class ProgramHarness final
{
public:
    ProgramHarness();
    ~ProgramHarness();
    Q_DISABLE_COPY_MOVE(ProgramHarness)

    // Starts a new run of the program (InitInstance); null if it failed.
    CQuaerioApp *Start();
    // Ends the run: the frame closes and is destroyed, then ExitInstance.
    void Stop();

    static QString CataloguePath();
    static QString FirstShowPath();

    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;

private:
    std::unique_ptr<CQuaerioApp> m_app;
};
