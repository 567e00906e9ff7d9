// Timestamp arithmetic that cannot overflow: hostile files carry timestamps near the
// ends of the 64-bit range. Results stay clear of AV_NOPTS_VALUE (INT64_MIN), which
// means "no timestamp".
#pragma once

#include <cstdint>
#include <limits>

constexpr int64_t kMinTimestamp = std::numeric_limits<int64_t>::min() + 1;
constexpr int64_t kMaxTimestamp = std::numeric_limits<int64_t>::max();

constexpr int64_t saturatingAdd(int64_t a, int64_t b)
{
    if (b > 0 && a > kMaxTimestamp - b)
        return kMaxTimestamp;
    if (b < 0 && a < kMinTimestamp - b)
        return kMinTimestamp;
    return a + b;
}

constexpr int64_t saturatingSub(int64_t a, int64_t b)
{
    if (b == std::numeric_limits<int64_t>::min()) // -b does not exist
        return a >= 0 ? kMaxTimestamp : saturatingAdd(a + kMaxTimestamp, 1);
    return saturatingAdd(a, -b);
}
