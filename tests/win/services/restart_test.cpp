// The restart of the computer with a stand-in for the session end: the privilege it
// enables, the request it makes, and the warning when the request fails.
#include <gtest/gtest.h>

#include "platform/win/Handles.h"
#include "setup/Restart.h"
#include "tests/e2e/driver/BoxAnswerer.h"

namespace pelorin {
namespace {

bool ShutdownPrivilegeEnabled() {
    TokenHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    LUID luid{};
    ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid);
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Privilege[0].Luid = luid;
    BOOL enabled = FALSE;
    return ::PrivilegeCheck(token.get(), &set, &enabled) && enabled;
}

TEST(RestartComputer, EnablesTheShutdownPrivilegeAndAsksForAReboot) {
    UINT flags = 0xFFFF;
    DWORD reserved = 0xFFFF;
    const bool restarted = RestartComputer([&](UINT f, DWORD r) {
        flags = f;
        reserved = r;
        return TRUE;
    });
    EXPECT_TRUE(restarted);
    EXPECT_EQ(flags, 2u);  // reboot
    EXPECT_EQ(reserved, 0u);
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
}

TEST(RestartComputer, AFailedRequestShowsTheWarning) {
    driver::BoxAnswerer answerer("OK");
    EXPECT_FALSE(RestartComputer([](UINT, DWORD) { return FALSE; }));
    const driver::MessageBoxInfo& box = answerer.Result();
    EXPECT_EQ(box.text, "Setup Wizard was unable to restart the computer. Please do this manually.");
    EXPECT_EQ(box.icon, "exclamation");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
}

}  // namespace
}  // namespace pelorin
