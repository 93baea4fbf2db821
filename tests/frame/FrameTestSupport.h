#pragma once

#include <QList>

#include "frame/MainFrame.h"
#include "workspace/QuaerioView.h"

// The search view, whose commands a test can take over. An id taken over
// with Record only appends itself to calls when run, and stays enabled;
// Disable keeps it handled but its update handler disables it.
class RecordingView final : public CQuaerioView
{
public:
    using CQuaerioView::CQuaerioView;
    void Record(const QList<int> &ids);
    void Disable(int id);

    QList<int> calls;
};

// Creates the frame's window with a recording view inside, applies the
// stored placement as start-up does and shows it. Pages the view makes get
// recording browser controls, installed for the whole run.
RecordingView *StartFrame(CMainFrame &frame);

// Runs the event loop until it next falls idle.
void RunUntilIdle();
