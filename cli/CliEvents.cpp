#include "CliEvents.h"

#include "engine/MediaError.h"
#include "jobs/ProgressEstimate.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

// Hundredths are all a reader needs, and they keep the lines short.
double Rounded(double value)
{
    return std::isfinite(value) ? std::round(value * 100) / 100 : 0.0;
}

QJsonObject EventObject(const char* event, const RunFile& file)
{
    return QJsonObject{{QStringLiteral("event"), QLatin1String(event)},
                       {QStringLiteral("file"), file.file},
                       {QStringLiteral("output"), file.output},
                       {QStringLiteral("index"), file.index},
                       {QStringLiteral("count"), file.count}};
}

QByteArray Line(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Null while the rate is unknown.
QJsonValue KnownOrNull(bool known, double value)
{
    return known ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QString Counter(const RunFile& file)
{
    return QStringLiteral("[%1/%2] %3").arg(file.index).arg(file.count).arg(file.file);
}

QString SpeedText(double speed)
{
    return QString::number(speed, 'f', 1) + QLatin1Char('x');
}

double Speed(const RunProgress& last)
{
    return last.elapsedSeconds > 0 ? last.totalSeconds / last.elapsedSeconds : 0.0;
}

} // namespace

QByteArray StartEvent(const RunFile& file)
{
    return Line(EventObject("start", file));
}

QByteArray ProgressEvent(const RunFile& file, const RunProgress& progress, const ProgressEstimate& estimate)
{
    QJsonObject event = EventObject("progress", file);
    event.insert(QStringLiteral("percent"), estimate.percent);
    event.insert(QStringLiteral("position"), Rounded(progress.positionSeconds));
    event.insert(QStringLiteral("total"), Rounded(progress.totalSeconds));
    event.insert(QStringLiteral("elapsed"), Rounded(progress.elapsedSeconds));
    event.insert(QStringLiteral("speed"), KnownOrNull(estimate.speed > 0, Rounded(estimate.speed)));
    event.insert(QStringLiteral("remaining"),
                 KnownOrNull(estimate.remainingSeconds >= 0, estimate.remainingSeconds));
    return Line(event);
}

QByteArray DoneEvent(const RunFile& file, const RunProgress& last)
{
    QJsonObject event = EventObject("done", file);
    event.insert(QStringLiteral("seconds"), Rounded(last.totalSeconds));
    event.insert(QStringLiteral("elapsed"), Rounded(last.elapsedSeconds));
    event.insert(QStringLiteral("speed"), Rounded(Speed(last)));
    return Line(event);
}

QByteArray FailedEvent(const RunFile& file, const MediaError& error)
{
    QJsonObject event = EventObject("failed", file);
    event.insert(QStringLiteral("stage"), stageName(error.stage));
    event.insert(QStringLiteral("reason"), error.detail);
    event.insert(QStringLiteral("about"), error.file);
    return Line(event);
}

QByteArray StoppedEvent(const RunFile& file)
{
    return Line(EventObject("stopped", file));
}

QByteArray SkippedEvent(const RunFile& file)
{
    return Line(EventObject("skipped", file));
}

QString ProgressLine(const RunFile& file, const ProgressEstimate& estimate)
{
    QString line = QStringLiteral("%1  %2%").arg(Counter(file)).arg(estimate.percent, 3);
    if (estimate.speed > 0)
        line += QStringLiteral("  ") + SpeedText(estimate.speed);
    if (estimate.remainingSeconds >= 0)
        line += QStringLiteral("  %1 left").arg(ClockText(estimate.remainingSeconds));
    return line;
}

QString DoneLine(const RunFile& file, const RunProgress& last)
{
    return QStringLiteral("%1 -> %2  %3 s in %4 s (%5)")
        .arg(Counter(file), file.output, QString::number(last.totalSeconds, 'f', 1),
             QString::number(last.elapsedSeconds, 'f', 1), SpeedText(Speed(last)));
}

QString FailedLine(const RunFile& file, const MediaError& error)
{
    return QStringLiteral("%1: %2").arg(file.file, error.text());
}

QString SkippedLine(const RunFile& file)
{
    return QStringLiteral("%1 -> %2 exists, skipped").arg(Counter(file), file.output);
}
