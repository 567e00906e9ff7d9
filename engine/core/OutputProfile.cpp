#include "OutputProfile.h"

#include "engine/OutputFormats.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <limits>
#include <mutex>

namespace {

constexpr double kHundredNanosPerSecond = 1e7;
constexpr double kDefaultKeyFrameSpacingSeconds = 8.0;
// wmav2 refuses less than this in total.
constexpr int kMinAudioBitrateBps = 24000;
// The four profiles we ship and a few the user picked.
constexpr size_t kCachedProfiles = 8;

bool isNamed(QStringView name, QLatin1String wanted)
{
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

struct StreamConfig
{
    qint64 bitrateBps = 0;
    std::optional<VideoFormat> video;
    std::optional<AudioFormat> audio;
    bool broken = false;
};

// What a number attribute may hold. Each range keeps the value exact in the field it
// lands in and keeps the arithmetic on it from overflowing.
struct NumberRange
{
    qint64 least;
    qint64 most;
};

constexpr NumberRange kBitrateRange{0, INT32_MAX}; // 0: given by the stream's header
constexpr NumberRange kByteRateRange{0, INT32_MAX / 8};
constexpr NumberRange kTimePerFrameRange{1, std::numeric_limits<qint64>::max()};
constexpr NumberRange kWidthRange{0, 65536};
constexpr NumberRange kHeightRange{-65536, 65536};                 // negative means a top-down bitmap
constexpr NumberRange kKeyFrameSpacingRange{0, 3600 * 10000000LL}; // up to an hour; 0: the default
constexpr NumberRange kQualityRange{0, 100};
constexpr NumberRange kChannelsRange{0, 64};
constexpr NumberRange kSampleRateRange{0, 1000000};

// The attribute's value; nullopt when it is absent. A value that is not a whole number
// within range breaks the stream rather than being wrapped or cut to fit.
// Attribute names in profiles come in mixed case ("nChannels", "biwidth").
std::optional<qint64> attributeNumber(const QXmlStreamAttributes& attributes, QLatin1String name,
                                      NumberRange range, StreamConfig* config)
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (!isNamed(attribute.name(), name))
            continue;
        bool ok = false;
        const qint64 value = attribute.value().toLongLong(&ok);
        if (ok && value >= range.least && value <= range.most)
            return value;
        config->broken = true;
        return std::nullopt;
    }
    return std::nullopt;
}

// Like attributeNumber(), but the stream is broken without it.
std::optional<qint64> requiredNumber(const QXmlStreamAttributes& attributes, QLatin1String name,
                                     NumberRange range, StreamConfig* config)
{
    const std::optional<qint64> value = attributeNumber(attributes, name, range, config);
    if (!value)
        config->broken = true;
    return value;
}

void readVideoInfoHeader(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    if (!config->video)
        config->video.emplace(); // the picture properties may come first
    const std::optional<qint64> timePerFrame =
        requiredNumber(attributes, QLatin1String("avgtimeperframe"), kTimePerFrameRange, config);
    const qint64 bitrate =
        attributeNumber(attributes, QLatin1String("dwbitrate"), kBitrateRange, config).value_or(0);
    if (!timePerFrame)
        return;
    config->video->maxFrameRate = av_d2q(kHundredNanosPerSecond / double(*timePerFrame), 100000);
    if (config->bitrateBps <= 0)
        config->bitrateBps = bitrate;
}

void readBitmapInfoHeader(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    const std::optional<qint64> width =
        requiredNumber(attributes, QLatin1String("biwidth"), kWidthRange, config);
    const std::optional<qint64> height =
        requiredNumber(attributes, QLatin1String("biheight"), kHeightRange, config);
    if (!config->video || !width || !height) {
        config->broken = true;
        return;
    }
    config->video->widthPx = int(*width);
    config->video->heightPx = int(std::abs(*height));
}

void readVideoMediaProps(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    if (!config->video)
        config->video.emplace();
    const qint64 spacing =
        attributeNumber(attributes, QLatin1String("maxkeyframespacing"), kKeyFrameSpacingRange, config)
            .value_or(0);
    const qint64 quality =
        attributeNumber(attributes, QLatin1String("quality"), kQualityRange, config).value_or(0);
    config->video->keyFrameSpacingSeconds = double(spacing) / kHundredNanosPerSecond;
    config->video->quality = int(quality);
}

