// Libraries outside the programs' static imports, loaded by the full path of the system folder
// so that a copy planted beside the program or in the current folder is never taken.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin {

// <system folder>\name; throws Exception when the system folder cannot be found.
std::string SystemLibraryPath(const char* name);

// Loads <system folder>\name and keeps it loaded for the life of the process (its window
// classes and callbacks may be in use until the end). Throws Exception naming the library
// when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// The entry point proc of the system library; throws Exception naming both when either is missing.
FARPROC SystemProcAddress(const char* library, const char* proc);

// SystemProcAddress typed as the function it is, F = decltype(&::TheFunction).
template <typename F>
F SystemProc(const char* library, const char* proc) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(SystemProcAddress(library, proc)));
}

}  // namespace pelorin
