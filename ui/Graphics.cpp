// TColor resolution (system colours through the platform's colour table, read afresh at every
// call so that a change of the scheme shows at the next paint) and the drawing owners.
#include "ui/Graphics.h"

namespace pelorin {

COLORREF ColorToRGB(TColor color) {
    if (color & kSystemColorFlag) return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

HBRUSH CreateColorBrush(TColor color) { return ::CreateSolidBrush(ColorToRGB(color)); }

PaintDc::PaintDc(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}

PaintDc::~PaintDc() { ::EndPaint(window_, &paint_); }

ClientDc::ClientDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}

ClientDc::~ClientDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
}

MemoryDc::MemoryDc(HDC compatible) noexcept : dc_(::CreateCompatibleDC(compatible)) {}

MemoryDc::~MemoryDc() {
    if (dc_) ::DeleteDC(dc_);
}

SelectedObject::SelectedObject(HDC dc, HGDIOBJ object) noexcept
    : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
}

SelectedObject::~SelectedObject() {
    if (previous_) ::SelectObject(dc_, previous_);
}

SelectedPalette::SelectedPalette(HDC dc, HPALETTE palette, bool background) noexcept
    : dc_(dc), previous_(palette ? ::SelectPalette(dc, palette, background ? TRUE : FALSE) : nullptr) {}

SelectedPalette::~SelectedPalette() {
    if (previous_) ::SelectPalette(dc_, previous_, TRUE);
}

UINT SelectedPalette::Realize() const noexcept { return previous_ ? ::RealizePalette(dc_) : 0; }

namespace {

HBITMAP TopDownSection(HDC dc, int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return dc ? ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0) : nullptr;
}

}  // namespace

PixelCanvas::PixelCanvas(int width, int height) noexcept
    : width_(width),
      height_(height),
      bitmap_(TopDownSection(dc_.get(), width, height, &bits_)),
      selected_(dc_.get(), bitmap_.get()) {}

std::vector<std::uint32_t> PixelCanvas::Pixels() const {
    if (!*this) return {};
    ::GdiFlush();
    const auto* begin = static_cast<const std::uint32_t*>(bits_);
    std::vector<std::uint32_t> pixels(begin, begin + static_cast<std::size_t>(width_) * height_);
    for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
}

PointFont::PointFont(const std::string& face, int points, const FontStyle& style) {
    LOGFONTA font{};
    {
        const ClientDc screen(nullptr);
        font.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    }
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style.italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = style.pitchAndFamily;
    ::lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    font_.reset(::CreateFontIndirectA(&font));
}

}  // namespace pelorin
