#include "OutputProfile.h"

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

constexpr double kHundredNanosPerSecond = 1e7;
constexpr double kDefaultKeyFrameSpacingSeconds = 8.0;
// wmav2 refuses less than this in total.
constexpr int kMinAudioBitrateBps = 24000;

bool isNamed(QStringView name, QLatin1String wanted)
{
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

// Attribute names in profiles come in mixed case ("nChannels", "biwidth").
qint64 attributeNumber(const QXmlStreamAttributes& attributes, QLatin1String name, bool* ok)
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (isNamed(attribute.name(), name))
            return attribute.value().toLongLong(ok);
    }
    *ok = false;
    return 0;
}

qint64 optionalNumber(const QXmlStreamAttributes& attributes, QLatin1String name, qint64 fallback)
{
    bool ok = false;
    const qint64 value = attributeNumber(attributes, name, &ok);
    return ok ? value : fallback;
}

struct StreamConfig
{
    qint64 bitrateBps = 0;
    std::optional<VideoFormat> video;
    std::optional<AudioFormat> audio;
    bool broken = false;
};

void readVideoInfoHeader(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    if (!config->video)
        config->video.emplace(); // the picture properties may come first
    bool ok = false;
    const qint64 timePerFrame = attributeNumber(attributes, QLatin1String("avgtimeperframe"), &ok);
    if (!ok || timePerFrame <= 0) {
        config->broken = true;
        return;
    }
    config->video->maxFrameRate = av_d2q(kHundredNanosPerSecond / double(timePerFrame), 100000);
    if (config->bitrateBps <= 0)
        config->bitrateBps = optionalNumber(attributes, QLatin1String("dwbitrate"), 0);
}

void readBitmapInfoHeader(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    bool widthOk = false;
    bool heightOk = false;
    const qint64 width = attributeNumber(attributes, QLatin1String("biwidth"), &widthOk);
    const qint64 height = attributeNumber(attributes, QLatin1String("biheight"), &heightOk);
    if (!config->video || !widthOk || !heightOk || width > 65536 || std::llabs(height) > 65536) {
        config->broken = true;
        return;
    }
    config->video->widthPx = int(width);
    config->video->heightPx = int(std::llabs(height)); // negative means a top-down bitmap
}

void readVideoMediaProps(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    if (!config->video)
        config->video.emplace();
    const qint64 spacing = optionalNumber(attributes, QLatin1String("maxkeyframespacing"), 0);
    config->video->keyFrameSpacingSeconds = double(spacing) / kHundredNanosPerSecond;
    config->video->quality = int(optionalNumber(attributes, QLatin1String("quality"), 0));
}

void readWaveFormat(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    bool channelsOk = false;
    bool rateOk = false;
    const qint64 channels = attributeNumber(attributes, QLatin1String("nchannels"), &channelsOk);
    const qint64 rate = attributeNumber(attributes, QLatin1String("nsamplespersec"), &rateOk);
    if (!channelsOk || !rateOk || channels > 64 || rate > 1000000) {
        config->broken = true;
        return;
    }
    AudioFormat& audio = config->audio.emplace();
    audio.channels = int(channels);
    audio.sampleRateHz = int(rate);
    if (config->bitrateBps <= 0)
        config->bitrateBps = optionalNumber(attributes, QLatin1String("navgbytespersec"), 0) * 8;
}

StreamConfig readStreamConfig(QXmlStreamReader& reader)
{
    StreamConfig config;
    config.bitrateBps = optionalNumber(reader.attributes(), QLatin1String("bitrate"), 0);
    for (int depth = 1; depth > 0 && !reader.atEnd();) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QStringView name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (isNamed(name, QLatin1String("videoinfoheader")))
            readVideoInfoHeader(attributes, &config);
        else if (isNamed(name, QLatin1String("bitmapinfoheader")))
            readBitmapInfoHeader(attributes, &config);
        else if (isNamed(name, QLatin1String("videomediaprops")))
            readVideoMediaProps(attributes, &config);
        else if (isNamed(name, QLatin1String("waveformatex")))
            readWaveFormat(attributes, &config);
    }
    if (config.video && config.audio)
        config.broken = true; // one stream is either picture or sound
    if (config.bitrateBps <= 0 || config.bitrateBps > INT32_MAX)
        config.broken = true;
    return config;
}

