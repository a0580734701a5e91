// The Win32 side of the zip component: the "S_STREAM" resource linked into this program,
// attributes and time stamps of extracted files, and names in the system's OEM code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "platform/win/ReplaceAside.h"
#include "tests/core/unzip/TestSupport.h"
#include "tests/core/unzip/ZipBuilder.h"
#include "update/strings/StreamMessages.h"
#include "update/strings/StringResource.h"
#include "update/strings/StringTableSource.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {
namespace {

using test::ZipBuilder;

TEST(WinStringResource, TheProgramCarriesTheBuiltInTable) {
    const HRSRC info = ::FindResourceA(nullptr, "S_STREAM", "S_STRINGTABLE");
    ASSERT_NE(info, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(nullptr, info)));
    const std::vector<std::uint8_t> bytes(data, data + ::SizeofResource(nullptr, info));
    EXPECT_EQ(bytes, BuiltinStreamTable());

    const ProgramResourceData found = LocateStringTable("s_stream");
    EXPECT_EQ(found.status, TResourceStatus::rsFound);
    EXPECT_EQ(found.data, data);
    EXPECT_EQ(LocateStringTable("S_OTHER").status, TResourceStatus::rsMissing);

    TS_StringResource resource;
    resource.Load("S_STREAM");
    EXPECT_EQ(resource.Message(7), "Cannot write to a resource stream");
    EXPECT_EQ(resource.Message(8), "");
}

class WinExtraction : public test::ExtractionRig {
protected:
    void Extract(const std::vector<std::uint8_t>& archive) {
        UseArchive(archive);
        zip.SetOverwriteMode(TUZOverwriteMode::Always);
        result = zip.Extract();
    }

    int result = -1;
};

TEST_F(WinExtraction, AttributesAndTimeStampsComeFromTheEntry) {
    test::BuiltEntry entry;
    entry.name = "flags.txt";
    entry.data = test::Bytes("attributes");
    entry.externalAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    entry.dateTime = 0x50226883;  // 2020-01-02 13:04:06 local time
    Extract(ZipBuilder().Add(entry).Build());
    ASSERT_EQ(result, 1);
    const std::string path = out / "flags.txt";
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    FILETIME local;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    WORD date = 0;
    WORD time = 0;
    ::FileTimeToDosDateTime(&local, &date, &time);
    EXPECT_EQ((std::uint32_t(date) << 16) | time, 0x50226883u);

    // Without RetainAttributes the file stays plain.
    zip.SetRetainAttributes(false);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    Extract(ZipBuilder().Add(entry).Build());
    EXPECT_FALSE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(WinExtraction, AReadOnlyFileThatFailsItsChecksumIsStillDeleted) {
    test::BuiltEntry entry;
    entry.name = "bad.txt";
    entry.data = test::Bytes("damaged");
    entry.externalAttributes = FILE_ATTRIBUTE_READONLY;
    entry.badCrc = true;
    Extract(ZipBuilder().Add(entry).Build());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(::GetFileAttributesA((out / "bad.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WinExtraction, NamesFollowTheSystemOemCodePage) {
    test::BuiltEntry entry;
    entry.name = "d\x82j\x85.txt";
    entry.data = test::Bytes("x");
    Extract(ZipBuilder().Add(entry).Build());
    ASSERT_EQ(result, 1);
    char expected[16] = {};
    ::OemToCharBuffA(entry.name.c_str(), expected, static_cast<DWORD>(entry.name.size()));
    EXPECT_EQ(zip.EntryName(0), std::string(expected));
    EXPECT_NE(::GetFileAttributesA((out / expected).c_str()), INVALID_FILE_ATTRIBUTES);
}

// The replacement of systems without MoveFileEx: the target always holds the old file or the new.
TEST(WinServices, ReplacingByStepAsideNeverLosesTheOldFile) {
    testing::ScratchDir dir;
    const std::string target = dir / "KZARNIX.DCU", fresh = dir / "~pz00001.tmp";
    const auto text = [](const std::string& path) {
        const std::vector<std::uint8_t> bytes = testing::ReadBytes(path);
        return std::string(bytes.begin(), bytes.end());
    };
    const auto write = [](const std::string& path, const std::string& text) {
        testing::WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    };
    write(target, "old");
    write(fresh, "new");
    ASSERT_TRUE(ReplaceByStepAside(fresh, target));
    EXPECT_EQ(text(target), "new");
    EXPECT_EQ(testing::ListFolder(dir.Path()), std::vector<std::string>{"KZARNIX.DCU"});

    // The new file cannot move in: the old one is back under its name.
    write(target, "old");
    EXPECT_FALSE(ReplaceByStepAside(dir / "missing.tmp", target));
    EXPECT_EQ(text(target), "old");
    EXPECT_EQ(testing::ListFolder(dir.Path()), std::vector<std::string>{"KZARNIX.DCU"});

    // A read-only target is refused, and a target in use cannot step aside: nothing changes.
    write(fresh, "new");
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ReplaceByStepAside(fresh, target));
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        const FileHandle held(::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_FALSE(ReplaceByStepAside(fresh, target));
    }
    EXPECT_EQ(text(target), "old");
    EXPECT_EQ(text(fresh), "new");
    // A target that does not exist is simply a move.
    EXPECT_TRUE(ReplaceByStepAside(fresh, dir / "NEW.DCU"));
    EXPECT_EQ(text(dir / "NEW.DCU"), "new");
}

TEST(WinServices, FoldersTimesAndDrives) {
    const SystemServices os;
    testing::ScratchDir dir;
    const std::string nested = dir.Path() + "\\a\\b\\c";
    EXPECT_TRUE(os.ForceDirectories(nested));
    EXPECT_TRUE(os.DirectoryExists(nested));
    EXPECT_FALSE(os.FileExists(nested));
    EXPECT_FALSE(os.FileTimeStamp(nested + "\\none.txt").has_value());
    EXPECT_EQ(os.DriveType("C:\\"), TDriveType::dtFixed);
    const std::string before = os.GetCurrentDir();
    EXPECT_TRUE(os.SetCurrentDir(nested));
    EXPECT_TRUE(os.SetCurrentDir(before));
}

}  // namespace
}  // namespace pelorin
