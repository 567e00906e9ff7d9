#include "MediaFilters.h"

#include <cmath>

namespace {

QString seconds(double value)
{
    return QString::number(value, 'f', 6);
}

QString rate(AVRational value)
{
    return QStringLiteral("%1/%2").arg(value.num).arg(value.den);
}

QString channelLayout(int channels)
{
    return channels == 1 ? QStringLiteral("mono") : QStringLiteral("stereo");
}

} // namespace

bool isStretchMode(int mode)
{
    return mode >= int(StretchMode::Stretch) && mode <= int(StretchMode::Crop);
}

QString stretchFilter(StretchMode mode, int widthPx, int heightPx)
{
    const QString w = QString::number(widthPx);
    const QString h = QString::number(heightPx);
    switch (mode) {
    case StretchMode::NoResize:
        return QStringLiteral(
                   "crop=w='min(iw,%1)':h='min(ih,%2)',pad=%1:%2:(ow-iw)/2:(oh-ih)/2:black,setsar=1")
            .arg(w, h);
    case StretchMode::KeepAspect:
        return QStringLiteral("scale=w='if(gt(dar,%1/%2),%1,trunc(%2*dar/2)*2)':"
                              "h='if(gt(dar,%1/%2),trunc(%1/dar/2)*2,%2)',setsar=1,"
                              "pad=%1:%2:(ow-iw)/2:(oh-ih)/2:black")
            .arg(w, h);
    case StretchMode::Crop:
        return QStringLiteral("scale=w='if(gt(dar,%1/%2),ceil(%2*dar/2)*2,%1)':"
                              "h='if(gt(dar,%1/%2),%2,ceil(%1/dar/2)*2)',setsar=1,crop=%1:%2")
            .arg(w, h);
    case StretchMode::Stretch: break;
    }
    return QStringLiteral("scale=%1:%2,setsar=1").arg(w, h);
}

QString videoClipFilter(double startSeconds, AVRational frameRate, StretchMode mode, int widthPx,
                        int heightPx, double clockwiseDegrees)
{
    // fps before turning and scaling, so that frames dropped for the rate are never worked on
    QString upright = uprightFilter(clockwiseDegrees);
    if (!upright.isEmpty())
        upright += QLatin1Char(',');
    return QStringLiteral("setpts=PTS-%1/TB,fps=fps=%2:start_time=0,%3%4,format=yuv420p")
        .arg(seconds(startSeconds), rate(frameRate), upright, stretchFilter(mode, widthPx, heightPx));
}

QString uprightFilter(double clockwiseDegrees)
{
    if (!std::isfinite(clockwiseDegrees))
        return QString();
    const long quarterTurns = ((std::lround(clockwiseDegrees / 90.0) % 4) + 4) % 4;
    switch (quarterTurns) {
    case 1: return QStringLiteral("transpose=clock");
    case 2: return QStringLiteral("hflip,vflip");
    case 3: return QStringLiteral("transpose=cclock");
    default: return QString();
    }
}

QString audioClipFilter(double startSeconds, double endSeconds, int sampleRateHz, int channels,
                        int64_t sampleCount)
{
    return QStringLiteral("atrim=start=%1:end=%2,asetpts=PTS-%1/TB,aresample=async=1:first_pts=0,"
                          "aformat=sample_fmts=fltp:sample_rates=%3:channel_layouts=%4,"
                          "atrim=end_sample=%5")
        .arg(seconds(startSeconds), seconds(endSeconds), QString::number(sampleRateHz),
             channelLayout(channels), QString::number(sampleCount));
}

QString blackVideoFilter(AVRational frameRate, int widthPx, int heightPx)
{
    return QStringLiteral("color=c=black:s=%1x%2:r=%3,format=yuv420p")
        .arg(QString::number(widthPx), QString::number(heightPx), rate(frameRate));
}

QString silentAudioFilter(int sampleRateHz, int channels, int64_t sampleCount)
{
    return QStringLiteral("anullsrc=r=%1:cl=%2,aformat=sample_fmts=fltp,atrim=end_sample=%3")
        .arg(QString::number(sampleRateHz), channelLayout(channels), QString::number(sampleCount));
}

AVRational cappedFrameRate(AVRational sourceRate, AVRational maxRate)
{
    const bool usable = sourceRate.num > 0 && sourceRate.den > 0 && av_q2d(sourceRate) >= 1.0;
    return usable && av_cmp_q(sourceRate, maxRate) <= 0 ? sourceRate : maxRate;
}

int64_t unitsInSpan(double seconds, AVRational unitsPerSecond)
{
    return std::llround(seconds * av_q2d(unitsPerSecond));
}
