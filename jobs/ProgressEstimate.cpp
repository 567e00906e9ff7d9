#include "ProgressEstimate.h"

#include <algorithm>
#include <cmath>

QString ClockText(int seconds)
{
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 3600)
        return minutesAndSeconds;
    return QStringLiteral("%1:%2")
        .arg(seconds / 3600)
        .arg(minutesAndSeconds.rightJustified(5, QLatin1Char('0')));
}

ProgressEstimate EstimateProgress(const ProgressSample& first, const ProgressSample& latest, double total)
{
    ProgressEstimate estimate;
    estimate.elapsedSeconds = int(std::max(0.0, latest.elapsedSeconds));
    if (!(total > 0) || !std::isfinite(total) || !std::isfinite(latest.position))
        return estimate;
    const double done = std::clamp(latest.position / total, 0.0, 1.0);
    estimate.percent = int(done * 100);
    const double written = latest.position - first.position;
    const double spent = latest.elapsedSeconds - first.elapsedSeconds;
    if (!(written > 0 && spent > 0))
        return estimate;
    estimate.speed = written / spent;
    estimate.remainingSeconds = int(std::ceil(std::max(0.0, total - latest.position) * spent / written));
    return estimate;
}

QString ProgressText(const ProgressEstimate& estimate)
{
    QString text =
        QStringLiteral("%1%, %2 elapsed").arg(estimate.percent).arg(ClockText(estimate.elapsedSeconds));
    if (estimate.remainingSeconds >= 0)
        text += QStringLiteral(", %1 left").arg(ClockText(estimate.remainingSeconds));
    return text;
}
