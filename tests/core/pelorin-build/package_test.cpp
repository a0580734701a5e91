// Looking into a finished distribution: the listing, the verification of intact and damaged
// packages, and extraction with its refusals; each on a small package the tool really built.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "setup/BlockWriter.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/DataArchiveReader.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/ExtractPath.h"
#include "tools/pelorin-build/HostSystem.h"
#include "tools/pelorin-build/PackageExtract.h"
#include "tools/pelorin-build/PackageListing.h"
#include "tools/pelorin-build/PackageVerify.h"
#include "tools/pelorin-build/ResourceDll.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

std::string noise(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string text(size, '\0');
    std::generate(text.begin(), text.end(), [&random] { return static_cast<char>(random() >> 24); });
    return text;
}

// A stand-in for pelorin.exe: a Windows image with a manifest that names the program or not.
std::vector<std::uint8_t> programImage(Machine machine, const std::string& manifest) {
    ResourceDllContent content;
    content.machine = machine;
    content.type = 24;
    content.id = 1;
    content.data.assign(manifest.begin(), manifest.end());
    return MakeResourceDll(content);
}

const char* const kSetupManifest = "<assembly><!-- Application manifest of pelorin: its level --></assembly>";

// Three stored files (one twice), one folder, and a setup program; `seed` varies the data.
struct Package {
    ScratchDir dir;
    std::string dist = dir / "dist";

