#include "ProgressSteps.h"

#include <cmath>
#include <limits>

namespace {
int TruncatedToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    return int(std::trunc(std::fmin(std::fmax(value, kMin), kMax)));
}
} // namespace

ProgressSteps MapProgress(double position, double total)
{
    const int maximum = TruncatedToInt(total);
    if (maximum < 1)
        return {};
    const int value = TruncatedToInt(position);
    return {maximum, value < 0 ? 0 : (value > maximum ? maximum : value)};
}
