#include "ui/ReadableColour.h"

#include <QtMath>

#include <algorithm>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : qPow((channel + 0.055) / 1.055, 2.4);
}

bool isDark(const QColor& background)
{
    // Dark where white text would stand out more than black.
    return contrastRatio(background, Qt::white) > contrastRatio(background, Qt::black);
}

} // namespace

double relativeLuminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& design, const QColor& background)
{
    constexpr double aim = kReadableContrast + 0.4;
    if (!isDark(background))
        return design;
    const QColor rgb = design.toRgb();
    // Steps of 1/64 towards white: fine enough to stop close to the bound.
    for (int step = 0; step < 64; ++step) {
        const auto mix = [step](int channel) { return channel + (255 - channel) * step / 64; };
        const QColor lighter(mix(rgb.red()), mix(rgb.green()), mix(rgb.blue()));
        if (contrastRatio(lighter, background) >= aim)
            return lighter;
    }
    return Qt::white;
}
