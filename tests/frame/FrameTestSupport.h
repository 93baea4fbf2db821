#pragma once

#include <QList>

#include <memory>

#include "frame/MainFrame.h"
#include "workspace/QuaerioView.h"

// The search view, whose commands a test can take over: a command taken
// over only records that it ran. The view's other commands stay its own.
class RecordingView final : public CQuaerioView
{
public:
    explicit RecordingView(QWidget *parent = nullptr);

    // Each id, when run, appends itself to calls. The view's own command and
    // update handlers of the id are replaced: the id is enabled while handled.
    void Record(const QList<int> &ids);
    // The id stays handled but its update handler disables it.
    void Disable(int id);

    QList<int> calls;
};

// A frame whose settings command records that it ran.
class RecordingFrame final : public CMainFrame
{
public:
    void OnSetting() override;
    int settingCalls = 0;
};

// Creates the frame's window, a recording view inside it and applies the
// stored placement, as start-up does; the window is shown. Result pages the
// view makes get recording browser controls, installed for the whole run.
RecordingView *StartFrame(CMainFrame &frame);

// Runs the event loop until it next falls idle.
void RunUntilIdle();
