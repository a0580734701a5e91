// selfreg_fails.dll: both entry points leave a mark ("register failed", "unregister failed")
// and answer E_FAIL, as a broken library would.
#include "tests/win/testdlls/TestDllMark.h"

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    pelorin::testing::WriteTestDllMark(pelorin::testing::ThisModule(), "register failed");
    return E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    pelorin::testing::WriteTestDllMark(pelorin::testing::ThisModule(), "unregister failed");
    return E_FAIL;
}
