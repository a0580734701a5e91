// A distribution built with a signing command: pelorin.exe, PELORIN.DLL and the uninstaller
// stored in PELORIN.DAT verify, the stored uninstaller keeps its original's time stamp and
// version, and a signing that fails leaves neither a distribution nor a copy behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "tests/core/pelorin-build/SigningKit.h"
#include "tests/core/pelorin-build/StoredFile.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/HostSystem.h"
#include "tools/pelorin-build/ResourceDll.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchDir;

const char* const kProject =
    "[Setup]\nAppName=S\nAppVerName=S 1\nDefaultDirName=S\nCreateUninstall=yes\n"
    "[File]\nSource=app.txt\nDestName={app}\\app.txt\n";

// A project with an uninstaller, built into dir/dist with program as setup program and uninstaller.
struct SignedPackage {
    ScratchDir dir;
    BuildOptions options;

    SignedPackage(const std::vector<std::uint8_t>& program, const std::string& command) {
        testing::WriteText(dir / "app.txt", "app");
        testing::WriteText(dir / "p.pelproj", kProject);
        testing::WriteBytes(dir / "bin/pelorin.exe", program);
        testing::WriteBytes(dir / "bin/FERROW.EXE", program);
        options.projectPath = dir / "p.pelproj";
        options.outputDir = dir / "dist";
        options.setupExe = dir / "bin/pelorin.exe";
        options.uninstaller = dir / "bin/FERROW.EXE";
        options.sign.emplace(command);
    }
};

#ifdef PELORIN_VERSIONED_x86_64
const char* const kSignable = PELORIN_VERSIONED_x86_64;
#else
const char* const kSignable = nullptr;
#endif

// Any image of a known machine passes the checks that come before the signing.
std::vector<std::uint8_t> StandInProgram() {
    ResourceDllContent content;
    content.data = {1, 2, 3};
    return MakeResourceDll(content);
}

TEST(SignedDistribution, EveryProgramVerifiesAndTheStoredUninstallerKeepsItsStamps) {
    const std::string unavailable = testing::TestSigner::Unavailable(kSignable);
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    const testing::TestSigner signer;
    ASSERT_TRUE(signer.Ready());
    const std::vector<std::uint8_t> program = ReadBytes(fs::absolute(kSignable).string());
    SignedPackage package(program, signer.Command());
    const std::string uninstaller = package.options.uninstaller;
    // An old time stamp, so that one taken from the signed copy would show.
    fs::last_write_time(uninstaller, fs::last_write_time(uninstaller) - std::chrono::hours(24 * 400));
    const FileTime stamp = LastWriteTime(uninstaller);

    EXPECT_EQ(BuildDistribution(package.options).signedPrograms, 3);
    const ScratchDir& dir = package.dir;
    EXPECT_TRUE(signer.Verify(dir / "dist/pelorin.exe"));
    EXPECT_TRUE(signer.Verify(dir / "dist/PELORIN.DLL"));
    const SetupData data = LoadDescriptionFrom(dir / "dist/PELORIN.DLL");
    ASSERT_EQ(data.FileEntries.size(), 2u);
    const FileEntry& entry = data.FileEntries[0];
    const std::vector<std::uint8_t> stored = testing::ReadStoredFile(dir / "dist/PELORIN.DAT", entry);
    testing::WriteBytes(dir / "stored.exe", stored);
    EXPECT_TRUE(signer.Verify(dir / "stored.exe"));
    ASSERT_TRUE(signer.Sign(uninstaller, dir / "expected.exe"));
    EXPECT_EQ(stored, ReadBytes(dir / "expected.exe"));
    EXPECT_GT(stored.size(), program.size());
    // Setup compares these with a copy already installed: they are the unsigned original's.
    EXPECT_EQ(entry.FileTime, stamp);
    EXPECT_EQ(entry.VersionMS, 0x00010002u);
    EXPECT_EQ(entry.VersionLS, 0x00030004u);
    EXPECT_EQ(ReadBytes(uninstaller), program);
    EXPECT_EQ(LastWriteTime(uninstaller), stamp);

    // The check of the check: one byte changed in a signed program fails verification.
    std::vector<std::uint8_t> flipped = ReadBytes(dir / "dist/pelorin.exe");
    flipped[flipped.size() / 3] ^= 0x01;
    testing::WriteBytes(dir / "flipped.exe", flipped);
    EXPECT_FALSE(signer.Verify(dir / "flipped.exe"));

    // A wrapper that signs in place, as a token's or a signing service's tools are called,
    // gives the same distribution.
    std::string wrapped = signer.Command();
    wrapped.replace(wrapped.find("%1"), 2, "\"$1\"");
    wrapped.replace(wrapped.find("%2"), 2, "\"$1.signed\"");
    testing::WriteText(dir / "sign-in-place.sh", "set -e\n" + wrapped + "\nmv \"$1.signed\" \"$1\"\n");
    package.options.outputDir = dir / "again";
    package.options.sign.emplace("sh " + QuoteForShell(dir / "sign-in-place.sh") + " %1");
    BuildDistribution(package.options);
    for (const char* name : {"pelorin.exe", "PELORIN.DLL", "PELORIN.DAT"}) {
        EXPECT_EQ(ReadBytes(dir / ("again/" + std::string(name))), ReadBytes(dir / ("dist/" + std::string(name))))
            << name;
    }
}

