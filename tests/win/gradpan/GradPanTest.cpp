// TGradPan's real window under Wine: defaults, pixels of the gradients, pictures and caption
// effects painted into a bitmap, the movable panel's hit test and move event, and a gallery
// form of every effect written out as a picture to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "update/GradPan.h"

namespace pelorin {
namespace {

// The panel painted into a 32-bit bitmap of its outer size, read back pixel by pixel.
class Painted {
public:
    explicit Painted(TGradPan& panel) {
        RECT r{};
        ::GetWindowRect(panel.Handle(), &r);
        w_ = r.right - r.left;
        h_ = r.bottom - r.top;
        const PixelCanvas canvas(w_, h_);
        panel.PaintTo(canvas.get());
        pixels_ = canvas.Pixels();
    }
    // As RGB(r, g, b).
    COLORREF At(int x, int y) const {
        const std::uint32_t v = pixels_[static_cast<std::size_t>(y) * w_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int Count(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) n += At(x, y) == color;
        return n;
    }

private:
    int w_ = 0, h_ = 0;
    std::vector<std::uint32_t> pixels_;
};

class GradPanTest : public ::testing::Test {
protected:
    TGradPan& Panel(int w, int h) {
        TGradPan& panel = form_.Add<TGradPan>(TControl::Bounds{10, 10, w, h});
        panel.SetBevelOuter(TBevelCut::bvNone);
        return panel;
    }
    TForm form_{nullptr};
};

TEST_F(GradPanTest, StartsWithTheDocumentedDefaults) {
    TGradPan& panel = form_.Add<TGradPan>(TControl::Bounds{0, 0, 60, 60});
    EXPECT_EQ(panel.BackGroundEffect(), TDirection::bdVertIn);
    EXPECT_EQ(panel.ColorStart(), Rgb(0, 128, 128));
    EXPECT_EQ(panel.ColorEnd(), Rgb(255, 255, 255));
    EXPECT_EQ(panel.ColorShadow(), Rgb(128, 128, 128));
    EXPECT_FALSE(panel.Ctl3D());
    EXPECT_EQ(panel.TextEffect(), TTextEffect::teShadow);
    EXPECT_EQ(panel.TextRotation(), TTextRotation::trNone);
    EXPECT_EQ(panel.VertAlign(), TVertAlign::vlCenter);
    EXPECT_EQ(panel.Marge, 6);
    EXPECT_FALSE(panel.Moveable);
    EXPECT_EQ(panel.BitmapSize().cx, 50);
    // The default picture: a black square outline on white, its last row and column left white.
    panel.SetBackGroundEffect(TDirection::bdTileImage);
    const Painted tile(panel);
    EXPECT_EQ(tile.At(10, 48), RGB(0, 0, 0));
    EXPECT_EQ(tile.At(20, 20), RGB(255, 255, 255));
    EXPECT_EQ(tile.At(48, 10), RGB(0, 0, 0));
    EXPECT_EQ(tile.At(49, 10), RGB(255, 255, 255));
    EXPECT_EQ(tile.At(50, 10), RGB(0, 0, 0));  // the second copy
}

TEST_F(GradPanTest, GradientsPaintTheirBandsInTheirDirections) {
    TGradPan& panel = Panel(100, 100);
    panel.SetColorStart(Rgb(0, 0, 0));
    panel.SetColorEnd(Rgb(255, 255, 255));
    panel.SetBackGroundEffect(TDirection::bdUp);
    const Painted up(panel);
    EXPECT_EQ(up.At(50, 0), RGB(0, 0, 0));
    EXPECT_EQ(up.At(50, 20), RGB(50, 50, 50));
    EXPECT_EQ(up.At(50, 99), RGB(252, 252, 252));
    panel.SetBackGroundEffect(TDirection::bdDown);
    EXPECT_EQ(Painted(panel).At(50, 0), RGB(255, 255, 255));
    panel.SetBackGroundEffect(TDirection::bdRight);
    EXPECT_EQ(Painted(panel).At(99, 50), RGB(2, 2, 2));
    panel.SetBackGroundEffect(TDirection::bdVertIn);  // black at both sides, near white in the middle
    const Painted in(panel);
    EXPECT_EQ(in.At(0, 50), RGB(2, 2, 2));
    EXPECT_EQ(in.At(49, 50), RGB(252, 252, 252));
    EXPECT_EQ(in.At(50, 50), RGB(249, 249, 249));
    EXPECT_EQ(in.At(99, 50), RGB(0, 0, 0));
    panel.SetBackGroundEffect(TDirection::bdHorzOut);
    EXPECT_EQ(Painted(panel).At(50, 0), RGB(252, 252, 252));
    panel.SetBackGroundEffect(TDirection::bdFlat);
    EXPECT_EQ(Painted(panel).Count(RGB(0, 0, 0)), 100 * 100);
}

TEST_F(GradPanTest, PicturesStretchTileWithTheInsetOrFallBackToTheStartColour) {
    TGradPan& panel = Panel(121, 265);
    panel.SetColorStart(Rgb(200, 10, 10));
    panel.SetBitmap(nullptr);
    panel.SetBackGroundEffect(TDirection::bdStretchImage);
    EXPECT_EQ(Painted(panel).Count(RGB(200, 10, 10)), 121 * 265);

    // A 50 x 50 red square tiled: 3 x 6 copies, the last ones cut at the edges.
    HBITMAP red = nullptr;
    {
        const ClientDc screen(nullptr);
        red = ::CreateCompatibleBitmap(screen.get(), 50, 50);
        const MemoryDc dc(screen.get());
        const SelectedObject selected(dc.get(), red);
        const RECT all{0, 0, 50, 50};
        const GdiHandle brush(::CreateSolidBrush(RGB(255, 0, 0)));
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
        ::SetPixel(dc.get(), 0, 0, RGB(0, 0, 255));  // marks where each copy starts
    }
    panel.SetBitmap(red);
    ::DeleteObject(red);  // the panel keeps its own copy
    panel.SetBackGroundEffect(TDirection::bdTileImage);
    const Painted tiles(panel);
    EXPECT_EQ(tiles.Count(RGB(0, 0, 255)), 3 * 6);
    EXPECT_EQ(tiles.At(100, 250), RGB(0, 0, 255));

    // With Ctl3D the copies move in by 2 x BevelWidth + BorderWidth.
    panel.SetBorderWidth(3);
    panel.SetCtl3D(true);
    const Painted inset(panel);
    EXPECT_EQ(inset.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(inset.At(0, 0), ColorToRGB(clBtnFace));  // the panel's own colour shows around them
}

TEST_F(GradPanTest, CaptionEffectsDrawTheirPassesInTheirColours) {
    TGradPan& panel = Panel(120, 40);
    panel.SetBackGroundEffect(TDirection::bdFlat);
    panel.SetColorStart(Rgb(255, 255, 255));
    panel.SetFont(TGradPanFont{"Arial", 14, true, false, Rgb(0, 0, 255)});
    panel.SetCaption("Pelorin");
    // Shadow: grey one pixel right and down of the blue text.
    const Painted shadow(panel);
    EXPECT_GT(shadow.Count(RGB(0, 0, 255)), 50);
    EXPECT_GT(shadow.Count(RGB(128, 128, 128)), 10);
    // None draws the caption in the shadow colour only.
    panel.SetTextEffect(TTextEffect::tenone);
    const Painted none(panel);
    EXPECT_EQ(none.Count(RGB(0, 0, 255)), 0);
    EXPECT_GT(none.Count(RGB(128, 128, 128)), 50);
    // Raised and lowered add black outlines; embossed has none.
    panel.SetTextEffect(TTextEffect::teRaised);
    EXPECT_GT(Painted(panel).Count(RGB(0, 0, 0)), 10);
    panel.SetTextEffect(TTextEffect::teEmbossed);
    EXPECT_EQ(Painted(panel).Count(RGB(0, 0, 0)), 0);

    // Rotated text stands upright in a tall panel, also with a caption of 300 characters.
    TGradPan& tall = Panel(40, 200);
    tall.SetBackGroundEffect(TDirection::bdFlat);
    tall.SetColorStart(Rgb(255, 255, 255));
    tall.SetFont(TGradPanFont{"Arial", 12, false, false, Rgb(0, 0, 255)});
    tall.SetTextEffect(TTextEffect::tenone);
    tall.SetColorShadow(Rgb(0, 0, 255));
    tall.SetCaption("Rotated caption");
    for (TTextRotation rotation : {TTextRotation::TrUp, TTextRotation::TrDown}) {
        tall.SetTextRotation(rotation);
        const Painted upright(tall);
        int top = 200, bottom = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 40; ++x)
                if (upright.At(x, y) == RGB(0, 0, 255)) top = std::min(top, y), bottom = std::max(bottom, y);
        EXPECT_GT(bottom - top, 60) << "rotation " << static_cast<int>(rotation);
    }
    tall.SetCaption(std::string(300, 'W'));
    EXPECT_GT(Painted(tall).Count(RGB(0, 0, 255)), 200);
}

TEST_F(GradPanTest, AMovablePanelAnswersTheHitTestAndReportsItsMoves) {
    form_.SetClientSize(300, 300);
    form_.Show();
    TGradPan& panel = form_.Add<TGradPan>(TControl::Bounds{50, 50, 100, 80});
    POINT origin{0, 0};
    ::ClientToScreen(panel.Handle(), &origin);
    const auto hit = [&](int x, int y) {
        return ::SendMessageA(panel.Handle(), WM_NCHITTEST, 0, MAKELPARAM(origin.x + x, origin.y + y));
    };
    EXPECT_EQ(hit(3, 3), HTCLIENT);
    panel.Moveable = true;
    EXPECT_EQ(hit(3, 3), HTTOPLEFT);
    EXPECT_EQ(hit(50, 40), HTCAPTION);
    EXPECT_EQ(hit(97, 77), HTBOTTOMRIGHT);
    int moves = 0;
    panel.OnPanelMove = [&](TComponent& sender) {
        EXPECT_EQ(&sender, &panel);
        ++moves;
    };
    ::SetWindowPos(panel.Handle(), nullptr, 70, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(moves, 1);
}

TEST_F(GradPanTest, BevelsAndTheBorderFrameOverEverything) {
    TGradPan& panel = form_.Add<TGradPan>(TControl::Bounds{0, 0, 60, 60});
    panel.SetBackGroundEffect(TDirection::bdFlat);
    panel.SetColorStart(Rgb(0, 0, 0));
    const Painted raised(panel);  // the default outer bevel: light top-left, dark bottom-right
    EXPECT_EQ(raised.At(10, 0), RGB(255, 255, 255));
    EXPECT_EQ(raised.At(0, 10), RGB(255, 255, 255));
    EXPECT_EQ(raised.At(10, 59), RGB(128, 128, 128));
    EXPECT_EQ(raised.At(59, 10), RGB(128, 128, 128));
    panel.SetColor(Rgb(0, 255, 0));
    panel.SetBevelInner(TBevelCut::bvLowered);
    panel.SetBorderWidth(2);
    panel.SetCtl3D(true);
    const Painted framed(panel);
    EXPECT_EQ(framed.At(20, 1), RGB(0, 255, 0));      // border frame in the panel's colour
    EXPECT_EQ(framed.At(20, 3), RGB(128, 128, 128));  // lowered inner bevel at BevelWidth + BorderWidth
}

// The gallery: every background effect and every text effect, written to gradpan-gallery.bmp.
TEST_F(GradPanTest, GalleryOfEffects) {
    form_.SetCaption("TGradPan gallery");
    form_.SetClientSize(660, 300);
    const char* const names[] = {"Flat",  "Stretch", "Tile",    "Up",     "Down",   "Left",
                                 "Right", "HorzIn",  "HorzOut", "VertIn", "VertOut"};
    for (int i = 0; i < 11; ++i) {
        TGradPan& p = form_.Add<TGradPan>(TControl::Bounds{5 + (i % 6) * 108, 5 + (i / 6) * 95, 100, 90});
        p.SetBackGroundEffect(static_cast<TDirection>(i));
        p.SetColorEnd(Rgb(255, 255, 160));
        p.SetFont(TGradPanFont{"Arial", 10, true, false, Rgb(255, 255, 255)});
        p.SetCaption(names[i]);
    }
    const char* const effects[] = {"none", "Shadow", "Raised", "Lowered", "Embossed"};
    for (int i = 0; i < 5; ++i) {
        TGradPan& p = form_.Add<TGradPan>(TControl::Bounds{5 + i * 108, 195, 100, 100});
        p.SetBackGroundEffect(TDirection::bdFlat);
        p.SetColorStart(Rgb(192, 192, 192));
        p.SetTextEffect(static_cast<TTextEffect>(i));
        p.SetTextRotation(i == 3 ? TTextRotation::TrUp : i == 4 ? TTextRotation::TrDown : TTextRotation::trNone);
        p.SetFont(TGradPanFont{"Arial", 14, true, false, Rgb(255, 255, 0)});
        p.SetCaption(effects[i]);
    }
    form_.Show();
    ::UpdateWindow(form_.Handle());

    const SIZE size = form_.ClientSize();
    BITMAPINFOHEADER header{sizeof header, size.cx, size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (size.cx * 3 + 3) & ~3;
    std::vector<char> bits(static_cast<std::size_t>(stride) * size.cy);
    {
        const ClientDc window(form_.Handle());
        const MemoryDc dc(window.get());
        const GdiHandle bitmap(::CreateCompatibleBitmap(window.get(), size.cx, size.cy));
        {
            const SelectedObject selected(dc.get(), bitmap.get());
            ::BitBlt(dc.get(), 0, 0, size.cx, size.cy, window.get(), 0, 0, SRCCOPY);
        }
        ::GetDIBits(dc.get(), static_cast<HBITMAP>(bitmap.get()), 0, size.cy, bits.data(),
                    reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    }
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + bits.size()), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    FILE* out = std::fopen("gradpan-gallery.bmp", "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(bits.data(), 1, bits.size(), out);
    std::fclose(out);
}

}  // namespace
}  // namespace pelorin
