// What a conversion writes: the picture and sound formats read from a Windows Media
// profile (".prx", XML), or the sound alone from an audio bit rate code.
#pragma once

extern "C" {
#include <libavutil/rational.h>
}

#include <QByteArray>
#include <QString>

#include <optional>

struct VideoFormat
{
    int widthPx = 0;
    int heightPx = 0;
    AVRational maxFrameRate{0, 1}; // the source rate is kept up to this
    int bitrateBps = 0;
    double keyFrameSpacingSeconds = 0.0;
    int quality = 0; // 0..100; high values ask for the slower, better encode
};

struct AudioFormat
{
    int channels = 0;
    int sampleRateHz = 0;
    int bitrateBps = 0;
};

struct OutputProfile
{
    std::optional<VideoFormat> video;
    std::optional<AudioFormat> audio;
};

// The picture bit rates a profile may ask for, and a target size may come to.
constexpr int kMinVideoBitrateBps = 10000;
constexpr int kMaxVideoBitrateBps = 100000000;

// Quality from which the encoder spends about twice the time for a cleaner picture.
constexpr int kHighQualityThreshold = 90;

// Real profiles are a few kilobytes; a larger file is not one, and would be slow to read.
constexpr qint64 kMaxProfileBytes = 64 * 1024;

// Reads the profile XML; nullopt when it is malformed, has no stream, has a number out
// of range, or asks for something the Windows Media encoders cannot do.
std::optional<OutputProfile> parseProfile(const QByteArray& xml);
// Reads each version of a file once, whichever thread asks; nullopt for a file larger
// than kMaxProfileBytes.
std::optional<OutputProfile> loadProfileFile(const QString& path);

// The formats of the audio bit rate codes (see kFirstAudioCode).
std::optional<AudioFormat> audioFormatForCode(int code);

bool isValidVideoFormat(const VideoFormat& format);
bool isValidAudioFormat(const AudioFormat& format);
