// Resolves the common controls' entry points from the system folder's library, once per
// process; the library stays loaded because its window classes live until the end.
#include "ui/CommonControls.h"

#include "core/Exception.h"
#include "platform/win/SystemLibrary.h"

namespace pelorin {

namespace {

constexpr const char* kLibrary = "comctl32.dll";

// Libraries that the controls, the theme engine and the clip player load for themselves on
// first use. Loaded here from the system folder first, they are found by name when asked for:
// where the system cannot narrow the search (no SetDefaultDllDirectories), or where its delayed
// imports do not follow it, a bare name would otherwise be looked for beside the program first.
constexpr const char* kLoadedOnTheirBehalf[] = {"uxtheme.dll", "msimg32.dll", "usp10.dll",
                                                "winmm.dll",   "msvfw32.dll", "msacm32.dll"};

void PreloadTheirLibraries() {
    for (const char* name : kLoadedOnTheirBehalf) {
        try {
            LoadSystemLibrary(name);
        } catch (const Exception&) {
            // Not every system has each of them; what is missing cannot be planted in its place.
        }
    }
}

}  // namespace

const CommonControlsApi& CommonControls() {
    [[maybe_unused]] static const bool preloaded = (PreloadTheirLibraries(), true);
    static const CommonControlsApi api{
        SystemProc<decltype(&::InitCommonControlsEx)>(kLibrary, "InitCommonControlsEx"),
        SystemProc<decltype(&::ImageList_Create)>(kLibrary, "ImageList_Create"),
        SystemProc<decltype(&::ImageList_Destroy)>(kLibrary, "ImageList_Destroy"),
        SystemProc<decltype(&::ImageList_GetImageCount)>(kLibrary, "ImageList_GetImageCount"),
        SystemProc<decltype(&::ImageList_AddMasked)>(kLibrary, "ImageList_AddMasked"),
    };
    return api;
}

void InitCommonControlClasses(DWORD classes) {
    INITCOMMONCONTROLSEX icc{sizeof icc, classes};
    CommonControls().InitCommonControlsEx(&icc);
}

}  // namespace pelorin
