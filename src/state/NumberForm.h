#pragma once

#include <QString>

#include <cstdint>

namespace vorbix {

// Numbers in labels keep a place for the sign: " 5", " 0", "-3".
QString signedNumber(std::int64_t n);

// Nearest integer, a tie going to the even one (0.5 -> 0, 1.5 -> 2, 12.5 -> 12).
std::int64_t roundHalfEven(double x);

// Whole percentage of right answers, rounded half to even; answered must be > 0.
std::int64_t percentRight(std::int64_t right, std::int64_t answered);

} // namespace vorbix
