// The progress bar's range and position for one engine progress event.
#pragma once

struct ProgressSteps
{
    int maximum = 1; // the range is 0..maximum
    int value = 0;
};

// Both numbers are truncated toward zero. The whole total is the upper bound; a
// position outside 0..total is held at its nearer end. A total under 1 (or not a
// number) gives an empty bar of range 0..1, since a range of 0..0 would draw a
// busy indicator instead.
ProgressSteps MapProgress(double position, double total);
