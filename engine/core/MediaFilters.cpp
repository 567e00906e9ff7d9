#include "MediaFilters.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cmath>

namespace {

// Chosen by measurement on HLG and PQ bars: mobius keeps SDR-bright parts as they are
// and rolls off only the highlights; hable darkened mid grey by a third, reinhard by 6 %.
constexpr char kToneMapping[] = "tonemap=mobius:desat=0";
// SDR white, in nits, where linear light is 1.0.
constexpr int kNominalPeakNits = 100;

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

QString rangeName(AVColorRange range)
{
    return range == AVCOL_RANGE_JPEG ? QStringLiteral("full") : QStringLiteral("limited");
}

// zscale's options take the codes of ITU-T H.273, which FFmpeg's colour enums are.
QString zimgColour(const char* side, const VideoColour& colour)
{
    return QStringLiteral("m%1=%2:r%1=%3")
        .arg(QLatin1String(side))
        .arg(int(colour.matrix))
        .arg(rangeName(colour.range));
}

// The rest of a zscale step that converts the colour, ending in 8-bit pictures, dithered
// where the depth drops. HDR goes to linear light, is tone-mapped there and comes back in
// the output's transfer.
// Its colours become BT.709's at every size: SDR pictures keep theirs when only their
// matrix changes, and players show both on BT.709 screens as they are.
QString colourSteps(const ColourConversion& conversion)
{
    const VideoColour& to = conversion.to;
    if (!isHdr(conversion.from))
        return QStringLiteral("%1:%2%3,format=yuv420p")
            .arg(zimgColour("in", conversion.from), zimgColour("", to),
                 conversion.dither ? QStringLiteral(":d=ordered") : QString());
    return QStringLiteral("%1:pin=%2:tin=%3:t=linear:npl=%4:p=%5,format=gbrpf32le,%6,"
                          "zscale=tin=linear:pin=%5:p=%5:t=%7:%8:d=ordered,format=yuv420p")
        .arg(zimgColour("in", conversion.from))
        .arg(int(conversion.from.primaries))
        .arg(int(conversion.from.transfer))
        .arg(kNominalPeakNits)
        .arg(int(AVCOL_PRI_BT709))
        .arg(QLatin1String(kToneMapping))
        .arg(int(to.transfer))
        .arg(zimgColour("", to));
}

// The scaling step to w x h, which may be expressions of the input's size.
QString scaleStep(const QString& w, const QString& h, const std::optional<ColourConversion>& conversion)
{
    if (!conversion)
        return QStringLiteral("scale=w=%1:h=%2").arg(w, h);
    return QStringLiteral("zscale=w=%1:h=%2:f=bicubic:%3").arg(w, h, colourSteps(*conversion));
}

} // namespace

bool isStretchMode(int mode)
{
    return mode >= int(StretchMode::Stretch) && mode <= int(StretchMode::Crop);
}

std::optional<ColourConversion> colourConversion(const VideoColour& from, const VideoColour& to,
                                                 int pixelFormat)
{
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(AVPixelFormat(pixelFormat));
    if (!format || format->nb_components < 3)
        return std::nullopt; // grey pictures have no colour to convert
    // the plain scaler keeps YUV values as they are, and makes RGB into limited BT.601
    const VideoColour plain = from.matrix == AVCOL_SPC_RGB ? standardColourFor(0, 0) : from;
    const bool deeper = format->comp[0].depth > 8;
    if (!deeper && !isHdr(from) && sameYuvEncoding(plain, to))
        return std::nullopt;
    return ColourConversion{from, to, deeper};
}

QString stretchFilter(StretchMode mode, int widthPx, int heightPx,
                      const std::optional<ColourConversion>& conversion)
{
    const QString w = QString::number(widthPx);
    const QString h = QString::number(heightPx);
    switch (mode) {
    case StretchMode::NoResize:
        return QStringLiteral(
                   "crop=w='min(iw,%1)':h='min(ih,%2)',pad=%1:%2:(ow-iw)/2:(oh-ih)/2:black,setsar=1%3")
            .arg(w, h, conversion ? QStringLiteral(",zscale=") + colourSteps(*conversion) : QString());
    case StretchMode::KeepAspect:
        return QStringLiteral("%3,setsar=1,pad=%1:%2:(ow-iw)/2:(oh-ih)/2:black")
            .arg(w, h,
                 scaleStep(QStringLiteral("'if(gt(dar,%1/%2),%1,trunc(%2*dar/2)*2)'").arg(w, h),
                           QStringLiteral("'if(gt(dar,%1/%2),trunc(%1/dar/2)*2,%2)'").arg(w, h), conversion));
    case StretchMode::Crop:
        return QStringLiteral("%3,setsar=1,crop=%1:%2")
            .arg(w, h,
                 scaleStep(QStringLiteral("'if(gt(dar,%1/%2),ceil(%2*dar/2)*2,%1)'").arg(w, h),
                           QStringLiteral("'if(gt(dar,%1/%2),%2,ceil(%1/dar/2)*2)'").arg(w, h), conversion));
    case StretchMode::Stretch: break;
    }
    return scaleStep(w, h, conversion) + QStringLiteral(",setsar=1");
}

QString videoClipFilter(double startSeconds, AVRational frameRate, StretchMode mode, int widthPx,
                        int heightPx, double clockwiseDegrees,
                        const std::optional<ColourConversion>& conversion)
{
    // fps before turning and scaling, so that frames dropped for the rate are never worked on
    QString upright = uprightFilter(clockwiseDegrees);
    if (!upright.isEmpty())
        upright += QLatin1Char(',');
    return QStringLiteral("setpts=PTS-%1/TB,fps=fps=%2:start_time=0,%3%4,format=yuv420p")
        .arg(seconds(startSeconds), rate(frameRate), upright,
             stretchFilter(mode, widthPx, heightPx, conversion));
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
