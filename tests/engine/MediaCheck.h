// Test media and profiles, and converted files read back without the engine's clip reader.
#pragma once

#include "engine/FfmpegHandles.h"

#include "engine/CMediaEngine.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

inline QString fixturePath(const QString& name)
{
    return QStringLiteral(VV_FIXTURES_DIR "/") + name;
}

inline QString profilePath(const QString& name)
{
    return QStringLiteral(VV_PROFILES_DIR "/") + name;
}

// What phones, cameras, screen recorders and downloads make: 1 s each, the portrait clip upright.
inline const char* const kTodaysFixtures[]{"phone.mp4",  "camera.mov",  "screen.mkv", "clip.webm",
                                           "clip.flv",   "clip.ts",     "clip.3gp",   "av1.mkv",
                                           "tenbit.mp4", "portrait.mp4"};

// One span of a file's picture and sound, as the window adds a row: to the engine control,
// or to the media core behind it.
template <typename Engine>
void addClip(Engine& engine, const QString& path, double startSeconds, double endSeconds, int stretch = 0)
{
    engine.AddVideoClip(path, startSeconds, endSeconds, short(stretch));
    engine.AddAudioClip(path, startSeconds, endSeconds);
}
inline void addClip(CMediaEngine& engine, const QString& path, double startSeconds, double endSeconds,
                    int stretch = 0)
{
    engine.addVideoClip(path, startSeconds, endSeconds, stretch);
    engine.addAudioClip(path, startSeconds, endSeconds);
}

QByteArray readFile(const QString& path); // empty when it cannot be read
bool writeFile(const QString& path, const QByteArray& content);

// Profile XML with its first (sound) or its last (picture) stream taken out.
QByteArray withoutStream(QByteArray xml, bool picture);

struct VideoSummary
{
    QString codec;
    QString pixelFormat;
    QSize size;
    double frameRate = 0.0;
    int frameCount = 0;
    QImage firstFrame;
    QImage middleFrame;
};

struct AudioSummary
{
    QString codec;
    int channels = 0;
    int sampleRateHz = 0;
    long long bitrateBps = 0;
    long long sampleCount = 0; // decoded, per channel

    // wmav2 works in frames of up to 2048 samples; its last one may be cut short.
    bool lasts(double seconds) const
    {
        return qAbs(double(sampleCount) / sampleRateHz - seconds) <= 2048.0 / sampleRateHz + 0.001;
    }
};

struct MediaSummary
{
    QString container;
    int videoStreams = 0;
    int audioStreams = 0;
    std::optional<VideoSummary> video;
    std::optional<AudioSummary> audio;
};

// Decodes the whole file; nullopt when it cannot be opened.
std::optional<MediaSummary> summarizeMedia(const QString& path);

// Pictures are read back as luma at this size, whatever their own.
inline constexpr QSize kLumaSize(160, 120);

double meanLuma(const QImage& picture, const QRect& area);

struct TimedFrame
{
    double seconds = 0.0; // from the start of the file
    QImage picture;
};

std::vector<TimedFrame> decodeFrames(const QString& path);

// Seconds from the file's start to the first bright picture / loud sound; -1 for none.
double flashSeconds(const QString& path);
double beepSeconds(const QString& path);

// Time of the source picture that looks most like picture; -1 when there is none.
double bestMatchSeconds(const std::vector<TimedFrame>& source, const QImage& picture);

// The file's first decoded picture; with ownTagsOnly the decoder is not told the colour
// tags of the container, so the picture carries only those of its bitstream.
FramePtr firstPicture(const QString& path, bool ownTagsOnly = false);
