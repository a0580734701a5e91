// Loading of the libraries outside the static imports: always by full path in the system
// folder, with that folder searched for their own dependencies.
#include "platform/win/SystemLibrary.h"

#include "core/Exception.h"

namespace pelorin {

std::string SystemLibraryPath(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw Exception(std::string("Cannot find the system folder to load ") + name);
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    return path + name;
}

HMODULE LoadSystemLibrary(const char* name) {
    const std::string path = SystemLibraryPath(name);
    // The altered search path takes the library's own dependencies from its folder too.
    const HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) throw Exception("Cannot load the system library " + path);
    return module;
}

FARPROC SystemProcAddress(const char* library, const char* proc) {
    const FARPROC address = ::GetProcAddress(LoadSystemLibrary(library), proc);
    if (!address) throw Exception(std::string("The system library ") + library + " has no entry point " + proc);
    return address;
}

}  // namespace pelorin
