// Colour scaling, band edges and texts of the background window, in plain integer arithmetic
// so that native tests check them exactly.
#include "setup/Background.h"

#include "core/MulDiv.h"

namespace pelorin {

std::uint32_t ScaleColor(std::uint32_t color, int factor) {
    std::uint32_t result = color & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t channel = (color >> shift) & 0xFF;
        result |= ((channel * static_cast<std::uint32_t>(factor)) / 255) << shift;
    }
    return result;
}

int BandFactor(int band) { return (4 * band) ^ 0xFF; }

int BandTop(int height, int band) { return MulDiv(height, band, kBackgroundBands - 1); }

std::string BackgroundText(const std::string& appName) {
    return ("Installing " + appName).substr(0, kBackgroundTextLimit);
}

std::string BackgroundCaption(const std::string& appName) { return appName + " - Setup"; }

}  // namespace pelorin
