// DrawGroupIcon: a grey window with a navy title bar and a 2 x 2 grid of coloured
// squares on a see-through background, scaled to the size asked for.
#include "setup/wizard/GroupIcon.h"

#include "ui/Graphics.h"

namespace pelorin {

namespace {

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT r{left, top, right, bottom};
    const GdiHandle brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void PaintIcon(HDC dc, int size) {
    const int edge = size - 1;
    const int title = size / 4;
    Fill(dc, 0, 0, size, size, GroupIconTransparent);
    Fill(dc, 1, 2, edge, edge, RGB(64, 64, 64));              // frame
    Fill(dc, 2, 3, edge - 1, edge - 1, RGB(192, 192, 192));   // window face
    Fill(dc, 2, 3, edge - 1, 3 + title - 1, RGB(0, 0, 128));  // title bar
    // Four program icons in two rows, one pixel apart and one pixel inside the face.
    const int left = 3, top = 3 + title + 1;
    const int cellWidth = (edge - 1 - left - 1 - 1) / 2, cellHeight = (edge - 1 - top - 1 - 1) / 2;
    const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 200, 0)};
    for (int i = 0; i < 4; ++i) {
        const int x = left + (i % 2) * (cellWidth + 1), y = top + (i / 2) * (cellHeight + 1);
        Fill(dc, x, y, x + cellWidth, y + cellHeight, colours[i]);
    }
}

}  // namespace

GdiHandle DrawGroupIcon(int size) {
    const ClientDc screen(nullptr);
    GdiHandle bitmap(::CreateCompatibleBitmap(screen.get(), size, size));
    const MemoryDc memory(screen.get());
    if (!bitmap || !memory) return GdiHandle();
    {
        const SelectedObject selected(memory.get(), bitmap.get());
        PaintIcon(memory.get(), size);
    }
    return bitmap;
}

}  // namespace pelorin
