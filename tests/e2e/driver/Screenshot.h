// Screenshots for tests: the pixels of the screen or of a window's rectangle as the user sees
// them, read back from the screen, and saved as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin::driver {

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    bool empty() const { return pixels.empty(); }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The part of the screen in area (screen coordinates); the whole screen when area is null.
Screenshot CaptureScreen(const RECT* area = nullptr);

// The window's rectangle on the screen, with whatever lies above it.
Screenshot CaptureWindow(HWND window);

// Writes a bottom-up 24-bit BMP. False when the file cannot be written.
bool SaveBitmapFile(const Screenshot& shot, const std::string& path);

// Red, green and blue of a pixel value.
inline int Red(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
inline int Green(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }
inline int Blue(std::uint32_t pixel) { return pixel & 0xFF; }

}  // namespace pelorin::driver