// The names in the temporary folder besides the package's own folder.
std::vector<std::string> Leftovers(const ScratchDir& temp, const SignedPackage& package) {
    std::vector<std::string> names = testing::ListFolder(temp.Path());
    names.erase(std::remove(names.begin(), names.end(), fs::path(package.dir.Path()).filename().string()), names.end());
    return names;
}

TEST(SignedDistribution, AFailedSigningLeavesNoDistributionAndNoCopyBehind) {
    ScratchDir temp;
    const testing::TempFolderOverride tempFolder(temp.Path());
    // Failing, writing nothing, and ending well without signing (a plain copy).
    for (const char* command : {testing::kFailingSigner, testing::kSilentSigner, testing::kCopyingSigner}) {
        SCOPED_TRACE(command);
        SignedPackage package(StandInProgram(), command);
        try {
            BuildDistribution(package.options);
            ADD_FAILURE() << "the build succeeded";
        } catch (const ESignError& error) {
            // The uninstaller is signed first, before anything is written.
            const std::string expected = "FERROW.EXE: the signing command \"" + std::string(command) + "\"";
            EXPECT_EQ(std::string(error.what()).rfind(expected, 0), 0u) << error.what();
        }
        EXPECT_FALSE(fs::exists(package.dir / "dist"));
        EXPECT_TRUE(Leftovers(temp, package).empty());
    }
}

#ifndef _WIN32
TEST(SignedDistribution, ASigningThatFailsAtTheLibraryKeepsTheEarlierDistribution) {
    // Signing fails at PELORIN.DLL, after FERROW.EXE was signed and PELORIN.DAT staged.
    const std::string unavailable = testing::TestSigner::Unavailable(kSignable);
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    const testing::TestSigner signer;
    ASSERT_TRUE(signer.Ready());
    ScratchDir temp;
    const testing::TempFolderOverride tempFolder(temp.Path());
    const std::string failingAtTheLibrary = "case %1 in *.DLL) exit 4;; esac; " + signer.Command();
    SignedPackage package(ReadBytes(kSignable), failingAtTheLibrary);
    package.options.sign.reset();
    BuildDistribution(package.options);
    const std::string dist = package.dir / "dist";
    const std::vector<std::string> names = testing::ListFolder(dist);
    const std::vector<std::uint8_t> archive = ReadBytes(dist + "/PELORIN.DAT");
    testing::WriteText(package.dir / "app.txt", "changed");
    package.options.sign.emplace(failingAtTheLibrary);
    try {
        BuildDistribution(package.options);
        ADD_FAILURE() << "the build succeeded";
    } catch (const ESignError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("PELORIN.DLL: ", 0), 0u) << error.what();
    }
    EXPECT_EQ(testing::ListFolder(dist), names);
    EXPECT_EQ(ReadBytes(dist + "/PELORIN.DAT"), archive);
    EXPECT_TRUE(Leftovers(temp, package).empty());
}
#endif

}  // namespace
}  // namespace pelorin
