// What a file says of itself beside its pictures and sound: when it was recorded, its
// title and the like, where it was made, its streams' languages and its chapters. Read
// from each source when it is probed, cut to the clip list's spans, and written into
// the output as far as its container holds them.
#pragma once

#include "MediaClip.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct AVFormatContext;
struct AVStream;

struct Chapter
{
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    QString title;
};

struct MediaFacts
{
    std::optional<int64_t> creationUs;                // UTC, microseconds since 1970
    std::vector<std::pair<QByteArray, QString>> tags; // FFmpeg's own keys: "title", "location" ...
    QString videoLanguage;                            // ISO 639-2; empty when untold
    QString audioLanguage;
    std::vector<Chapter> chapters; // in order, each within the file's length
};

// What an opened input says; the languages are those of its main picture and sound streams
// (index -1: none).
MediaFacts readFacts(const AVFormatContext* format, int videoIndex, int audioIndex);

// The facts of an output made of clips, from the facts of each clip's file: the tags of
// the first clip, its creation time moved on by its start (the span was recorded that
// much later), each clip's chapters within its span, moved to where the span lands in
// the output. The picture clips lead, the sound clips for an output of sound alone.
MediaFacts factsForClips(const ClipList& clips, bool soundOnly,
                         const std::function<std::optional<MediaFacts>(const QString& path)>& factsOf);

// Puts the facts into an output before its header is written: the file's tags, the
// languages of its streams (either may be null) and its chapters. Muxers write what
// their container holds of them.
bool writeFacts(AVFormatContext* output, const MediaFacts& facts, AVStream* video, AVStream* audio);
