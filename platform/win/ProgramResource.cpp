// Custom resources of the running program through FindResourceA, LoadResource and LockResource.
// Locked resource data stays valid while the program runs: nothing is freed.
#include "platform/ProgramResource.h"

#include <windows.h>

namespace pelorin {

ProgramResourceData FindProgramResource(const std::string& name, const std::string& type) {
    ProgramResourceData result;
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC info = ::FindResourceA(module, name.c_str(), type.c_str());
    if (!info) return result;
    const HGLOBAL loaded = ::LoadResource(module, info);
    if (!loaded) {
        result.status = TResourceStatus::rsLoadFailed;
        return result;
    }
    const void* data = ::LockResource(loaded);
    if (!data) {
        result.status = TResourceStatus::rsLockFailed;
        return result;
    }
    result.status = TResourceStatus::rsFound;
    result.data = static_cast<const std::uint8_t*>(data);
    result.size = ::SizeofResource(module, info);
    return result;
}

}  // namespace pelorin
