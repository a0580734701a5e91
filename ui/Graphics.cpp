// TColor resolution: system colours through the platform's colour table, the rest unchanged.
// Every call reads the colour afresh, so a change of the scheme shows at the next paint.
#include "ui/Graphics.h"

namespace pelorin {

COLORREF ColorToRGB(TColor color) {
    if (color & kSystemColorFlag) return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

HBRUSH CreateColorBrush(TColor color) { return ::CreateSolidBrush(ColorToRGB(color)); }

}  // namespace pelorin
