// Folder, file, environment and temporary-name services against the real file
// system under Wine.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "core/Exception.h"
#include "setup/CmnFunc.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"

namespace pelorin {
namespace {

using e2e::EnvOverride;
using testing::ScratchDir;

void Touch(const std::string& path) { testing::WriteBytes(path, {}); }

TEST(DirExists, FoldersFilesRootsAndTrailingBackslashes) {
    const ScratchDir dir;
    Touch(dir / "file.txt");
    EXPECT_TRUE(DirExists(dir.Path()));
    EXPECT_TRUE(DirExists(dir.Path() + "\\"));
    EXPECT_FALSE(DirExists(dir / "file.txt"));
    EXPECT_FALSE(DirExists(dir / "missing"));
    EXPECT_TRUE(DirExists("C:\\"));
    EXPECT_TRUE(DirExistsPlain(dir.Path()));
    EXPECT_FALSE(DirExistsPlain(dir / "file.txt"));
}

TEST(DirExists, AMissingDriveIsQuietAndTheErrorModeComesBack) {
    const UINT original = ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_FALSE(DirExists("Q:\\"));
    EXPECT_FALSE(DirExists("Q:\\folder\\"));
    EXPECT_EQ(::SetErrorMode(original), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
}

TEST(ForceDirectories, CreatesEveryMissingParentAndKeepsQuietOnFailure) {
    const ScratchDir dir;
    ForceDirectories(dir / "a\\b\\c\\");
    EXPECT_TRUE(DirExistsPlain(dir / "a"));
    EXPECT_TRUE(DirExistsPlain(dir / "a\\b\\c"));

    Touch(dir / "file");
    ForceDirectories(dir / "file\\sub");  // a file stands in the way: nothing is raised
    EXPECT_FALSE(DirExistsPlain(dir / "file\\sub"));

    ForceDirectories("relative");  // no parent to walk up to; ends without creating above it
    ForceDirectories("");
    ForceDirectories("C:");
    ::RemoveDirectoryA("relative");
}

TEST(GetShortName, ExistingPathsShortenOthersStayAsTheyAre) {
    const ScratchDir dir;
    const std::string longName = dir / "A Folder With A Long Name";
    ASSERT_TRUE(::CreateDirectoryA(longName.c_str(), nullptr));
    const std::string shortName = GetShortName(longName);
    EXPECT_EQ(shortName.find(' '), std::string::npos) << shortName;
    EXPECT_TRUE(DirExistsPlain(shortName));

    const std::string missing = dir / "Not There At All\\file name.txt";
    EXPECT_EQ(GetShortName(missing), missing);
}

TEST(SetIniString, WritesPrivateFilesAndWinIni) {
    const ScratchDir dir;
    const std::string ini = dir / "test.ini";
    EXPECT_TRUE(SetIniString("Settings", "DataDir", "C:\\Data", ini));
    char buffer[64] = {};
    ::GetPrivateProfileStringA("Settings", "DataDir", "", buffer, sizeof buffer, ini.c_str());
    EXPECT_STREQ(buffer, "C:\\Data");

    EXPECT_TRUE(SetIniString("Pelorin Test Section", "Key", "Value", ""));
    ::GetProfileStringA("Pelorin Test Section", "Key", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Value");
    ::WriteProfileStringA("Pelorin Test Section", nullptr, nullptr);

    EXPECT_FALSE(SetIniString("Settings", "Key", "Value", dir / "missing folder\\test.ini"));
}

TEST(MakeUniqueTempName, FormatAndFolder) {
    const ScratchDir dir;
    const std::regex format(R"(zp[0-9A-F]{6}\.tmp)");
    for (const std::string& folder : {dir.Path(), dir.Path() + "\\"}) {
        const std::string name = MakeUniqueTempName(folder);
        ASSERT_EQ(name.rfind(dir.Path() + "\\", 0), 0u) << name;
        EXPECT_TRUE(std::regex_match(name.substr(dir.Path().size() + 1), format)) << name;
        EXPECT_FALSE(PathExists(name));  // chosen, not created
    }
}

TEST(MakeUniqueTempName, CountsUpWrapsAndSkipsTakenNames) {
    const auto none = [](const std::string&) { return false; };
    EXPECT_EQ(MakeUniqueTempName("C:\\t", 0x41, none), "C:\\t\\zp000042.tmp");
    EXPECT_EQ(MakeUniqueTempName("C:\\t", 0xABCDE, none), "C:\\t\\zp0ABCDF.tmp");
    EXPECT_EQ(MakeUniqueTempName("C:\\t", 0xFFFFFF, none), "C:\\t\\zp000000.tmp");

    const std::set<std::string> taken = {"C:\\t\\zp000001.tmp", "C:\\t\\zp000002.tmp"};
    EXPECT_EQ(MakeUniqueTempName("C:\\t", 0, [&](const std::string& n) { return taken.count(n) != 0; }),
              "C:\\t\\zp000003.tmp");

    // Real files count as taken, folders too.
    const ScratchDir dir;
    Touch(dir / "zp000011.tmp");
    ASSERT_TRUE(::CreateDirectoryA((dir / "zp000012.tmp").c_str(), nullptr));
    EXPECT_EQ(MakeUniqueTempName(dir.Path(), 0x10, PathExists), dir / "zp000013.tmp");
}

TEST(CreateUniqueTempFile, CreatesTheFirstFreeNameAndLeavesTakenOnesAlone) {
    const ScratchDir dir;
    testing::WriteBytes(dir / "zp000011.tmp", {'k', 'e', 'e', 'p'});
    ASSERT_TRUE(::CreateDirectoryA((dir / "zp000012.tmp").c_str(), nullptr));
    UniqueTempFile created = CreateUniqueTempFile(dir.Path(), 0x10);
    EXPECT_EQ(created.Name, dir / "zp000013.tmp");
    ASSERT_TRUE(created.File);
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(created.File.get(), "abc", 3, &written, nullptr));
    created.File.reset();
    EXPECT_EQ(testing::ReadBytes(created.Name).size(), 3u);
    EXPECT_EQ(testing::ReadBytes(dir / "zp000011.tmp").size(), 4u);  // a taken name is never opened for writing
    EXPECT_TRUE(DirExists(dir / "zp000012.tmp"));

    // Any other refusal is the system's own message, and nothing is left.
    try {
        CreateUniqueTempFile(dir / "missing", 0x10);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.what(), SysErrorMessage(ERROR_PATH_NOT_FOUND));
    }
    EXPECT_FALSE(PathExists(dir / "missing"));
}

TEST(MakeUniqueTempName, RaisesWhenEveryOtherNameIsTaken) {
    std::uint32_t asked = 0;
    bool startTried = false;
    try {
        MakeUniqueTempName("C:\\t", 0x123456, [&](const std::string& n) {
            ++asked;
            startTried = startTried || n == "C:\\t\\zp123456.tmp";
            return true;
        });
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(),
                     "Unable to create a file in the destination directory because it contains too many files");
    }
    EXPECT_EQ(asked, 0xFFFFFFu);
    EXPECT_FALSE(startTried);
}

TEST(GetTempFileNameIn, CreatesAnEmptyFileOrReportsNothing) {
    const ScratchDir dir;
    const std::string name = GetTempFileNameIn(dir.Path(), "zel");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.rfind(dir / "zel", 0), 0u) << name;
    EXPECT_TRUE(PathExists(name));
    EXPECT_EQ(testing::ReadBytes(name).size(), 0u);

