// CaptureScreen: BitBlt from the screen into a top-down 32-bit DIB section; SaveBitmapFile
// writes the rows bottom-up with the padding that BMP rows need.
#include "tests/e2e/driver/Screenshot.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/Graphics.h"

namespace pelorin::driver {

Screenshot CaptureScreen(const RECT* area) {
    RECT r{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (area) r = *area;
    Screenshot shot;
    shot.width = r.right - r.left;
    shot.height = r.bottom - r.top;
    if (shot.width <= 0 || shot.height <= 0) return Screenshot{};
    const ClientDc screen(nullptr);
    const MemoryDc memory(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const GdiHandle section(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (section && bits) {
        const SelectedObject selected(memory.get(), section.get());
        ::BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), r.left, r.top, SRCCOPY);
        ::GdiFlush();
        shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height);
        std::memcpy(shot.pixels.data(), bits, shot.pixels.size() * sizeof(std::uint32_t));
        for (std::uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
    }
    if (shot.pixels.empty()) return Screenshot{};
    return shot;
}

Screenshot CaptureWindow(HWND window) {
    RECT r{};
    if (!::GetWindowRect(window, &r)) return Screenshot{};
    return CaptureScreen(&r);
}

bool SaveBitmapFile(const Screenshot& shot, const std::string& path) {
    if (shot.empty()) return false;
    const int rowBytes = (shot.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = shot.width;
    header.biHeight = shot.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rowBytes) * shot.height;
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) return false;
    bool ok =
        std::fwrite(&file, sizeof file, 1, out.get()) == 1 && std::fwrite(&header, sizeof header, 1, out.get()) == 1;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0);
    for (int y = shot.height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t pixel = shot.At(x, y);
            row[x * 3] = static_cast<std::uint8_t>(Blue(pixel));
            row[x * 3 + 1] = static_cast<std::uint8_t>(Green(pixel));
            row[x * 3 + 2] = static_cast<std::uint8_t>(Red(pixel));
        }
        ok = std::fwrite(row.data(), row.size(), 1, out.get()) == 1;
    }
    return ok;
}

}  // namespace pelorin::driver
