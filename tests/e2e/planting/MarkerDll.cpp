// The planted library: on every load it leaves a file "<its own name> in <program> (static)"
// or "(run time)" in the folder named by PELORIN_PLANT_MARKERS, so a test sees which program
// loaded which copy, and whether the loader took it for a static import or a call made later.
#include <windows.h>

#include <string>

namespace {

std::string BaseName(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    const std::string full(path, length);
    const std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

void LeaveMarker(HMODULE self, bool atStart) {
    char folder[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("PELORIN_PLANT_MARKERS", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string marker = std::string(folder) + "\\" + BaseName(self) + " in " + BaseName(nullptr) +
                               (atStart ? " (static)" : " (run time)") + ".loaded";
    const HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

// The system folder's copy of the library this one stands in for, for the calls below.
FARPROC Real(const char* proc) {
    char path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    const std::string library = std::string(path, length) + "\\version.dll";
    const HMODULE module = ::LoadLibraryExA(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module ? ::GetProcAddress(module, proc) : nullptr;
}

template <typename F>
F RealProc(const char* proc) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(Real(proc)));
}

}  // namespace

// The version queries that a system library may import from a copy planted as version.dll
// (Wine's own user32 does): passed on to the real one, so the program goes on and its other
// loads are seen too. MarkerDll.def exports them under their system names.
extern "C" {

DWORD WINAPI MarkerGetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle) {
    return RealProc<DWORD(WINAPI*)(LPCSTR, LPDWORD)>("GetFileVersionInfoSizeA")(file, handle);
}
DWORD WINAPI MarkerGetFileVersionInfoSizeW(LPCWSTR file, LPDWORD handle) {
    return RealProc<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>("GetFileVersionInfoSizeW")(file, handle);
}
BOOL WINAPI MarkerGetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data) {
    return RealProc<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoA")(file, handle, size, data);
}
BOOL WINAPI MarkerGetFileVersionInfoW(LPCWSTR file, DWORD handle, DWORD size, LPVOID data) {
    return RealProc<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoW")(file, handle, size, data);
}
BOOL WINAPI MarkerVerQueryValueA(LPCVOID block, LPCSTR sub, LPVOID* buffer, PUINT length) {
    return RealProc<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>("VerQueryValueA")(block, sub, buffer, length);
}
BOOL WINAPI MarkerVerQueryValueW(LPCVOID block, LPCWSTR sub, LPVOID* buffer, PUINT length) {
    return RealProc<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>("VerQueryValueW")(block, sub, buffer, length);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    // The loader passes a non-null reserved argument to libraries it loads for static imports.
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(instance, reserved != nullptr);
    return TRUE;
}

}  // extern "C"