    EXPECT_EQ(GetTempFileNameIn(dir / "missing", "zel"), "");
}

TEST(GetTempDir, TmpThenTempThenTheWindowsFolder) {
    const ScratchDir tmp("pelorin-tmp");
    const ScratchDir temp("pelorin-temp");
    {
        const EnvOverride a("TMP", tmp.Path().c_str());
        const EnvOverride b("TEMP", temp.Path().c_str());
        EXPECT_EQ(GetTempDir(), tmp.Path() + "\\");
    }
    {
        const EnvOverride a("TMP", (tmp / "missing").c_str());
        const EnvOverride b("TEMP", temp.Path().c_str());
        EXPECT_EQ(GetTempDir(), temp.Path() + "\\");
    }
    {
        const EnvOverride a("TMP", (tmp / "missing").c_str());
        const EnvOverride b("TEMP", nullptr);
        EXPECT_EQ(GetTempDir(), GetWinDir() + "\\");
    }
    {
        // A relative folder comes back as a full path.
        char current[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, current);
        ::SetCurrentDirectoryA(tmp.Path().c_str());
        ASSERT_TRUE(::CreateDirectoryA("sub", nullptr));
        const EnvOverride a("TMP", "sub");
        EXPECT_EQ(GetTempDir(), tmp / "sub\\");
        ::SetCurrentDirectoryA(current);
    }
}

TEST(GetEnv, UnsetShortAndLongValues) {
    const std::string longValue(3000, 'x');
    const EnvOverride unset("PELORIN_TEST_UNSET", nullptr);
    const EnvOverride shortOne("PELORIN_TEST_SHORT", "abc");
    const EnvOverride longOne("PELORIN_TEST_LONG", longValue.c_str());
    EXPECT_EQ(GetEnv("PELORIN_TEST_UNSET"), "");
    EXPECT_EQ(GetEnv("PELORIN_TEST_SHORT"), "abc");
    EXPECT_EQ(GetEnv("PELORIN_TEST_LONG"), longValue);
}

}  // namespace
}  // namespace pelorin
