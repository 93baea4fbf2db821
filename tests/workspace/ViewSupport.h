#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include "browsers/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"

class CQuaerioView;
class CResultBrowser;

// The catalogue most view tests use:
//   English: Web (5 engines), Small (3), Broken (an engine without URL in the middle)
//   Deutsch: Netz (2)
//   Orphan:  no "CATEGORYS" entry, so its one category reads "Error!"
QString TestCatalogue();

// Everything a view needs around it in a test: settings in a temporary
// profile, message boxes recorded, recording browser controls, and a
// catalogue written to a temporary folder.
class ViewHarness final
{
public:
    ViewHarness();
    ~ViewHarness();
    Q_DISABLE_COPY_MOVE(ViewHarness)

    void WriteCatalogue(const QString &text);
    QString CataloguePath() const;
    QString FirstShowPath() const;

    // A view (a window of its own) after its initial update.
    std::unique_ptr<CQuaerioView> MakeView();

    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;

private:
    QTemporaryDir m_dir;
};

// The form's control with id `id`.
template <typename T>
T *Control(const QWidget &view, int id)
{
    return view.findChild<T *>(QString::number(id));
}

// The URLs navigated by the control of page `index`.
QStringList Navigations(const CRecordingBrowserFactory &browsers, int index);

// Waits (processing events) until `predicate` holds; false after 10 s.
bool WaitFor(const std::function<bool()> &predicate);
