// A batch run and the preview transport that shares its engine, without a window: a
// recording engine, a job list in memory, a recording view and a clock the test moves.
#pragma once

#include "jobs/CBatchRun.h"
#include "jobs/CPreviewTransport.h"
#include "jobs/IClock.h"
#include "support/CFakeJobRows.h"
#include "support/CRecordingEngine.h"
#include "support/CRecordingRunView.h"

struct RunRig
{
    struct Clock : IClock
    {
        qint64 nowMs = 7000; // the run counts from its write's start, not from the clock's
        qint64 NowMs() const override { return nowMs; }
    };

    CRecordingEngine engine;
    CFakeJobRows rows;
    CRecordingRunView view;
    Clock clock;
    CBatchRun run{engine, rows, view, clock};
    CPreviewTransport preview{engine, rows, view, run};

    explicit RunRig(const QStringList& titles = {}) { rows.Add(titles); }
};
