// The one line that tells, once a batch is over, what came of it.
#pragma once

#include <QString>

enum class BatchEnd
{
    Done,    // no checked row was left
    Failed,  // a row could not be written; the batch halted there
    Stopped, // the user stopped it
};

// "3 files converted", "2 converted, 1 failed", "1 converted, stopped"; empty when
// a batch ended done without converting anything, since then nothing ran.
QString BatchSummaryText(int converted, BatchEnd end);
