// Round trips: project file -> pelorin-build -> the setup program's own reader, for
// every record kind, plus the setup program's machine and the text dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "setup/BlockWriter.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/PeImage.h"
#include "tools/pelorin-build/ResourceDll.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

const char* const kFullProject = R"([Setup]
AppName = Round Trip
AppVerName = "  Round Trip 2.5  "
DefaultDirName = Round Trip
DefaultGroupName = Round Group
MinWinVersion = 3.1
MinNTVersion = none
BackColor = rgb(1, 2, 3)
CreateUninstall = yes
AlwaysRestart = true
SolidBackground = no
LicenseFile = license.rtf

; every kind of record, in mixed order
[Dir]
DirName = {app}\one
[File]
Source = files\a.txt
DestName = {app}\a.txt
CopyMode = never-replace
Flags = confirm-overwrite restart-replace,register-server
[Icon]
IconName = Start
Filename = {app}\a.exe
Parameters = -x "quoted"
WorkingDir = {app}
IconFilename = {sys}\shell32.dll
IconIndex = -3
[dir]
dirname = {win}\two
[File]
Source = files/b.bin
Flags = undo-log, shared, no-uninstall
CopyMode = no-ask-newer
[Ini]
Section = S
Key = K
Value = {app}
Flags = uninstall-delete-section
[Registry]
RootKey = HKEY_LOCAL_MACHINE
SubKey = Software\{app}
ValueType = dword
ValueName = Count
ValueData = -2147483648
Flags = uninstall-delete-key
[Registry]
RootKey = hkcu
SubKey = Software\X
[UninstallDelete]
FileName = {app}\log.txt
[Run]
Filename = {app}\a.exe
Parameters = /go
Flags = no-wait
[Run]
Filename = {win}\b.exe
)";

struct Built {
    ScratchDir dir;
    BuildSummary summary;
    std::string dist() const { return dir / "dist"; }
};

void buildFull(Built& built, Machine machine) {
    testing::WriteText(built.dir / "license.rtf", "{\\rtf1 License}");
    testing::WriteText(built.dir / "files/a.txt", "alpha\r\n");
    testing::WriteText(built.dir / "files/b.bin", std::string(5000, 'b'));
    testing::WriteText(built.dir / "p.pelproj", kFullProject);
    BuildOptions options;
    options.projectPath = built.dir / "p.pelproj";
    options.outputDir = built.dist();
    options.withoutSetupExe = true;
    options.withoutUninstaller = true;
    options.machine = machine;
    built.summary = BuildDistribution(options);
}

