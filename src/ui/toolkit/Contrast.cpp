#include "ui/toolkit/Contrast.h"

#include <algorithm>
#include <cmath>

namespace vorbix {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour mixed with black or white in the smallest step that reaches the
// ratio, in whole 8-bit channels as the screen shows it.
QColor blendUntil(const QColor& colour, const QColor& against, double ratio, bool toWhite)
{
    const int end = toWhite ? 255 : 0;
    const QColor c = colour.toRgb();
    const auto mix = [end](int channel, int step) { return channel + ((end - channel) * step + 128) / 256; };
    for (int step = 1; step <= 256; ++step) {
        const QColor mixed(mix(c.red(), step), mix(c.green(), step), mix(c.blue(), step));
        if (contrastRatio(mixed, against) >= ratio)
            return mixed;
    }
    return QColor(end, end, end);
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