void readWaveFormat(const QXmlStreamAttributes& attributes, StreamConfig* config)
{
    const std::optional<qint64> channels =
        requiredNumber(attributes, QLatin1String("nchannels"), kChannelsRange, config);
    const std::optional<qint64> rate =
        requiredNumber(attributes, QLatin1String("nsamplespersec"), kSampleRateRange, config);
    const qint64 bytesPerSecond =
        attributeNumber(attributes, QLatin1String("navgbytespersec"), kByteRateRange, config).value_or(0);
    if (!channels || !rate)
        return;
    AudioFormat& audio = config->audio.emplace();
    audio.channels = int(*channels);
    audio.sampleRateHz = int(*rate);
    if (config->bitrateBps <= 0)
        config->bitrateBps = bytesPerSecond * 8;
}

StreamConfig readStreamConfig(QXmlStreamReader& reader)
{
    StreamConfig config;
    config.bitrateBps =
        attributeNumber(reader.attributes(), QLatin1String("bitrate"), kBitrateRange, &config).value_or(0);
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
    if (config.bitrateBps <= 0)
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

// One byte past the limit tells a file at the limit from a larger one. The size on disk
// is not trusted: the file may grow meanwhile, and devices and pipes tell none.
std::optional<OutputProfile> readProfileFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray xml = file.read(kMaxProfileBytes + 1);
    if (xml.size() > kMaxProfileBytes)
        return std::nullopt;
    return parseProfile(xml);
}

// A profile as read from one version of its file; a changed size or time means a new version.
struct CachedProfile
{
    QString canonicalPath;
    qint64 size = 0;
    QDateTime modified;
    OutputProfile profile;

    bool isSameFile(const CachedProfile& other) const { return canonicalPath == other.canonicalPath; }
    bool isSameVersion(const CachedProfile& other) const
    {
        return isSameFile(other) && size == other.size && modified == other.modified;
    }
};

// The most recently read last.
struct ProfileCache
{
    std::mutex mutex;
    std::deque<CachedProfile> entries;
};

ProfileCache& profileCache()
{
    static ProfileCache cache;
    return cache;
}

// The profile read from this version of the file before; refused ones are not kept.
std::optional<OutputProfile> findCached(const CachedProfile& wanted)
{
    ProfileCache& cache = profileCache();
    const std::lock_guard<std::mutex> lock(cache.mutex);
    const auto isWanted = [&wanted](const CachedProfile& entry) { return entry.isSameVersion(wanted); };
    const auto found = std::find_if(cache.entries.begin(), cache.entries.end(), isWanted);
    if (found == cache.entries.end())
        return std::nullopt;
    return found->profile;
}

void remember(const CachedProfile& read)
{
    ProfileCache& cache = profileCache();
    const std::lock_guard<std::mutex> lock(cache.mutex);
    const auto isOlderVersion = [&read](const CachedProfile& entry) { return entry.isSameFile(read); };
    cache.entries.erase(std::remove_if(cache.entries.begin(), cache.entries.end(), isOlderVersion),
                        cache.entries.end());
    cache.entries.push_back(read);
    if (cache.entries.size() > kCachedProfiles)
        cache.entries.pop_front();
}

} // namespace

bool isValidVideoFormat(const VideoFormat& format)
{
    const bool sizeOk = format.widthPx >= 16 && format.heightPx >= 16 && format.widthPx <= 4096 &&
                        format.heightPx <= 4096 && format.widthPx % 2 == 0 && format.heightPx % 2 == 0;
    const double fps = format.maxFrameRate.den > 0 ? av_q2d(format.maxFrameRate) : 0.0;
    return sizeOk && fps >= 1.0 && fps <= 120.0 && format.bitrateBps >= kMinVideoBitrateBps &&
           format.bitrateBps <= kMaxVideoBitrateBps && format.quality >= 0 && format.quality <= 100;
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
    const QFileInfo info(path);
    CachedProfile entry{info.canonicalFilePath(), info.size(), info.lastModified(), {}};
    if (entry.canonicalPath.isEmpty())
        return std::nullopt;
    if (std::optional<OutputProfile> cached = findCached(entry))
        return cached;
    const std::optional<OutputProfile> profile = readProfileFile(entry.canonicalPath);
    if (profile) {
        entry.profile = *profile;
        remember(entry);
    }
    return profile;
}

std::optional<AudioFormat> audioFormatForCode(int code)
{
    // channels, sample rate, bit rate: the rates wmav2 encodes well at each bit rate
    static constexpr std::array<AudioFormat, kAudioCodeCount> kFormats = {{
        {1, 22050, 28800},
        {2, 22050, 28800},
        {2, 22050, 32000},
        {2, 32000, 48000},
        {2, 44100, 64000},
        {2, 44100, 96000},
        {2, 44100, 128000},
    }};
    if (code < kFirstAudioCode || code >= kFirstAudioCode + kAudioCodeCount)
        return std::nullopt;
    return kFormats[size_t(code - kFirstAudioCode)];
}