    explicit Package(std::uint32_t seed = 1, Machine exeMachine = Machine::Amd64) {
        testing::WriteText(dir / "src/a.txt", "alpha\n");
        testing::WriteText(dir / "src/b.bin", noise(40000 + seed, seed));  // stored blocks: only Adler-32 guards it
        testing::WriteText(dir / "src/c.txt", std::string(9000, 'c'));
        testing::WriteBytes(dir / "pelorin.exe", programImage(exeMachine, kSetupManifest));
        testing::WriteText(dir / "p.pelproj",
                           "[Setup]\nAppName=Look\nAppVerName=Look 1\nDefaultDirName=Look\n"
                           "[Dir]\nDirName={app}\\empty\n"
                           "[File]\nSource=src/a.txt\nDestName={app}\\a.txt\nFlags=shared confirm-overwrite\n"
                           "[File]\nSource=src/b.bin\nDestName={sys}\\deep\\b.bin\nCopyMode=no-ask-newer\n"
                           "[File]\nSource=src/c.txt\nDestName={win}\\c.txt\n"
                           "[File]\nSource=src/a.txt\nDestName={src}\\again.txt\n");
        BuildOptions options;
        options.projectPath = dir / "p.pelproj";
        options.outputDir = dist;
        options.setupExe = dir / "pelorin.exe";
        options.machine = Machine::Amd64;
        options.withoutUninstaller = true;
        BuildDistribution(options);
    }
    std::string file(const std::string& name) const { return testing::JoinPath(dist, name); }
    SetupData description() const { return LoadDescriptionFrom(file("PELORIN.DLL")); }
    // Replaces PELORIN.DLL by one holding this description.
    void writeDescription(const SetupData& data) const {
        ResourceDllContent dll;
        dll.data = EncodeSetupDescription(data);
        testing::WriteBytes(file("PELORIN.DLL"), MakeResourceDll(dll));
    }
    std::vector<std::string> problems() const { return VerifyPackage(dist).problems; }
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST(PackageListing, TextHasOneLinePerEntryAndTotalsTsvHasRawNumbers) {
    const Package package;
    const SetupData data = package.description();
    std::ostringstream text;
    WriteListing(data, ListFormat::Text, text);
    std::vector<std::string> lines;
    std::istringstream in(text.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1 + 4 + 2u) << text.str();
    EXPECT_NE(lines[1].find("confirm-overwrite,shared"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("no-ask-newer"), std::string::npos);
    EXPECT_NE(lines[2].find("{sys}\\deep\\b.bin"), std::string::npos);
    EXPECT_NE(lines[3].find("  0%  "), std::string::npos) << "9000 equal bytes compress to almost nothing";
    std::uint64_t compressed = 0, size = 0;
    for (const FileEntry& e : data.FileEntries) compressed += e.CompressedSize, size += e.UncompressedSize;
    std::istringstream totals(lines.back());
    std::uint64_t shownCompressed = 0, shownSize = 0;
    totals >> shownCompressed >> shownSize;
    EXPECT_EQ(shownCompressed, compressed);
    EXPECT_EQ(shownSize, size);
    EXPECT_NE(lines.back().find("4 files"), std::string::npos);

    std::ostringstream tsv;
    WriteListing(data, ListFormat::Tsv, tsv);
    std::istringstream rows(tsv.str());
    std::string header;
    std::getline(rows, header);
    EXPECT_EQ(header,
              "index\tdestination\toffset\tcompressed\tuncompressed\tratio\tversion\tfiletime\ttime\tcopymode\tflags"
              "\tadler32");
    std::size_t n = 0;
    for (std::string row; std::getline(rows, row); ++n) {
        std::vector<std::string> fields;
        std::istringstream cells(row);
        for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
        if (row.back() == '\t') fields.push_back("");
        ASSERT_EQ(fields.size(), 12u) << row;
        const FileEntry& e = data.FileEntries.at(n);
        EXPECT_EQ(fields[1], e.DestName);
        EXPECT_EQ(fields[3], std::to_string(e.CompressedSize));
        EXPECT_EQ(fields[4], std::to_string(e.UncompressedSize));
        EXPECT_EQ(fields[6], "");  // no version resource
        EXPECT_EQ(fields[7], std::to_string(e.FileTime));
        EXPECT_EQ(fields[10], std::to_string(e.Flags));
        EXPECT_EQ(fields[11], std::to_string(e.Adler32));
    }
    EXPECT_EQ(n, 4u);

    SetupData odd = data;
    odd.FileEntries[0].DestName = "tab\there";
    odd.FileEntries[0].FileTime = 0;
    std::ostringstream escaped;
    WriteListing(odd, ListFormat::Tsv, escaped);
    EXPECT_NE(escaped.str().find("\ttab\\x09here\t"), std::string::npos) << escaped.str();
}

TEST(PackageVerify, IntactPackagePassesAndEachDamageIsNamed) {
    const Package package;
    const VerifyReport intact = VerifyPackage(package.dist);
    EXPECT_TRUE(intact.problems.empty()) << joined(intact.problems);
    EXPECT_TRUE(intact.notes.empty()) << joined(intact.notes);
    EXPECT_EQ(intact.fileCount, 4u);

    const SetupData data = package.description();
    const std::vector<std::uint8_t> dat = testing::ReadBytes(package.file("PELORIN.DAT"));
    {
        SCOPED_TRACE("a flipped byte inside b.bin's stored data");
        std::vector<std::uint8_t> flipped = dat;
        flipped[data.FileEntries[1].DataOffset + 4000] ^= 0x01;
        testing::WriteBytes(package.file("PELORIN.DAT"), flipped);
        const auto problems = package.problems();
        ASSERT_EQ(problems.size(), 1u) << joined(problems);
        EXPECT_EQ(problems[0].rfind("file 2 {sys}\\deep\\b.bin: ", 0), 0u) << problems[0];
    }
    {
        SCOPED_TRACE("a flipped zel8 mark");
        std::vector<std::uint8_t> flipped = dat;
        flipped[data.FileEntries[2].DataOffset] ^= 0x20;
        testing::WriteBytes(package.file("PELORIN.DAT"), flipped);
        EXPECT_EQ(joined(package.problems()), "file 3 {win}\\c.txt: no zel8 mark at offset " +
                                                  std::to_string(data.FileEntries[2].DataOffset) +
                                                  " of PELORIN.DAT (damaged, or a PELORIN.DLL of another build)\n");
    }
    {
        SCOPED_TRACE("a truncated PELORIN.DAT");
        testing::WriteBytes(package.file("PELORIN.DAT"), std::vector<std::uint8_t>(dat.begin(), dat.end() - 10));
        const auto problems = package.problems();
        ASSERT_EQ(problems.size(), 1u) << joined(problems);
        EXPECT_NE(problems[0].find("file 3 {win}\\c.txt: its data (bytes "), std::string::npos) << problems[0];
        EXPECT_NE(problems[0].find("runs past the end of PELORIN.DAT (" + std::to_string(dat.size() - 10) + " bytes)"),
                  std::string::npos);
    }
    {
        SCOPED_TRACE("bytes behind the last entry");
        std::vector<std::uint8_t> longer = dat;
        longer.push_back(0);
        testing::WriteBytes(package.file("PELORIN.DAT"), longer);
        EXPECT_EQ(joined(package.problems()), "PELORIN.DAT: bytes " + std::to_string(dat.size()) + " to " +
                                                  std::to_string(dat.size()) +
                                                  " belong to no file entry (a PELORIN.DLL of another build?)\n");
    }
    testing::WriteBytes(package.file("PELORIN.DAT"), dat);
    EXPECT_TRUE(package.problems().empty());
}

TEST(PackageVerify, DescriptionAndSetupProgramOfAnotherBuildAreCaught) {
    const Package package;
    const Package other(7);  // b.bin is 6 bytes longer and differs throughout
    testing::WriteBytes(package.file("PELORIN.DLL"), testing::ReadBytes(other.file("PELORIN.DLL")));
    const std::string problems = joined(package.problems());
    EXPECT_NE(problems.find("file 2 {sys}\\deep\\b.bin: "), std::string::npos) << problems;
    EXPECT_NE(problems.find("file 3 {win}\\c.txt: its data (bytes "), std::string::npos) << problems;

    testing::WriteText(package.file("PELORIN.DLL"), "MZ but nothing else");
    EXPECT_EQ(joined(package.problems()), "PELORIN.DLL: not a Windows image\n");
    std::filesystem::remove(package.file("PELORIN.DLL"));
    EXPECT_NE(joined(package.problems()).find("PELORIN.DLL: cannot open the file"), std::string::npos);

    const Package foreign;
    testing::WriteBytes(foreign.file("pelorin.exe"), programImage(Machine::Amd64, "<assembly>another</assembly>"));
    EXPECT_EQ(joined(foreign.problems()), "pelorin.exe: not the setup program (its manifest does not name pelorin)\n");
    std::vector<std::uint8_t> cut = programImage(Machine::Amd64, kSetupManifest);
    testing::WriteBytes(foreign.file("pelorin.exe"), std::vector<std::uint8_t>(cut.begin(), cut.begin() + 0x80));
    EXPECT_EQ(joined(foreign.problems()), "pelorin.exe: not a Windows image\n");

    const Package mixed(1, Machine::I386);  // a build with --machine amd64 and an i386 setup program
    const VerifyReport report = VerifyPackage(mixed.dist);
    EXPECT_TRUE(report.problems.empty()) << joined(report.problems);
    EXPECT_EQ(joined(report.notes),
              "PELORIN.DLL is written for amd64, pelorin.exe for i386 (a build with --machine; "
              "setup reads it either way)\n");
}

TEST(DataArchiveLayout, SharedOverlappingAndUnclaimedDataAreFound) {
    std::string dat = "zel8xxxxzel8yy..";
    std::istringstream in(dat);
    DataArchiveReader reader(in, dat.size());
    FileEntry a;
    a.DestName = "a";
    a.DataOffset = 0;
    a.CompressedSize = 4;
    FileEntry b = a;
    b.DestName = "b";
    b.DataOffset = 8;
    b.CompressedSize = 2;
    EXPECT_EQ(joined(reader.CheckLayout({a, b})),
              "PELORIN.DAT: bytes 14 to 15 belong to no file entry (a PELORIN.DLL of another build?)\n");
    FileEntry shared = a;
    shared.DestName = "s";
    shared.Adler32 = 99;
    FileEntry overlap = b;
    overlap.DestName = "o";
    overlap.DataOffset = 6;
    overlap.CompressedSize = 6;
    EXPECT_EQ(joined(reader.CheckLayout({a, shared, overlap, b})),
              "file 2 s: shares its data with file 1 a but records other sizes or another checksum\n"
              "file 3 o: its data overlaps that of file 1 a\n"
              "file 4 b: its data overlaps that of file 3 o\n");
    EXPECT_EQ(reader.CheckPlacement(b), "");
    b.DataOffset = 4;
    EXPECT_EQ(reader.CheckPlacement(b),
              "no zel8 mark at offset 4 of PELORIN.DAT (damaged, or a PELORIN.DLL of another build)");
    b.DataOffset = -1;
    EXPECT_EQ(reader.CheckPlacement(b), "a negative offset into PELORIN.DAT (-1)");
    EXPECT_EQ(reader.CheckLayout({}).size(), 1u);  // every byte unclaimed
}

TEST(ExtractPathTest, ConstantsBecomeFoldersAndEscapesAreRefused) {
    EXPECT_EQ(MapDestination("{app}\\bin/x.exe").parts, (std::vector<std::string>{"app", "bin", "x.exe"}));
    EXPECT_EQ(MapDestination("{win}\\FERROW.EXE").parts, (std::vector<std::string>{"win", "FERROW.EXE"}));
    EXPECT_EQ(MapDestination("{src}\\{sys}x").parts, (std::vector<std::string>{"src", "sysx"}));
    EXPECT_EQ(MapDestination("loose.txt").parts, (std::vector<std::string>{"loose.txt"}));
    for (const char* hostile : {"{app}\\..\\..\\evil.txt", "..", "\\evil.txt", "/etc/evil", "C:\\evil.txt",
                                "{app}\\\\x", "{app}\\", "{app}\\a.txt:stream", "{app}\\.. \\x", "{app}\\x.",
                                "{app}\\NUL.txt", "{app}\\com1", "{app}\\a\x01", "", "{app}\\.\\x", "{app}\\a?b"}) {
        SCOPED_TRACE(hostile);
        const ExtractPath path = MapDestination(hostile);
        EXPECT_TRUE(path.parts.empty());
        EXPECT_EQ(path.refusal.rfind("refused: ", 0), 0u) << path.refusal;
    }
    EXPECT_TRUE(MapDestination("{app}\\console.txt").refusal.empty());
}

TEST(PackageExtract, FilesFoldersAndTimesAsStoredAndNothingHalfWritten) {
    const Package package;
    const SetupData data = package.description();
    const ScratchDir out;
    const ExtractReport report = ExtractPackage(package.dist, out.Path());
    EXPECT_TRUE(report.problems.empty()) << joined(report.problems);
    EXPECT_EQ(report.written, 4u);
    EXPECT_EQ(testing::ListFolder(out.Path()), (std::vector<std::string>{"app", "src", "sys", "win"}));
    EXPECT_EQ(testing::ListFolder(out / "app"), (std::vector<std::string>{"a.txt", "empty"}));
    EXPECT_TRUE(testing::DirExists(out / "app/empty"));
    const std::vector<std::pair<std::string, std::string>> expected = {{"app/a.txt", "src/a.txt"},
                                                                       {"sys/deep/b.bin", "src/b.bin"},
                                                                       {"win/c.txt", "src/c.txt"},
                                                                       {"src/again.txt", "src/a.txt"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(testing::ReadBytes(out / expected[i].first), testing::ReadBytes(package.dir / expected[i].second));
        EXPECT_EQ(LastWriteTime(out / expected[i].first), data.FileEntries[i].FileTime);
    }

    // A damaged entry is left out, with no temporary file beside it; the others are written.
    const ScratchDir damagedOut;
    std::vector<std::uint8_t> dat = testing::ReadBytes(package.file("PELORIN.DAT"));
    dat[data.FileEntries[1].DataOffset + 1000] ^= 0x80;
    testing::WriteBytes(package.file("PELORIN.DAT"), dat);
    const ExtractReport damaged = ExtractPackage(package.dist, damagedOut.Path());
    ASSERT_EQ(damaged.problems.size(), 1u) << joined(damaged.problems);
    EXPECT_EQ(damaged.problems[0].rfind("file 2 {sys}\\deep\\b.bin: ", 0), 0u);
    EXPECT_EQ(damaged.written, 3u);
    EXPECT_TRUE(testing::ListFolder(damagedOut / "sys/deep").empty());

    // One hostile destination refuses the whole package before anything is written.
    SetupData hostile = data;
    hostile.FileEntries[2].DestName = "{app}\\..\\..\\evil.txt";
    package.writeDescription(hostile);
    const ScratchDir refusedOut;
    const ExtractReport refused = ExtractPackage(package.dist, refusedOut / "out");
    EXPECT_EQ(joined(refused.problems), "file 3 {app}\\..\\..\\evil.txt: refused: a \"..\" part\n");
    EXPECT_FALSE(std::filesystem::exists(refusedOut / "out"));
}

}  // namespace
}  // namespace pelorin
