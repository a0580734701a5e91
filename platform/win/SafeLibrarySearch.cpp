// Library search of every Windows program we ship, narrowed before anything else runs: later
// loads come from the system folder only, never from the program's or the current folder.
#include <windows.h>

namespace pelorin {
namespace {

// Not in the headers of the oldest systems we build for; the value is the platform's.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryProc = BOOL(WINAPI*)(LPCSTR);

// Runs before the runtime's other start-up code and before main or WinMain. The static imports
// are resolved already: they are only libraries that Windows always takes from its system
// folder (docs/library-loading.md). Systems without these calls still start: each is looked
// up, never imported.
__attribute__((constructor(101))) void NarrowLibrarySearch() {
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault) setDefault(kSearchSystem32);
    // Takes the current folder out of the search on systems that know no default directories.
    const auto setDirectory =
        reinterpret_cast<SetDllDirectoryProc>(reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDllDirectoryA")));
    if (setDirectory) setDirectory("");
}

}  // namespace
}  // namespace pelorin
