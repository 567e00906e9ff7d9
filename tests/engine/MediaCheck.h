// Reads media files back for the engine tests: what a converted file holds, decoded
// independently of the engine's own reading code.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// An 8-bit luma picture.
struct GrayImage
{
    int width = 0;
    int height = 0;
    QByteArray pixels;

    // Mean luma of the rows [firstRow, endRow) or columns [firstColumn, endColumn).
    double meanOfRows(int firstRow, int endRow) const;
    double meanOfColumns(int firstColumn, int endColumn) const;
};

double meanAbsoluteDifference(const GrayImage& a, const GrayImage& b);

struct VideoSummary
{
    QString codec;
    int width = 0;
    int height = 0;
    double frameRate = 0.0;
    int frameCount = 0;
    GrayImage firstFrame;
    GrayImage middleFrame;
};

struct AudioSummary
{
    QString codec;
    int channels = 0;
    int sampleRateHz = 0;
    long long bitrateBps = 0;
    long long sampleCount = 0; // decoded, per channel
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

struct TimedFrame
{
    double seconds = 0.0; // from the start of the file
    GrayImage image;
};

// The file's pictures up to untilSeconds, scaled to width x height.
std::vector<TimedFrame> decodeScaledFrames(const QString& path, int width, int height, double untilSeconds);

// Time of the source picture that looks most like image.
double bestMatchSeconds(const std::vector<TimedFrame>& source, const GrayImage& image);
