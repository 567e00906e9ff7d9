#include "engine/VideoQuality.h"

#include <cmath>

std::optional<VideoQuality> videoQualityFor(long mode, double value)
{
    VideoQuality quality;
    switch (mode) {
    case long(QualityMode::ProfileBitrate): return quality;
    case long(QualityMode::ConstantQuality):
        if (!(value >= 0.0 && value <= double(QualityLevel::Small)) || value != std::floor(value))
            return std::nullopt;
        quality.mode = QualityMode::ConstantQuality;
        quality.level = QualityLevel(int(value));
        return quality;
    case long(QualityMode::TargetSize):
        if (!(value >= kMinTargetMegabytes && value <= kMaxTargetMegabytes))
            return std::nullopt;
        quality.mode = QualityMode::TargetSize;
        quality.targetMegabytes = value;
        return quality;
    default: return std::nullopt;
    }
}

int64_t targetVideoBitrate(int64_t targetBytes, int64_t soundBytes, int64_t overheadBytes, double seconds)
{
    const double leftBits = double(targetBytes - soundBytes - overheadBytes) * 8.0;
    if (!(seconds > 0.0) || leftBits <= 0.0)
        return 0;
    return int64_t(std::floor(leftBits / seconds));
}
