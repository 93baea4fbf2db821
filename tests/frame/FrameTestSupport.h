#pragma once

#include <QList>

#include <functional>

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
    // Keeps `id` handled, enabled while `enabled` holds; counts in `updates`
    // how often its state is asked for.
    void EnableWhile(int id, std::function<bool()> enabled);

    QList<int> calls;
    int updates = 0;
};

// Creates the frame's window with a recording view inside, applies the
// stored placement as start-up does and shows it. Pages the view makes get
// recording browser controls, installed for the whole run.
RecordingView *StartFrame(CMainFrame &frame);

// Runs `change`, then the event loop until the frame has brought its toolbar
// and shortcuts up to date.
void UpdateAfter(CMainFrame &frame, const std::function<void()> &change);
