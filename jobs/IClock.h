// Where a run takes the time its estimates count from, so that tests can move it by hand.
#pragma once

#include <QtGlobal>

class IClock
{
public:
    // Milliseconds from an arbitrary start; never goes back.
    virtual qint64 NowMs() const = 0;

protected:
    ~IClock() = default;
};

// The system's monotonic clock.
const IClock& SteadyClock();
