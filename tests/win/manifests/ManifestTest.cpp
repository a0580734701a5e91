// Reads resource 1 of type 24 (the application manifest) from each shipped program and checks
// its execution level, its supported systems, and that it changes nothing of the look.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win/Handles.h"
#include "tests/e2e/driver/ProcessHarness.h"

namespace pelorin::e2e {
namespace {

constexpr WORD kManifestType = 24;
constexpr WORD kProcessManifestId = 1;

// The manifest text of the program, or nothing when it carries none.
std::optional<std::string> ManifestOf(const std::string& program) {
    const ModuleHandle module(::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return std::nullopt;
    const HRSRC resource =
        ::FindResourceA(module.get(), MAKEINTRESOURCEA(kProcessManifestId), MAKEINTRESOURCEA(kManifestType));
    if (!resource) return std::nullopt;
    const HGLOBAL loaded = ::LoadResource(module.get(), resource);
    const auto* bytes = static_cast<const char*>(::LockResource(loaded));
    if (!bytes) return std::nullopt;
    return std::string(bytes, ::SizeofResource(module.get(), resource));
}

TEST(Manifests, EveryShippedProgramCarriesItsExecutionLevelAndSupportedSystems) {
    const struct {
        const char* program;
        const char* level;
    } expected[] = {
        {"pelorin.exe", "requireAdministrator"}, {"update.exe", "requireAdministrator"},
        {"FERROW.exe", "requireAdministrator"},  {"pelorin-build.exe", "asInvoker"},
        {"pelorin-unzip.exe", "asInvoker"},      {"pelorin-pack.exe", "asInvoker"},
    };
    for (const auto& program : expected) {
        SCOPED_TRACE(program.program);
        const auto manifest = ManifestOf(ProgramPath(program.program));
        ASSERT_TRUE(manifest) << "no manifest";
        EXPECT_NE(manifest->find(std::string("requestedExecutionLevel level=\"") + program.level + "\""),
                  std::string::npos)
            << *manifest;
        // Windows 7 and Windows 10/11, the oldest and newest systems the programs are run on.
        EXPECT_NE(manifest->find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos);
        EXPECT_NE(manifest->find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
        // The look stays that of the layout tables: no visual styles, no DPI awareness.
        EXPECT_EQ(manifest->find("Common-Controls"), std::string::npos);
        EXPECT_EQ(manifest->find("dpiAware"), std::string::npos);
    }
}

}  // namespace
}  // namespace pelorin::e2e
