// The fixture of the tests that run the real FERROW.EXE: a copy of the built program beside an
// installed demo application, started with given arguments, ended if still running afterwards.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/FilePath.h"
#include "platform/win/Handles.h"
#include "tests/win/undo/UndoTestSupport.h"
#include "tests/win/uninstall/UninstallLog.h"

namespace pelorin::testing {

class FerrowProgramTest : public ::testing::Test {
protected:
    ScratchDir root;
    InstalledApp app{root.Path()};
    std::string ferrow = root / "FERROW.EXE";
    PROCESS_INFORMATION process{};
    KernelHandle processHandle;

    void SetUp() override {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, sizeof self);
        const std::string built = ExtractFilePath(self) + "..\\bin\\FERROW.exe";
        ASSERT_TRUE(::CopyFileA(built.c_str(), ferrow.c_str(), FALSE)) << built;
    }
    void TearDown() override {
        if (processHandle && ::WaitForSingleObject(processHandle.get(), 0) == WAIT_TIMEOUT)
            ::TerminateProcess(processHandle.get(), 99);
        RegDeleteKeyIncludingSubkeys(HKEY_CURRENT_USER, TestKeyRoot);
    }

    // Starts the copy with these arguments after its quoted name, in root.
    void Start(const std::string& arguments) {
        std::string commandLine = "\"" + ferrow + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(::CreateProcessA(ferrow.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     root.Path().c_str(), &startup, &process));
        processHandle.reset(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    DWORD ExitCode() {
        EXPECT_EQ(::WaitForSingleObject(processHandle.get(), 20000), WAIT_OBJECT_0);
        DWORD code = 0;
        ::GetExitCodeProcess(processHandle.get(), &code);
        return code;
    }
};

}  // namespace pelorin::testing