TEST(ProjectRoundTrip, EveryRecordKindReadsBackThroughTheSetupReader) {
    Built built;
    buildFull(built, Machine::Amd64);
    EXPECT_EQ(testing::ListFolder(built.dist()), (std::vector<std::string>{"PELORIN.DAT", "PELORIN.DLL"}));
    const SetupData data = LoadDescriptionFrom(built.dist() + "/PELORIN.DLL");

    const SetupHeader& h = data.Header;
    EXPECT_EQ(h.AppName, "Round Trip");
    EXPECT_EQ(h.AppVerName, "  Round Trip 2.5  ");
    EXPECT_EQ(h.DefaultDirName, "Round Trip");
    EXPECT_EQ(h.DefaultGroupName, "Round Group");
    EXPECT_EQ(h.MinWinMajor, 3);
    EXPECT_EQ(h.MinWinMinor, 10);
    EXPECT_EQ(h.MinNTMajor, 0);
    EXPECT_EQ(h.MinNTMinor, 0);
    EXPECT_EQ(h.BackColor, 0x030201u);
    EXPECT_EQ(h.Flags, SetupHeader::CreateUninstall | SetupHeader::AlwaysRestart);
    ASSERT_TRUE(data.License.has_value());
    EXPECT_EQ(*data.License, "{\\rtf1 License}");
    EXPECT_EQ(h.LicenseSize, 15);
    EXPECT_TRUE(data.RestartRequired);

    ASSERT_EQ(data.DirEntries.size(), 2u);
    EXPECT_EQ(data.DirEntries[0].DirName, "{app}\\one");
    EXPECT_EQ(data.DirEntries[1].DirName, "{win}\\two");

    ASSERT_EQ(data.FileEntries.size(), 2u);
    const FileEntry& a = data.FileEntries[0];
    EXPECT_EQ(a.DestName, "{app}\\a.txt");
    EXPECT_EQ(a.CopyMode, cmNeverReplace);
    EXPECT_EQ(a.Flags, FileEntry::ConfirmOverwrite | FileEntry::RestartReplace | FileEntry::RegisterServer);
    EXPECT_EQ(a.DataOffset, 0);
    EXPECT_EQ(a.UncompressedSize, 7u);
    EXPECT_EQ(a.VersionMS, FileEntry::NoVersion);
    const FileEntry& b = data.FileEntries[1];
    EXPECT_EQ(b.DestName, "");
    EXPECT_EQ(b.CopyMode, cmNoAskNewer);
    EXPECT_EQ(b.Flags, FileEntry::IsUndoLog | FileEntry::SharedFile | FileEntry::NoUninstall);
    EXPECT_EQ(b.DataOffset, static_cast<std::int32_t>(4 + a.CompressedSize));
    EXPECT_EQ(data.TotalSize, 5007);

    ASSERT_EQ(data.IconEntries.size(), 1u);
    const IconEntry& icon = data.IconEntries[0];
    EXPECT_EQ(icon.IconName, "Start");
    EXPECT_EQ(icon.Filename, "{app}\\a.exe");
    EXPECT_EQ(icon.Parameters, "-x \"quoted\"");
    EXPECT_EQ(icon.WorkingDir, "{app}");
    EXPECT_EQ(icon.IconFilename, "{sys}\\shell32.dll");
    EXPECT_EQ(icon.IconIndex, -3);

    ASSERT_EQ(data.IniEntries.size(), 1u);
    EXPECT_EQ(data.IniEntries[0].IniFile, "");
    EXPECT_EQ(data.IniEntries[0].Section, "S");
    EXPECT_EQ(data.IniEntries[0].Key, "K");
    EXPECT_EQ(data.IniEntries[0].Value, "{app}");
    EXPECT_EQ(data.IniEntries[0].Flags, IniEntry::UninsDeleteSection);

    ASSERT_EQ(data.RegistryEntries.size(), 2u);
    const RegistryEntry& r = data.RegistryEntries[0];
    EXPECT_EQ(r.RootKey, 0x80000002u);
    EXPECT_EQ(r.SubKey, "Software\\{app}");
    EXPECT_EQ(r.ValueName, "Count");
    EXPECT_EQ(r.ValueData, "-2147483648");
    EXPECT_EQ(r.ValueType, RegistryEntry::vtDWord);
    EXPECT_EQ(r.Flags, RegistryEntry::UninsDeleteKey);
    EXPECT_EQ(data.RegistryEntries[1].RootKey, 0x80000001u);
    EXPECT_EQ(data.RegistryEntries[1].ValueType, RegistryEntry::vtNone);

    ASSERT_EQ(data.UninstallDeleteEntries.size(), 1u);
    EXPECT_EQ(data.UninstallDeleteEntries[0].FileName, "{app}\\log.txt");

    ASSERT_EQ(data.RunEntries.size(), 2u);
    EXPECT_EQ(data.RunEntries[0].Filename, "{app}\\a.exe");
    EXPECT_EQ(data.RunEntries[0].Parameters, "/go");
    EXPECT_EQ(data.RunEntries[0].Flags, RunEntry::NoWait);
    EXPECT_EQ(data.RunEntries[1].Flags, 0);
}

