#include "CPresentationClock.h"

#include <cmath>

namespace {

// Beyond a sound device's usual reporting step, well below what the eye notices.
constexpr double kDriftToleranceSeconds = 0.03;

} // namespace

void CPresentationClock::start(double nowSeconds)
{
    m_started = true;
    m_paused = false;
    anchor(0.0, nowSeconds);
}

void CPresentationClock::pause(double nowSeconds)
{
    if (!m_started || m_paused)
        return;
    anchor(positionAt(nowSeconds), nowSeconds);
    m_paused = true;
}

void CPresentationClock::resume(double nowSeconds)
{
    if (!m_paused)
        return;
    m_paused = false;
    anchor(m_anchorPositionSeconds, nowSeconds);
}

double CPresentationClock::positionAt(double nowSeconds) const
{
    if (!m_started)
        return 0.0;
    if (m_paused)
        return m_anchorPositionSeconds;
    return m_anchorPositionSeconds + (nowSeconds - m_anchorTimeSeconds);
}

void CPresentationClock::follow(double soundSeconds, double nowSeconds)
{
    if (!m_started || m_paused)
        return;
    if (std::fabs(positionAt(nowSeconds) - soundSeconds) > kDriftToleranceSeconds)
        anchor(soundSeconds, nowSeconds);
}

void CPresentationClock::anchor(double positionSeconds, double nowSeconds)
{
    m_anchorPositionSeconds = positionSeconds;
    m_anchorTimeSeconds = nowSeconds;
}
