// A package's whole life under Wine: pelorin-build.exe builds it (with FERROW.EXE),
// pelorin.exe installs it, FERROW.EXE removes it through the uninstall entry's command,
// and the registry and drive C: are compared before and after.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>

#include "platform/win/Handles.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/roundtrip/InstallSnapshot.h"
#include "tests/e2e/roundtrip/Product.h"
#include "tests/e2e/roundtrip/ProductLifeTest.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {
namespace {

std::string SharedBoxText(const std::string& path) {
    return "Ferrow Wizard has found that the following shared file is no longer in use by any programs. Would you "
           "like to remove this shared file?\r\n\r\n" +
           path +
           "\r\n\r\nIf any programs are still using this file and it is removed, those programs may not function "
           "properly. If you are unsure, choose No. Leaving the file on your system will not cause any harm.";
}

class RoundTrip : public ProductLifeTest {
protected:
    RoundTrip() : ProductLifeTest("pelorin-roundtrip") {}
    void SetUp() override {
        ::CoInitialize(nullptr);
        ForgetEarlierUninstaller();
    }
    void TearDown() override { ::CoUninitialize(); }

    // The uninstall entry removes the product (its own file waiting for the restart, which is
    // then carried out), with a closing report of nothing left, and the machine is as before.
    void ExpectRemovedWithNothingLeft(const Product& product, const Snapshot& before) {
        const auto boxes = Uninstall(product, 3010);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().icon, "information") << boxes.back().text;
        EXPECT_EQ(boxes.back().text.find("could not be removed"), std::string::npos) << boxes.back().text;
        RestartDeletions();
        const SnapshotDiff diff = Compare(before, TakeSnapshot(skip_));
        EXPECT_EQ(Without(diff.added, kWineChurn), std::vector<std::string>{});
        EXPECT_EQ(Without(diff.changed, kWineChurn), std::vector<std::string>{});
        EXPECT_EQ(Without(diff.removed, kWineChurn), std::vector<std::string>{});
    }
};

TEST_F(RoundTrip, InstallThenUninstallLeavesOnlyTheSharedUninstallerForTheNextRestart) {
    const Product product = BuildProduct(work_, "Round Trip");
    ASSERT_FALSE(Exists(product.appDir)) << "left by an earlier run: " << product.appDir;
    const Snapshot before = TakeSnapshot(skip_);

    Install(product, temp_.Path());

    // Files, the uninstaller and its counter, the log.
    EXPECT_EQ(Text(ReadBytes(product.appDir + "\\app.exe")), "the application of Round Trip");
    EXPECT_EQ(Text(ReadBytes(product.appDir + "\\Docs\\readme.txt")), "Read me.\r\n");
    EXPECT_TRUE(Exists(product.appDir + "\\REMOVE.LOG"));
    EXPECT_EQ(ReadBytes(ferrow_), ReadBytes(ProgramPath("FERROW.exe")));
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(1));
    // The uninstall entry and the settings.
    const std::string logArgument = "\"" + product.appDir + "\\REMOVE.LOG\" /U";
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "DisplayName"), product.verName());
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "UninstallString"),
              "\"" + ferrow_ + "\" " + logArgument);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, product.registryKey() + "\\Settings", "Path"), product.appDir);
    char ini[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Settings", "Path", "", ini, MAX_PATH, (WindowsDir() + "\\Round Trip.ini").c_str());
    EXPECT_EQ(std::string(ini), product.appDir);
    // The program group: the application and the "Remove" item.
    std::string group;
    for (const int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::string candidate = ProgramsFolder(csidl) + "\\Round Trip";
        if (group.empty() && Exists(candidate)) group = candidate;
    }
    ASSERT_FALSE(group.empty()) << "no program group";
    const auto appLink = ReadLink(group + "\\Round Trip App.lnk");
    ASSERT_TRUE(appLink.has_value());
    EXPECT_TRUE(equalsIgnoringCase(appLink->path, product.appDir + "\\app.exe")) << appLink->path;
    const auto removeLink = ReadLink(group + "\\Remove Round Trip.lnk");
    ASSERT_TRUE(removeLink.has_value());
    EXPECT_TRUE(equalsIgnoringCase(removeLink->path, ferrow_)) << removeLink->path;
    EXPECT_EQ(removeLink->arguments, logArgument);

    // The application writes its log, which the uninstaller is told to delete.
    WriteBytes(product.appDir + "\\Logs\\run.log", Bytes("ran once\r\n"));

    const auto boxes = Uninstall(product, 3010);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "Ferrow Wizard");
    EXPECT_EQ(boxes[0].text, "Are you sure you want to completely remove Round Trip and all of its components?");
    EXPECT_EQ(boxes[1].caption, "Shared file found");
    EXPECT_EQ(boxes[1].text, SharedBoxText(ferrow_));
    EXPECT_EQ(boxes[2].caption, "Ferrow Wizard");
    EXPECT_EQ(boxes[2].icon, "information") << boxes[2].text;

    const Snapshot after = TakeSnapshot(skip_);
    const SnapshotDiff diff = Compare(before, after);
    // What the removal rules leave: the running uninstaller, deleted at the next restart;
    // the counters' key, created for it; the INI file, emptied of its section.
    const std::vector<std::string> expected = {
        "file " + ferrow_,
        "value HKLM\\" + std::string(kSessionManager) + "\\PendingFileRenameOperations",
        "key HKLM\\" + std::string(kSharedKey),
        "file " + WindowsDir() + "\\Round Trip.ini",
    };
    std::vector<std::string> residue = Without(diff.added, kWineChurn);
    for (const std::string& entry : Without(diff.changed, kWineChurn)) residue.push_back(entry);
    for (const std::string& entry : residue) std::cout << "left: " << entry << " = " << after.at(entry) << "\n";
    EXPECT_EQ(Without(residue, expected), std::vector<std::string>{});
    EXPECT_EQ(Without(diff.removed, kWineChurn), std::vector<std::string>{});
    EXPECT_TRUE(Exists(ferrow_));
    EXPECT_FALSE(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()).has_value());
    // Queued as a deletion: the file's name followed by an empty target.
    EXPECT_NE(RegMultiString(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations")
                  .find("\\??\\" + ferrow_ + "||"),
              std::string::npos);
}

