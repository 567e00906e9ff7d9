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

void CDataCoverage::reach(double outputSeconds)
{
    m_reachedSeconds = std::max(m_reachedSeconds, outputSeconds);
}

bool CDataCoverage::mayPad(double outputSeconds) const
{
    return outputSeconds <= m_reachedSeconds + m_toleranceSeconds;
}
