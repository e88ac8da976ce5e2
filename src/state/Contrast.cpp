#include "state/Contrast.h"

#include <algorithm>
#include <cmath>

namespace vorbix {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour mixed with black (toward 0) or white (toward 1) in the smallest
// step that reaches the ratio; steps of 1/256 are finer than 8-bit channels.
QColor blendUntil(const QColor& colour, const QColor& against, double ratio, bool toWhite)
{
    const QColor end = toWhite ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 1; step <= 256; ++step) {
        const double t = step / 256.0;
        const QColor mixed = QColor::fromRgbF(
            static_cast<float>(colour.redF() + (end.redF() - colour.redF()) * t),
            static_cast<float>(colour.greenF() + (end.greenF() - colour.greenF()) * t),
            static_cast<float>(colour.blueF() + (end.blueF() - colour.blueF()) * t));
        if (contrastRatio(mixed, against) >= ratio)
            return mixed.toRgb();
    }
    return end;
}

} // namespace

double relativeLuminance(const QColor& colour)
{
    const QColor c = colour.toRgb();
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor withContrast(const QColor& colour, const QColor& against, double ratio)
{
    if (contrastRatio(colour, against) >= ratio)
        return colour;
    const QColor darker = blendUntil(colour, against, ratio, false);
    const QColor lighter = blendUntil(colour, against, ratio, true);
    const bool darkerWorks = contrastRatio(darker, against) >= ratio;
    const bool lighterWorks = contrastRatio(lighter, against) >= ratio;
    if (darkerWorks != lighterWorks)
        return darkerWorks ? darker : lighter;
    // Both (or neither) get there: the smaller change in luminance wins.
    const double l = relativeLuminance(colour);
    return std::abs(relativeLuminance(darker) - l) <= std::abs(relativeLuminance(lighter) - l) ? darker : lighter;
}

} // namespace vorbix