TEST_F(RoundTrip, TwoProductsShareOneUninstallerUntilTheLastIsRemoved) {
    const Product first = BuildProduct(work_, "Share One");
    const Product second = BuildProduct(work_, "Share Two");
    Install(first, temp_.Path());
    Install(second, temp_.Path());
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(2));

    // The first removal only counts the uninstaller down: no shared-file question.
    const auto firstBoxes = Uninstall(first);
    ASSERT_EQ(firstBoxes.size(), 2u);
    EXPECT_EQ(firstBoxes[1].icon, "information") << firstBoxes[1].text;
    EXPECT_FALSE(Exists(first.appDir));
    EXPECT_TRUE(Exists(ferrow_));
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(1));
    EXPECT_TRUE(Exists(second.appDir + "\\app.exe"));

    const auto secondBoxes = Uninstall(second, 3010);
    ASSERT_EQ(secondBoxes.size(), 3u);
    EXPECT_EQ(secondBoxes[1].caption, "Shared file found");
    EXPECT_FALSE(Exists(second.appDir));
    EXPECT_FALSE(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()).has_value());
}

// Installing again before the restart that deletes the last uninstaller: the new copy
// survives that restart (its queued deletion is called off) and is counted once, as a
// file that nobody else uses.
TEST_F(RoundTrip, ReinstallBeforeTheRestartKeepsTheNewUninstaller) {
    const Product product = BuildProduct(work_, "Again");
    Install(product, temp_.Path());
    Uninstall(product, 3010);
    const std::string pending = "\\??\\" + ferrow_ + "||";
    ASSERT_NE(RegMultiString(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations").find(pending),
              std::string::npos);

    Install(product, temp_.Path());
    EXPECT_TRUE(Exists(ferrow_));
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(1));
    EXPECT_EQ(RegMultiString(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations").find(pending),
              std::string::npos);
    Uninstall(product, 3010);
}

// Files in folders that no [Dir] names, one of them a folder tree: the tool records every
// folder on the way, so a very silent installation and the removal through the uninstall
// entry leave the machine as it was, without a folder behind or an error in the report.
TEST_F(RoundTrip, FoldersOfTheFilesComeAndGoWithTheProduct) {
    PrepareForSnapshot();
    const std::string records =
        "[File]\r\nSource = app.exe\r\nDestName = {app}\\bin\\tools\\app.exe\r\n"
        "[File]\r\nSource = pages\\*\r\nDestDir = {app}\\Help\r\nFlags = recurse\r\nExcludes = *.tmp\r\n"
        "[File]\r\nSource = pages\\index.txt\r\nDestName = {win}\\Folder Trip Help\\index.txt\r\n";
    const Product product = BuildProductFrom(work_, "Folder Trip", records,
                                             {{"app.exe", Bytes("the application")},
                                              {"pages\\index.txt", Bytes("index")},
                                              {"pages\\topics\\a.txt", Bytes("topic a")},
                                              {"pages\\topics\\deep\\b.txt", Bytes("topic b")},
                                              {"pages\\scratch.tmp", Bytes("left out")}});
    ASSERT_FALSE(Exists(product.appDir)) << "left by an earlier run: " << product.appDir;
    // The Windows build of the tool lists the tree and adds the folders as the native one does.
    const ToolResult dump =
        RunTool(Quote(ProgramPath("pelorin-build.exe")) + " --dump " + Quote(product.dist + "\\PELORIN.DLL"));
    std::vector<std::string> dirs;
    std::istringstream lines(dump.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  DirName ", 0) != 0) continue;
        dirs.push_back(line.substr(line.find('"') + 1, line.rfind('"') - line.find('"') - 1));
    }
    EXPECT_EQ(dirs, (std::vector<std::string>{"{app}\\bin", "{app}\\bin\\tools", "{app}\\Help", "{app}\\Help\\topics",
                                              "{app}\\Help\\topics\\deep", "{win}\\Folder Trip Help"}))
        << dump.output;
    const Snapshot before = TakeSnapshot(skip_);

    {
        const EnvOverride tmp("TMP", temp_.Path().c_str());
        RunningProgram setup(Quote(product.dist + "\\pelorin.exe") + " /VERYSILENT", product.dist);
        EXPECT_EQ(setup.waitForExit(120), std::optional<DWORD>(0));
    }
    EXPECT_EQ(Text(ReadBytes(product.appDir + "\\bin\\tools\\app.exe")), "the application");
    EXPECT_EQ(Text(ReadBytes(product.appDir + "\\Help\\topics\\deep\\b.txt")), "topic b");
    EXPECT_EQ(Text(ReadBytes(WindowsDir() + "\\Folder Trip Help\\index.txt")), "index");
    EXPECT_FALSE(Exists(product.appDir + "\\Help\\scratch.tmp"));
    ExpectRemovedWithNothingLeft(product, before);
}

// The files below root, as paths relative to it ("Plugins\amd64-unicode\x.dll").
void CollectFiles(const std::string& root, const std::string& relative, std::vector<std::string>& files) {
    for (const std::string& name : testing::ListFolder(relative.empty() ? root : root + "\\" + relative)) {
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (::GetFileAttributesA((root + "\\" + path).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(root, path, files);
        else
            files.push_back(path);
    }
}

// A real tree of Windows files that no one here wrote (the peer installer builder's stubs,
// plugins, headers and examples), packaged with one recurse block, installed byte for byte and
// removed with nothing left.
TEST_F(RoundTrip, ARealTreeOfWindowsFilesInOneBlockComesAndGoesWhole) {
    const std::string tree = "Z:\\usr\\share\\nsis";
    if (!Exists(tree)) GTEST_SKIP() << "no " << tree << " (Debian's nsis package)";
    std::vector<std::string> files;
    CollectFiles(tree, "", files);
    ASSERT_GT(files.size(), 100u);
    PrepareForSnapshot();
    const Product product = BuildProductFrom(
        work_, "Real Payload", "[File]\r\nSource = " + tree + "\\*\r\nDestDir = {app}\r\nFlags = recurse\r\n", {});
    ASSERT_FALSE(Exists(product.appDir)) << "left by an earlier run: " << product.appDir;
    const Snapshot before = TakeSnapshot(skip_);
    {
        const EnvOverride tmp("TMP", temp_.Path().c_str());
        RunningProgram setup(Quote(product.dist + "\\pelorin.exe") + " /VERYSILENT", product.dist);
        ASSERT_EQ(setup.waitForExit(300), std::optional<DWORD>(0));
    }
    std::size_t same = 0;
    for (const std::string& file : files)
        if (ReadBytes(product.appDir + "\\" + file) == ReadBytes(tree + "\\" + file))
            ++same;
        else
            ADD_FAILURE() << "installed differently: " << file;
    std::cout << same << " of " << files.size() << " files installed byte for byte\n";
    ExpectRemovedWithNothingLeft(product, before);
}

}  // namespace
}  // namespace pelorin::e2e
