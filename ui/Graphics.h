// Drawing values of the window layer shared by its controls: the frame of a control, and
// TColor, which holds red, green and blue in its low three bytes, or a system colour (high byte
// 0x80 and a system colour index) that is resolved when drawing.
#pragma once

#include <windows.h>

#include <cstdint>

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

}  // namespace pelorin
