// Pictures of the wizard's pages as a user sees them, taken from the screen when
// PELORIN_SHOTS_DIR names a folder (run inside Wine's virtual desktop to get frames).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "setup/Globals.h"
#include "setup/wizard/About.h"
#include "setup/wizard/Wizard.h"
#include "tests/win/wizard/SampleSetup.h"
#include "ui/Application.h"
#include "ui/Graphics.h"

namespace pelorin {
namespace {

// Saves the screen area of the window as a 24-bit bitmap file.
void SaveWindowPicture(HWND window, const std::string& path) {
    RECT r{};
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
    {
        const ClientDc screen(nullptr);
        const MemoryDc memory(screen.get());
        const GdiHandle bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
        {
            const SelectedObject selected(memory.get(), bitmap.get());
            ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
        }
        ::GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, height, pixels.data(),
                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

void Settle() {
    for (int i = 0; i < 20; ++i) {
        ProcessMessages();
        ::Sleep(25);
    }
}

TEST(Screenshots, EveryWizardPage) {
    const char* dir = std::getenv("PELORIN_SHOTS_DIR");
    if (!dir) GTEST_SKIP() << "PELORIN_SHOTS_DIR not set";
    UseSampleSetup();
    TWizardForm wizard(
        nullptr, [] { return false; }, nullptr);
    wizard.Show();
    for (int page = 0; page < 6; ++page) {
        wizard.SetCurPage(static_cast<WizardPage>(page));
        Settle();
        SaveWindowPicture(wizard.Handle(), std::string(dir) + "\\wizard-page" + std::to_string(page) + ".bmp");
    }
    wizard.Hide();
    TAboutForm about;
    about.Show();
    Settle();
    SaveWindowPicture(about.Handle(), std::string(dir) + "\\about.bmp");
}

}  // namespace
}  // namespace pelorin
