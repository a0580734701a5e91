// The entry points of the common controls library that the window layer calls, taken from the
// system folder's comctl32.dll on first use rather than imported (docs/library-loading.md).
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace pelorin {

struct CommonControlsApi {
    decltype(&::InitCommonControlsEx) InitCommonControlsEx;
    decltype(&::ImageList_Create) ImageList_Create;
    decltype(&::ImageList_Destroy) ImageList_Destroy;
    decltype(&::ImageList_GetImageCount) ImageList_GetImageCount;
    decltype(&::ImageList_AddMasked) ImageList_AddMasked;
};

// Loaded once and kept for the life of the process; throws Exception when the library or one
// of the entry points is missing.
const CommonControlsApi& CommonControls();

// Registers the window classes of the common controls named by the ICC_ flags.
void InitCommonControlClasses(DWORD classes);

}  // namespace pelorin
