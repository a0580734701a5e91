// RegisterServer: loads the library, calls DllRegisterServer, frees the library on every way out;
// failures are put to the user, and Abort unwinds silently.
#include "setup/install/FileRulesRegister.h"

#include <windows.h>

#include "core/Exception.h"
#include "core/TextFormat.h"
#include "platform/win/Handles.h"

namespace pelorin {

std::string TryRegisterServer(const std::string& path) {
    const ModuleHandle library(::LoadLibraryA(path.c_str()));
    if (!library) return "LoadLibrary failed";
    using RegisterProc = HRESULT(WINAPI*)();
    const auto proc =
        reinterpret_cast<RegisterProc>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllRegisterServer")));
    if (!proc) return "DllRegisterServer export not found";
    const HRESULT result = proc();
    if (result >= 0) return std::string();
    return FormatText("DllRegisterServer returned %d", static_cast<int>(result));
}

void RegisterServer(const std::string& path, IInstallPrompt& prompt) {
    for (;;) {
        const std::string reason = TryRegisterServer(path);
        if (reason.empty()) return;
        const std::string text =
            FormatText("%s\r\nUnable to register the DLL/OCX. (%s)", path, reason) + "\r\n\r\n" +
            "Click Retry to try again, Ignore to proceed anyway (not recommended), or Abort to cancel installation.";
        if (!AskAbortRetryIgnore(prompt, text, "", MB_DEFBUTTON1)) return;
    }
}

}  // namespace pelorin
