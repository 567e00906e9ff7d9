#include "CDataCoverage.h"

#include <algorithm>

namespace {
constexpr double kToleranceShare = 0.05;
constexpr double kMinToleranceSeconds = 0.25;
constexpr double kMaxToleranceSeconds = 1.0;
} // namespace

double shortfallToleranceSeconds(double plannedSeconds)
{
    return std::clamp(plannedSeconds * kToleranceShare, kMinToleranceSeconds, kMaxToleranceSeconds);
}

bool endsEarly(double dataSeconds, double plannedSeconds)
{
    return plannedSeconds - dataSeconds > shortfallToleranceSeconds(plannedSeconds);
}

CDataCoverage::CDataCoverage(double plannedSeconds)
    : m_plannedSeconds(plannedSeconds), m_toleranceSeconds(shortfallToleranceSeconds(plannedSeconds))
{
}

bool CDataCoverage::admit(FrameOrigin origin, double endSeconds)
{
    switch (origin) {
    case FrameOrigin::Source: m_reachedSeconds = std::max(m_reachedSeconds, endSeconds); break;
    case FrameOrigin::StandIn: break;
    case FrameOrigin::Padding: return endSeconds <= m_reachedSeconds + m_toleranceSeconds;
    }
    return true;
}

MediaError CDataCoverage::shortfall(const QString& path) const
{
    return mediaError(MediaStage::Decode,
                      QStringLiteral("the data ends at %1 s of %2 s planned")
                          .arg(m_reachedSeconds, 0, 'f', 1)
                          .arg(m_plannedSeconds, 0, 'f', 1),
                      path);
}
