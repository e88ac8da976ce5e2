#pragma once

#include <QColor>

namespace vorbix {

// Relative luminance and contrast ratio as WCAG 2 defines them: the ratio
// runs from 1 (the same colour) to 21 (black on white).
double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& a, const QColor& b);

// What ordinary text needs to be readable.
inline constexpr double ReadableContrast = 4.5;

// The colour itself when it reaches the ratio against the other one;
// otherwise the same hue made darker or lighter, whichever gets there with
// less change (black or white at the end of the road).
QColor withContrast(const QColor& colour, const QColor& against, double ratio = ReadableContrast);

} // namespace vorbix
