// selfreg.dll: a library that registers and unregisters successfully and leaves a mark
// ("registered", "unregistered") in the registry each time.
#include "tests/win/testdlls/TestDllMark.h"

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    pelorin::testing::WriteTestDllMark(pelorin::testing::ThisModule(), "registered");
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    pelorin::testing::WriteTestDllMark(pelorin::testing::ThisModule(), "unregistered");
    return S_OK;
}
