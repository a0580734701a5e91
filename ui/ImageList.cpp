// TImageList over the common controls' image list, with masks for transparent pixels.
// Bitmaps handed in stay the caller's; the list keeps copies.
#include "ui/ImageList.h"

#include "core/Exception.h"
#include "ui/CommonControls.h"

namespace pelorin {

TImageList::TImageList(int width, int height)
    : width_(width),
      height_(height),
      handle_(CommonControls().ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, 1, 1)) {
    if (!handle_) throw Exception("Cannot create an image list");
}

TImageList::~TImageList() { CommonControls().ImageList_Destroy(handle_); }

int TImageList::Count() const { return CommonControls().ImageList_GetImageCount(handle_); }

int TImageList::AddMasked(HBITMAP bitmap, COLORREF transparentColour) {
    BITMAP info{};
    if (!::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth != width_ || info.bmHeight != height_) return -1;
    return CommonControls().ImageList_AddMasked(handle_, bitmap, transparentColour);
}

}  // namespace pelorin