TEST(ProjectRoundTrip, TextsFillingTheirFieldExactlyAreKept) {
    ScratchDir dir;
    const std::string name63(63, 'n'), subKey128(128, 'k');
    testing::WriteText(dir / "p.pelproj", "[Setup]\nAppName=" + name63 +
                                              "\nAppVerName=v\nDefaultDirName=d\n"
                                              "[Registry]\nRootKey=HKCU\nSubKey=" +
                                              subKey128 + "\n");
    BuildOptions options{dir / "p.pelproj", dir / "out", "", true, Machine::I386, "", false, std::nullopt};
    BuildDistribution(options);
    const SetupData data = LoadDescriptionFrom(dir / "out/PELORIN.DLL");
    EXPECT_EQ(data.Header.AppName, name63);
    EXPECT_EQ(data.Header.MinWinMajor, 4);  // defaults: both families from 4.0
    EXPECT_EQ(data.Header.MinNTMajor, 4);
    ASSERT_EQ(data.RegistryEntries.size(), 1u);
    EXPECT_EQ(data.RegistryEntries[0].SubKey, subKey128);
    EXPECT_TRUE(data.FileEntries.empty());
    EXPECT_FALSE(data.License.has_value());
}

TEST(ProjectRoundTrip, LibraryFollowsTheMachineOfTheShippedSetupProgram) {
    ScratchDir dir;
    testing::WriteText(dir / "p.pelproj", "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\n");
    // A stand-in setup program: any image of the wanted machine will do.
    ResourceDllContent fake;
    fake.machine = Machine::I386;
    fake.data = {1, 2, 3};
    const auto fakeExe = MakeResourceDll(fake);
    {
        std::ofstream out(dir / "pelorin32.exe", std::ios::binary);
        out.write(reinterpret_cast<const char*>(fakeExe.data()), static_cast<std::streamsize>(fakeExe.size()));
    }
    BuildOptions options{dir / "p.pelproj", dir / "out", dir / "pelorin32.exe", false, std::nullopt, "", false,
                         std::nullopt};
    const BuildSummary summary = BuildDistribution(options);
    EXPECT_EQ(summary.machine, Machine::I386);
    EXPECT_EQ(testing::ListFolder(dir / "out"),
              (std::vector<std::string>{"PELORIN.DAT", "PELORIN.DLL", "pelorin.exe"}));
    EXPECT_EQ(testing::ReadBytes(dir / "out/pelorin.exe"), fakeExe);
    const auto dll = PeImage::Parse(testing::ReadBytes(dir / "out/PELORIN.DLL"));
    ASSERT_TRUE(dll.has_value());
    EXPECT_EQ(dll->MachineCode(), 0x14C);
    EXPECT_FALSE(dll->IsPe32Plus());

    options.machine = Machine::Amd64;  // forced
    BuildDistribution(options);
    EXPECT_EQ(PeImage::Parse(testing::ReadBytes(dir / "out/PELORIN.DLL"))->MachineCode(), 0x8664);
}

TEST(ProjectRoundTrip, DumpShowsHeaderAndRecordsAndLeavesARawDescriptionInPlace) {
    Built built;
    buildFull(built, Machine::Amd64);
    std::ostringstream text;
    DumpDescription(LoadDescriptionFrom(built.dist() + "/PELORIN.DLL"), text);
    for (const char* expected : {"AppVerName           = \"  Round Trip 2.5  \"", "MinWinMinor          = 10",
                                 "Flags                = 0x05 (CreateUninstall AlwaysRestart)", "[FileEntry 2]",
                                 "IsUndoLog", "[RegistryEntry 1]", "0x80000002 (HKEY_LOCAL_MACHINE)",
                                 "ValueType            = 2 (dword)", "[RunEntry 2]", "  | {\\rtf1 License}"}) {
        EXPECT_NE(text.str().find(expected), std::string::npos) << expected;
    }

    // The setup program's loader deletes the file it reads; the dump must not.
    SetupData data;
    data.Header.AppName = "raw";
    const std::string raw = built.dir / "description.bin";
    WriteSetupDescription(raw, data);
    EXPECT_EQ(LoadDescriptionFrom(raw).Header.AppName, "raw");
    EXPECT_TRUE(std::filesystem::exists(raw));
}

}  // namespace
}  // namespace pelorin
