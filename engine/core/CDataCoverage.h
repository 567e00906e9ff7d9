// How far real source data has reached in the output's time, across the picture and
// sound of one write (taken in output order on one thread). A stream whose source has run
// out may be padded (its last picture held, silence) while the other stream's data
// still runs, and a little past it; further padding would fill a span no data
// covers: the source ended early, and the write fails instead of inventing the rest.
#pragma once

#include "FrameOrigin.h"
#include "MediaError.h"

// How far short of the planned end data may stop and still count as complete:
// 5 % of the span, at least a quarter second (the usual gap between a file's sound
// and picture ends) and at most one second (the most frozen picture or silence a
// write may ever add).
double shortfallToleranceSeconds(double plannedSeconds);

// True when data reaching dataSeconds ends well before plannedSeconds.
bool endsEarly(double dataSeconds, double plannedSeconds);

class CDataCoverage
{
public:
    explicit CDataCoverage(double plannedSeconds);

    // Takes a frame ending at endSeconds: source data moves the covered time on,
    // padding may not run far past it. False when it does (see shortfall()).
    bool admit(FrameOrigin origin, double endSeconds);
    // Why a frame was refused: the data of path ends early.
    MediaError shortfall(const QString& path) const;
    double reached() const { return m_reachedSeconds; }
    // From the start again, for another pass over the same data.
    void restart() { m_reachedSeconds = 0.0; }
    double plannedSeconds() const { return m_plannedSeconds; }

private:
    const double m_plannedSeconds;
    const double m_toleranceSeconds;
    double m_reachedSeconds = 0.0;
};
