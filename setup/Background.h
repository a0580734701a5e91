// The arithmetic of the background window's picture: colour scaling, the 64 gradient bands
// and their edges, and the text it shows. Portable; the window itself is TMainForm.
#pragma once

#include <cstdint>
#include <string>

namespace pelorin {

constexpr int kBackgroundBands = 64;
// The text is cut to this many characters in total.
constexpr std::size_t kBackgroundTextLimit = 74;

// The three low bytes (red, green, blue) each multiplied by factor and divided by 255 with
// truncation; the top byte unchanged.
std::uint32_t ScaleColor(std::uint32_t color, int factor);

// The factor of band i (0 to 63): 255 - 4i, so 255, 251, ..., 3.
int BandFactor(int band);

// The top edge of band i in a client area of the given height: MulDiv(height, i, 63). Band i
// reaches down to the top of band i + 1, so the last band lies below the client area.
int BandTop(int height, int band);

// "Installing " followed by the application's name, cut to 74 characters.
std::string BackgroundText(const std::string& appName);

// The window caption: "<AppName> - Setup".
std::string BackgroundCaption(const std::string& appName);

}  // namespace pelorin
