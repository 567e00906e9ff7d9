#include "MediaFacts.h"

#include "Saturating.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/parseutils.h>
}

#include <QDateTime>

#include <array>
#include <cmath>
#include <cstring>

namespace {

// By FFmpeg's generic names, which each muxer maps to its container's own (MP4 and M4A
// iTunes atoms, Matroska tags, ASF's content description, ID3 frames).
constexpr std::array<const char*, 11> kCarriedTags{"title",    "artist",  "album_artist", "album",
                                                   "composer", "genre",   "date",         "track",
                                                   "disc",     "comment", "copyright"};
// ISO 6709 ("+48.8584+002.2945/"), under the names readers give it: QuickTime's ©xyz,
// Apple's key; MP4's 3GPP location comes with a language ("location-eng").
constexpr std::array<const char*, 2> kLocationKeys{"location", "com.apple.quicktime.location.ISO6709"};
constexpr AVRational kChapterTimeBase{1, 1000};
constexpr double kMicrosecondsPerSecond = 1e6;

QString valueOf(const AVDictionary* tags, const char* key, int flags = 0)
{
    const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, flags);
    return entry ? QString::fromUtf8(entry->value) : QString();
}

QString locationOf(const AVDictionary* tags)
{
    for (const char* key : kLocationKeys) {
        if (const QString location = valueOf(tags, key); !location.isEmpty())
            return location;
    }
    return valueOf(tags, "location-", AV_DICT_IGNORE_SUFFIX);
}

QString languageOf(const AVFormatContext* format, int streamIndex)
{
    const QString language =
        streamIndex < 0 ? QString() : valueOf(format->streams[streamIndex]->metadata, "language");
    return language == QLatin1String("und") ? QString() : language;
}

std::optional<int64_t> creationOf(const AVDictionary* tags)
{
    const AVDictionaryEntry* entry = av_dict_get(tags, "creation_time", nullptr, 0);
    int64_t us = 0;
    if (!entry || av_parse_time(&us, entry->value, 0) < 0)
        return std::nullopt;
    return us;
}

std::vector<Chapter> chaptersOf(const AVFormatContext* format)
{
    std::vector<Chapter> chapters;
    for (unsigned i = 0; i < format->nb_chapters; ++i) {
        const AVChapter* chapter = format->chapters[i];
        const double timeBase = av_q2d(chapter->time_base);
        chapters.push_back(Chapter{double(chapter->start) * timeBase, double(chapter->end) * timeBase,
                                   valueOf(chapter->metadata, "title")});
    }
    return chapters;
}

// The chapters of clip's file that reach into its span, cut to it and placed from
// outputSeconds on.
void addSpanChapters(const std::vector<Chapter>& chapters, const MediaClip& clip, double outputSeconds,
                     std::vector<Chapter>* placed)
{
    const double shift = outputSeconds - clip.startSeconds;
    for (const Chapter& chapter : chapters) {
        const double start = std::max(chapter.startSeconds, clip.startSeconds);
        const double end = std::min(chapter.endSeconds, clip.endSeconds);
        if (end > start)
            placed->push_back(Chapter{start + shift, end + shift, chapter.title});
    }
}

// ISO 8601 in UTC, as the muxers parse "creation_time".
QString isoUtc(int64_t us)
{
    return QDateTime::fromMSecsSinceEpoch(us / 1000, Qt::UTC).toString(Qt::ISODateWithMs);
}

// The output context owns the chapter once it is in its list.
bool addChapter(AVFormatContext* output, const Chapter& chapter)
{
    auto** grown = static_cast<AVChapter**>(
        av_realloc_array(output->chapters, output->nb_chapters + 1, sizeof(AVChapter*)));
    if (!grown)
        return false;
    output->chapters = grown;
    auto* added = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
    if (!added)
        return false;
    output->chapters[output->nb_chapters++] = added;
    added->id = output->nb_chapters;
    added->time_base = kChapterTimeBase;
    added->start = std::llround(chapter.startSeconds * kChapterTimeBase.den);
    added->end = std::llround(chapter.endSeconds * kChapterTimeBase.den);
    return chapter.title.isEmpty() || av_dict_set(&added->metadata, "title", chapter.title.toUtf8(), 0) >= 0;
}

} // namespace

MediaFacts readFacts(const AVFormatContext* format, int videoIndex, int audioIndex)
{
    MediaFacts facts;
    facts.creationUs = creationOf(format->metadata);
    for (const char* key : kCarriedTags) {
        if (const QString value = valueOf(format->metadata, key); !value.isEmpty())
            facts.tags.emplace_back(key, value);
    }
    if (const QString location = locationOf(format->metadata); !location.isEmpty())
        facts.tags.emplace_back("location", location);
    facts.videoLanguage = languageOf(format, videoIndex);
    facts.audioLanguage = languageOf(format, audioIndex);
    if (facts.audioLanguage.isEmpty()) // MP3's ID3 tells the language of the whole file
        facts.audioLanguage = valueOf(format->metadata, "language");
    facts.chapters = chaptersOf(format);
    return facts;
}

MediaFacts factsForClips(const ClipList& clips, bool soundOnly,
                         const std::function<std::optional<MediaFacts>(const QString& path)>& factsOf)
{
    MediaFacts facts;
    const std::vector<MediaClip>& leading = soundOnly ? clips.audio : clips.video;
    double outputSeconds = 0.0;
    for (const MediaClip& clip : leading) {
        const std::optional<MediaFacts> source = factsOf(clip.path);
        if (source && &clip == &leading.front()) {
            facts.tags = source->tags;
            if (source->creationUs)
                facts.creationUs = saturatingAdd(*source->creationUs,
                                                 std::llround(clip.startSeconds * kMicrosecondsPerSecond));
        }
        if (source)
            addSpanChapters(source->chapters, clip, outputSeconds, &facts.chapters);
        outputSeconds += clip.endSeconds - clip.startSeconds;
    }
    const auto first = [&factsOf](const std::vector<MediaClip>& list) {
        return list.empty() ? std::nullopt : factsOf(list.front().path);
    };
    if (const std::optional<MediaFacts> source = first(clips.video); source && !soundOnly)
        facts.videoLanguage = source->videoLanguage;
    if (const std::optional<MediaFacts> source = first(clips.audio))
        facts.audioLanguage = source->audioLanguage;
    return facts;
}

bool writeFacts(AVFormatContext* output, const MediaFacts& facts, AVStream* video, AVStream* audio)
{
    bool ok = true;
    const auto set = [&ok](AVDictionary** tags, const char* key, const QString& value) {
        if (!value.isEmpty())
            ok = av_dict_set(tags, key, value.toUtf8().constData(), 0) >= 0 && ok;
    };
    for (const auto& [key, value] : facts.tags)
        set(&output->metadata, key.constData(), value);
    if (facts.creationUs)
        set(&output->metadata, "creation_time", isoUtc(*facts.creationUs));
    if (video)
        set(&video->metadata, "language", facts.videoLanguage);
    // MP3 has no stream languages; ID3 keeps the sound's as a tag of the file (TLAN).
    const bool fileLanguage = std::strcmp(output->oformat->name, "mp3") == 0;
    if (audio)
        set(fileLanguage ? &output->metadata : &audio->metadata, "language", facts.audioLanguage);
    for (const Chapter& chapter : facts.chapters)
        ok = ok && addChapter(output, chapter);
    return ok;
}