// Adds one stream to the profile; the first stream of each kind counts.
bool mergeStream(const StreamConfig& config, OutputProfile* profile)
{
    if (config.broken)
        return false;
    if (config.video && !profile->video) {
        profile->video = config.video;
        profile->video->bitrateBps = int(config.bitrateBps);
        if (profile->video->keyFrameSpacingSeconds <= 0.0)
            profile->video->keyFrameSpacingSeconds = kDefaultKeyFrameSpacingSeconds;
    } else if (config.audio && !profile->audio) {
        profile->audio = config.audio;
        profile->audio->bitrateBps = int(config.bitrateBps);
    }
    return true;
}

} // namespace

bool isValidVideoFormat(const VideoFormat& format)
{
    const bool sizeOk = format.widthPx >= 16 && format.heightPx >= 16 && format.widthPx <= 4096 &&
                        format.heightPx <= 4096 && format.widthPx % 2 == 0 && format.heightPx % 2 == 0;
    const double fps = format.maxFrameRate.den > 0 ? av_q2d(format.maxFrameRate) : 0.0;
    return sizeOk && fps >= 1.0 && fps <= 120.0 && format.bitrateBps >= 10000 &&
           format.bitrateBps <= 100000000 && format.quality >= 0 && format.quality <= 100;
}

bool isValidAudioFormat(const AudioFormat& format)
{
    static constexpr std::array<int, 7> kRates = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
    const bool rateOk = std::find(kRates.begin(), kRates.end(), format.sampleRateHz) != kRates.end();
    return rateOk && (format.channels == 1 || format.channels == 2) &&
           format.bitrateBps >= kMinAudioBitrateBps && format.bitrateBps <= 384000;
}

std::optional<OutputProfile> parseProfile(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || !isNamed(reader.name(), QLatin1String("profile")))
        return std::nullopt;
    OutputProfile profile;
    while (reader.readNextStartElement()) {
        if (!isNamed(reader.name(), QLatin1String("streamconfig"))) {
            reader.skipCurrentElement();
            continue;
        }
        if (!mergeStream(readStreamConfig(reader), &profile))
            return std::nullopt;
    }
    if (reader.hasError() || (!profile.video && !profile.audio))
        return std::nullopt;
    if ((profile.video && !isValidVideoFormat(*profile.video)) ||
        (profile.audio && !isValidAudioFormat(*profile.audio)))
        return std::nullopt;
    return profile;
}

std::optional<OutputProfile> loadProfileFile(const QString& path)
{
    QFile file(path);
    // Real profiles are a few kilobytes; anything huge is not one.
    constexpr qint64 kMaxProfileBytes = 1 << 20;
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxProfileBytes)
        return std::nullopt;
    return parseProfile(file.read(kMaxProfileBytes));
}

std::optional<AudioFormat> audioFormatForCode(int code)
{
    // channels, sample rate, bit rate: the rates wmav2 encodes well at each bit rate
    static constexpr std::array<AudioFormat, 7> kFormats = {{
        {1, 22050, 28800},
        {2, 22050, 28800},
        {2, 22050, 32000},
        {2, 32000, 48000},
        {2, 44100, 64000},
        {2, 44100, 96000},
        {2, 44100, 128000},
    }};
    constexpr int kFirstCode = 15;
    if (code < kFirstCode || code >= kFirstCode + int(kFormats.size()))
        return std::nullopt;
    return kFormats[size_t(code - kFirstCode)];
}
