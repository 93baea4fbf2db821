#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <ostream>

#include "browsers/RecordingBrowserControl.h"
#include "browsers/ResultBrowserMap.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// Readable failure messages for Qt strings.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const QStringList &texts, std::ostream *out);

// Runs every worker of the pool's pages to its end and delivers every
// navigation they handed to the user-interface thread.
bool SettleWorkers(const CResultBrowserMap &pool, int timeoutMs = 20000);

// A pool of pages on recording controls, inside a parent window, with
// message boxes captured.
class RecordingPoolTest : public ::testing::Test
{
protected:
    RecordingPoolTest();
    ~RecordingPoolTest() override;

    // The page of `index`, given `urlTemplate` and made active.
    CResultBrowser *Activate(int index, const QString &urlTemplate);
    CRecordingBrowserControl *ControlOf(const CResultBrowser *page) const;

    MessageBoxRecorder m_boxes;
    CRecordingBrowserFactory m_factory;
    QWidget m_parent;
    CResultBrowserMap m_pool; // destroyed first: it owns the pages
};
