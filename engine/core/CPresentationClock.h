// The preview's time line in seconds from the first frame: a system clock that can
// be paused, and that follows the sound device while one plays so that the
// pictures keep to the sound. Times are passed in, which keeps it a plain rule.
#pragma once

class CPresentationClock
{
public:
    // Starts at position 0 (running).
    void start(double nowSeconds);
    void pause(double nowSeconds);
    void resume(double nowSeconds);
    bool isStarted() const { return m_started; }

    double positionAt(double nowSeconds) const;

    // The sound played so far: the clock jumps to it once the two differ by more
    // than a sound period, so small steps of the device's report are smoothed out.
    void follow(double soundSeconds, double nowSeconds);

private:
    void anchor(double positionSeconds, double nowSeconds);

    double m_anchorPositionSeconds = 0.0;
    double m_anchorTimeSeconds = 0.0;
    bool m_started = false;
    bool m_paused = false;
};
