// Drawing values and owners of the window layer shared by its controls: the frame of a control,
// TColor (red, green and blue in its low three bytes, or a system colour: high byte 0x80 and a
// system colour index, resolved when drawing), the drawing contexts, selections and fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/Handles.h"

namespace pelorin {

// The frame of a control: none, or a single line.
enum TBorderStyle { bsNone, bsSingle };

using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;

constexpr TColor clBlack = 0x000000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clTeal = 0x808000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = kSystemColorFlag | COLOR_BTNFACE;
constexpr TColor clWindow = kSystemColorFlag | COLOR_WINDOW;
constexpr TColor clWindowText = kSystemColorFlag | COLOR_WINDOWTEXT;

// The colour's current red-green-blue value (a system colour asks the platform).
COLORREF ColorToRGB(TColor color);

// A solid brush of the colour's current value; the caller deletes it.
HBRUSH CreateColorBrush(TColor color);

// The drawing context of one WM_PAINT of a window, ended with the object.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept;
    ~PaintDc();
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The client-area drawing context of a window (of the whole screen for no window), given back
// with the object.
class ClientDc {
public:
    explicit ClientDc(HWND window) noexcept;
    ~ClientDc();
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory drawing context compatible with another (with the screen for none), deleted with the
// object. Empty when the platform could not make one.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) noexcept;
    ~MemoryDc();
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects a pen, brush, font or bitmap into a context; the object selected before comes back
// with the guard, on every way out. Selecting no object changes nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept;
    ~SelectedObject();
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // False when the object could not be selected.
    explicit operator bool() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette into a context (as a background palette when asked) and realises it on
// request; the palette selected before comes back, as a background palette, with the guard.
// No palette changes nothing.
class SelectedPalette {
public:
    SelectedPalette(HDC dc, HPALETTE palette, bool background) noexcept;
    ~SelectedPalette();
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;

    // Maps the palette into the system palette; the number of entries that changed there.
    UINT Realize() const noexcept;

private:
    HDC dc_;
    HPALETTE previous_;
};

// A 32-bit top-down bitmap selected into a memory context of its own, to draw into and read
// back pixel by pixel. Empty when the platform could not make it.
class PixelCanvas {
public:
    PixelCanvas(int width, int height) noexcept;

    explicit operator bool() const noexcept { return selected_ && bits_ != nullptr; }
    HDC get() const noexcept { return dc_.get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    // What has been drawn, row by row from the top, each pixel 0x00RRGGBB.
    std::vector<std::uint32_t> Pixels() const;

private:
    int width_;
    int height_;
    void* bits_ = nullptr;
    MemoryDc dc_{nullptr};
    GdiHandle bitmap_;
    SelectedObject selected_;
};

// How a font looks besides its face and size: weight, slant, and the platform's pitch-and-family
// byte that guides the choice of a substitute face.
struct FontStyle {
    bool bold = false;
    bool italic = false;
    BYTE pitchAndFamily = DEFAULT_PITCH;
};

// A font of a face at a size in points on the screen; owns its handle. Empty when default-made.
class PointFont {
public:
    PointFont() noexcept = default;
    PointFont(const std::string& face, int points, const FontStyle& style = {});

    HFONT get() const noexcept { return static_cast<HFONT>(font_.get()); }
    explicit operator bool() const noexcept { return font_.valid(); }

private:
    GdiHandle font_;
};

}  // namespace pelorin
