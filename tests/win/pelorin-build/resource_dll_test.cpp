// Loads PELORIN.DLL files written by pelorin-build through the Windows loader: as a
// data file for both machines, and as a library for the machine of this process.
#include <windows.h>
#include <imagehlp.h>

#include <gtest/gtest.h>

#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include <cstdio>
#include <fstream>

#include "setup/LoadSetup.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/PeImage.h"

namespace pelorin {
namespace {

// Owns a module handle from LoadLibrary/LoadLibraryEx.
class Module {
public:
    explicit Module(HMODULE handle) : handle_(handle) {}
    ~Module() {
        if (handle_ != nullptr) FreeLibrary(handle_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    HMODULE get() const { return handle_; }

private:
    HMODULE handle_;
};

std::vector<std::uint8_t> resource102(HMODULE module) {
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(10));
    if (info == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, info);
    if (bytes == nullptr) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

constexpr Machine kOwnMachine = sizeof(void*) == 8 ? Machine::Amd64 : Machine::I386;
constexpr Machine kOtherMachine = sizeof(void*) == 8 ? Machine::I386 : Machine::Amd64;

struct Distribution {
    testing::ScratchDir dir;
    std::string dll() const { return dir / "dist\\PELORIN.DLL"; }
};

void build(Distribution& dist, Machine machine) {
    testing::WriteText(dist.dir / "payload.txt", "payload");
    testing::WriteText(dist.dir / "p.pelproj",
                       "[Setup]\nAppName=Loader\nAppVerName=Loader 1\nDefaultDirName=Loader\n"
                       "[File]\nSource=payload.txt\nDestName={app}\\payload.txt\n"
                       "[Run]\nFilename={app}\\payload.txt\n");
    BuildOptions options;
    options.projectPath = dist.dir / "p.pelproj";
    options.outputDir = dist.dir / "dist";
    options.withoutSetupExe = true;
    options.machine = machine;
    BuildDistribution(options);
}

// What the setup program's own loader makes of resource bytes.
SetupData decode(const testing::ScratchDir& dir, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir / "description.bin";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    SetupData data;
    LoadSetupDescription(path, data, {});
    return data;
}

TEST(ResourceDllUnderWindows, BothMachinesLoadAsDataFilesWithTheDescriptionIntact) {
    for (const Machine machine : {Machine::I386, Machine::Amd64}) {
        SCOPED_TRACE(MachineName(machine));
        Distribution dist;
        build(dist, machine);
        const Module module(LoadLibraryExA(dist.dll().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_NE(module.get(), nullptr) << GetLastError();
        const auto bytes = resource102(module.get());
        // Byte for byte what the tool put in, and readable by the setup program.
        EXPECT_EQ(bytes, PeImage::Parse(testing::ReadBytes(dist.dll()))->Resource(10, 102));
        const SetupData data = decode(dist.dir, bytes);
        EXPECT_EQ(data.Header.AppVerName, "Loader 1");
        ASSERT_EQ(data.FileEntries.size(), 1u);
        EXPECT_EQ(data.FileEntries[0].UncompressedSize, 7u);
        EXPECT_EQ(data.RunEntries.size(), 1u);
    }
}

TEST(ResourceDllUnderWindows, OwnMachineLoadsAsALibrary) {
    Distribution own;
    build(own, kOwnMachine);
    const Module module(LoadLibraryA(own.dll().c_str()));
    ASSERT_NE(module.get(), nullptr) << GetLastError();
    const auto asLibrary = resource102(module.get());
    const Module data(LoadLibraryExA(own.dll().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_EQ(asLibrary, resource102(data.get()));
    EXPECT_FALSE(asLibrary.empty());

    // Whether a library of the other machine loads as a library differs between
    // loaders (this one may accept code-free images); the setup program therefore
    // loads PELORIN.DLL as a data file. Recorded, not asserted.
    Distribution other;
    build(other, kOtherMachine);
    const Module foreign(LoadLibraryA(other.dll().c_str()));
    const DWORD error = GetLastError();
    std::printf("library of the other machine as a library: %s (error %lu)\n",
                foreign.get() != nullptr ? "loaded" : "refused", foreign.get() != nullptr ? 0ul : error);
}

TEST(ResourceDllUnderWindows, ImageChecksumMatchesTheSystemsComputation) {
    for (const Machine machine : {Machine::I386, Machine::Amd64}) {
        Distribution dist;
        build(dist, machine);
        DWORD stored = 0, computed = 0;
        std::string path = dist.dll();
        ASSERT_EQ(MapFileAndCheckSumA(path.data(), &stored, &computed), CHECKSUM_SUCCESS);
        EXPECT_EQ(stored, computed) << MachineName(machine);
    }
}

}  // namespace
}  // namespace pelorin
