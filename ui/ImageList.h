// TImageList: a list of equally sized images that controls draw from (a tree view's item
// icons). The list owns its images and frees them with itself.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/Component.h"

namespace pelorin {

class TImageList : public TComponent {
public:
    // Images of width x height pixels with a mask, in the colours of the screen.
    TImageList(int width, int height);
    ~TImageList() override;

    HIMAGELIST Handle() const { return handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Adds a copy of the bitmap; pixels of transparentColour become see-through. The index
    // of the new image, -1 when the list refuses it (wrong size, out of memory).
    int AddMasked(HBITMAP bitmap, COLORREF transparentColour);

private:
    int width_;
    int height_;
    HIMAGELIST handle_;
};

}  // namespace pelorin
