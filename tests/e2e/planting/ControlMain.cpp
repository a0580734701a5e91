// The planting test's control: a program that imports version.dll statically, as the wizards
// once did, so a marker planted beside it must be loaded before its first instruction.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The import is kept but never called: a planted copy has no such entry point.
    decltype(&::GetFileVersionInfoSizeA) volatile imported = &::GetFileVersionInfoSizeA;
    return imported != nullptr ? 0 : 1;
}
