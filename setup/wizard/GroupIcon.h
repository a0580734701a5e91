// The group icon of the group browse dialog: a small program-group window holding four
// program icons, drawn in code at the size of the dialog's image list.
#pragma once

#include <windows.h>

#include "platform/win/Handles.h"

namespace pelorin {

// The colour of the picture's see-through pixels.
constexpr COLORREF GroupIconTransparent = RGB(255, 0, 255);

// A bitmap of size x size pixels in the screen's format; empty when GDI refuses.
GdiHandle DrawGroupIcon(int size);

}  // namespace pelorin
