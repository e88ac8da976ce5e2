#include "state/NumberForm.h"

#include <cmath>

namespace vorbix {

QString signedNumber(std::int64_t n) { return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n); }

std::int64_t roundHalfEven(double x)
{
    const double lower = std::floor(x);
    const double diff = x - lower;
    double result = lower;
    if (diff > 0.5)
        result = lower + 1.0;
    else if (diff == 0.5)
        result = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    return static_cast<std::int64_t>(result);
}

std::int64_t percentRight(std::int64_t right, std::int64_t answered)
{
    return roundHalfEven(static_cast<double>(right) * 100.0 / static_cast<double>(answered));
}

} // namespace vorbix
