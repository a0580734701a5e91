// The uninstaller in a package: where the tool finds FERROW.EXE, the shared {win}
// entry it adds for CreateUninstall, and every way that entry is left out.
#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>

#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/CommandLine.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/Uninstaller.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

const char* const kSetup = "[Setup]\nAppName=U\nAppVerName=U 1\nDefaultDirName=U\n";
const std::string kUninstallerBytes = "MZ not really a program, but stored all the same";

struct Package {
    ScratchDir dir;
    BuildOptions options;

    explicit Package(const std::string& project) {
        testing::WriteText(dir / "app.txt", "app");
        testing::WriteText(dir / "bin/FERROW.EXE", kUninstallerBytes);
        testing::WriteText(dir / "p.pelproj", project);
        options.projectPath = dir / "p.pelproj";
        options.outputDir = dir / "dist";
        options.withoutSetupExe = true;
        options.machine = Machine::Amd64;
        options.uninstaller = dir / "bin/FERROW.EXE";
    }
    SetupData build() {
        summary = BuildDistribution(options);
        return LoadDescriptionFrom(dir / "dist/PELORIN.DLL");
    }
    BuildSummary summary;
};

std::string withFile(const std::string& setupExtra, const std::string& dest = "{app}\\app.txt") {
    return std::string(kSetup) + setupExtra + "[File]\nSource=app.txt\nDestName=" + dest + "\n";
}

TEST(UninstallerSearch, BesideTheToolInAnyCaseThenTheSiblingWin64Tree) {
    ScratchDir root;
    const std::string tool = root / "native/bin/pelorin-build";
    testing::WriteText(tool, "");
    EXPECT_EQ(FindUninstaller(tool), "");
    EXPECT_EQ(FindUninstaller(""), "");
    std::filesystem::create_directories(root / "win64/bin/ferrow.exe.d");  // a folder is no program
    EXPECT_EQ(FindUninstaller(tool), "");
    testing::WriteText(root / "win64/bin/Ferrow.exe", "64");
    EXPECT_EQ(std::filesystem::path(FindUninstaller(tool)),
              std::filesystem::path(root / "win64/bin/Ferrow.exe").lexically_normal());
    testing::WriteText(root / "native/bin/FERROW.EXE", "beside");
    EXPECT_EQ(std::filesystem::path(FindUninstaller(tool)),
              std::filesystem::path(root / "native/bin/FERROW.EXE").lexically_normal());
}

TEST(UninstallerEntry, CreateUninstallAddsASharedWindowsFolderEntryFirst) {
    Package package(withFile("CreateUninstall=yes\n"));
    const SetupData data = package.build();
    ASSERT_EQ(data.FileEntries.size(), 2u);
    const FileEntry& entry = data.FileEntries[0];
    EXPECT_EQ(entry.DestName, "{win}\\FERROW.EXE");
    EXPECT_EQ(entry.Flags, FileEntry::SharedFile);
    EXPECT_EQ(entry.CopyMode, cmNoAskNewer);
    EXPECT_EQ(entry.UncompressedSize, kUninstallerBytes.size());
    const auto* bytes = reinterpret_cast<const Bytef*>(kUninstallerBytes.data());
    EXPECT_EQ(entry.Adler32, adler32(1, bytes, static_cast<uInt>(kUninstallerBytes.size())));
    // The stand-in has no version resource, so setup could not keep a newer copy.
    EXPECT_EQ(entry.VersionMS, FileEntry::NoVersion);
    ASSERT_EQ(package.summary.warnings.size(), 1u);
    EXPECT_NE(package.summary.warnings[0].find("has no version resource"), std::string::npos);
    EXPECT_EQ(data.FileEntries[1].DestName, "{app}\\app.txt");
    EXPECT_NE(entry.DataOffset, data.FileEntries[1].DataOffset);
}

#ifdef PELORIN_VERSIONED_x86_64
TEST(UninstallerEntry, AVersionedUninstallerIsComparedBySetup) {
    Package package(withFile("CreateUninstall=yes\n"));
    package.options.uninstaller = std::filesystem::absolute(PELORIN_VERSIONED_x86_64).string();
    const SetupData data = package.build();
    EXPECT_EQ(data.FileEntries[0].VersionMS, 0x00010002u);
    EXPECT_EQ(data.FileEntries[0].VersionLS, 0x00030004u);
    EXPECT_TRUE(package.summary.warnings.empty());
}
#endif

TEST(UninstallerEntry, LeftOutWhenNotAskedForOrAlreadyInTheProject) {
    {
        Package package(withFile(""));  // no CreateUninstall: the option is not used
        EXPECT_EQ(package.build().FileEntries.size(), 1u);
    }
    {
        Package package(withFile("CreateUninstall=yes\nIncludeUninstaller=no\n"));
        EXPECT_EQ(package.build().FileEntries.size(), 1u);
    }
    {
        Package package(withFile("CreateUninstall=yes\n"));
        package.options.uninstaller.clear();
        package.options.withoutUninstaller = true;
        EXPECT_EQ(package.build().FileEntries.size(), 1u);
    }
    {
        // The project ships its own copy, with its own rules: that entry stays alone.
        Package package(withFile("CreateUninstall=yes\n", "{win}\\Ferrow.Exe"));
        const SetupData data = package.build();
        ASSERT_EQ(data.FileEntries.size(), 1u);
        EXPECT_EQ(data.FileEntries[0].Flags, 0);
    }
}

TEST(UninstallerEntry, MissingUninstallerOrStrayKeyFailsTheBuild) {
    {
        Package package(withFile("CreateUninstall=yes\n"));
        package.options.uninstaller = package.dir / "bin/nothing.exe";
        EXPECT_THROW(package.build(), BuildError);
        EXPECT_FALSE(std::filesystem::exists(package.dir / "dist"));
    }
    {
        Package package(withFile("IncludeUninstaller=no\n"));
        try {
            package.build();
            ADD_FAILURE() << "IncludeUninstaller without CreateUninstall was accepted";
        } catch (const BuildError& error) {
            EXPECT_EQ(error.Field(), "IncludeUninstaller");
            EXPECT_EQ(error.Line(), 5);
        }
    }
    EXPECT_THROW(ParseCommandLine({"p", "-o", "d", "--uninstaller", "x", "--no-uninstaller"}), Exception);
    const CommandLine ok = ParseCommandLine({"p", "-o", "d", "--uninstaller", "u/FERROW.EXE"});
    EXPECT_EQ(ok.build.uninstaller, "u/FERROW.EXE");
    EXPECT_FALSE(ok.build.withoutUninstaller);
}

}  // namespace
}  // namespace pelorin
