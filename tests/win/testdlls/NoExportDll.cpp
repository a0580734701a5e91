// selfreg_none.dll: a library that loads fine but has no registration entry points.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall PelorinTestNothing() { return 0; }
