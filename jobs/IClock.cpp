#include "IClock.h"

#include <QElapsedTimer>

namespace {
class CSteadyClock : public IClock
{
public:
    CSteadyClock() { m_timer.start(); }
    qint64 NowMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};
} // namespace

const IClock& SteadyClock()
{
    static const CSteadyClock clock;
    return clock;
}
