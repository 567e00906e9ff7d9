// How far the file being written is, and how long it will take still, from the
// engine's progress events and the time each arrived.
#pragma once

#include <QString>

struct ProgressSample
{
    double position = 0;       // seconds of output written, as the event says
    double elapsedSeconds = 0; // since the write started
};

struct ProgressEstimate
{
    int percent = 0;           // 0..100
    int elapsedSeconds = 0;    // whole seconds
    int remainingSeconds = -1; // whole seconds, rounded up; -1 while there is no rate yet
    double speed = 0;          // seconds written per second taken; 0 while there is no rate yet
};

// The rate is the output written per second between the first event and the latest,
// so the time the write took to get going does not count against it.
ProgressEstimate EstimateProgress(const ProgressSample& first, const ProgressSample& latest, double total);

// "0:07", "12:30", "1:02:03"
QString ClockText(int seconds);

// "42%, 1:05 elapsed, 1:30 left"; without the last part while nothing is known of it.
QString ProgressText(const ProgressEstimate& estimate);
