// How the picture's bits are spent: at the profile's own bit rate, at a constant
// quality, or to fill a file of a given size (met in two passes).
#pragma once

#include <cstdint>
#include <optional>

enum class QualityMode
{
    ProfileBitrate = 0,
    ConstantQuality = 1,
    TargetSize = 2,
};

enum class QualityLevel
{
    Best = 0,
    High = 1,
    Good = 2,
    Small = 3,
};

struct VideoQuality
{
    QualityMode mode = QualityMode::ProfileBitrate;
    QualityLevel level = QualityLevel::Good; // of ConstantQuality
    double targetMegabytes = 0.0;            // of TargetSize, 1 MB = 1,000,000 bytes
};

constexpr double kBytesPerMegabyte = 1e6;
// Sizes a person would ask of one output file.
constexpr double kMinTargetMegabytes = 0.1;
constexpr double kMaxTargetMegabytes = 100000.0;

// The quality a mode and its value ask for: a level (0 Best to 3 Small) for constant
// quality, megabytes for a target size, nothing for the profile's rate; nullopt for a
// mode or value outside those.
std::optional<VideoQuality> videoQualityFor(long mode, double value);

// The picture's bit rate that fills a file of targetBytes: what the sound and the
// container's own bytes leave of it, spread over the span; 0 when nothing is left.
int64_t targetVideoBitrate(int64_t targetBytes, int64_t soundBytes, int64_t overheadBytes, double seconds);
