// A package's whole life under Wine: pelorin-build.exe builds it (with FERROW.EXE),
// pelorin.exe installs it, FERROW.EXE removes it through the uninstall entry's command,
// and the registry and drive C: are compared before and after.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "platform/win/Handles.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/roundtrip/BoxScript.h"
#include "tests/e2e/roundtrip/MachineSnapshot.h"

namespace pelorin::e2e {
namespace {

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kSharedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

std::string WindowsDir()
{
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

std::string ProgramFilesDir()
{
    char dir[MAX_PATH] = {};
    DWORD size = sizeof dir;
    ::RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                   RRF_RT_REG_SZ, nullptr, dir, &size);
    return dir;
}

std::string LongPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = ::GetLongPathNameA(path.c_str(), full, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
                                       CSTR_EQUAL;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

std::optional<std::string> RegString(HKEY root, const std::string& key, const char* name)
{
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> RegNumber(HKEY root, const std::string& key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// The strings of a multi-string value, joined with "|".
std::string RegMultiString(HKEY root, const std::string& key, const char* name)
{
    std::vector<char> data(65536);
    DWORD size = static_cast<DWORD>(data.size());
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return std::string();
    std::string joined(data.data(), size);
    std::replace(joined.begin(), joined.end(), '\0', '|');
    return joined;
}

struct LinkTarget {
    std::string path;
    std::string arguments;
};

std::optional<LinkTarget> ReadLink(const std::string& link)
{
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return std::nullopt;
    std::optional<LinkTarget> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = {};
        char arguments[1024] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
            SUCCEEDED(shellLink->GetArguments(arguments, sizeof arguments)))
            result = LinkTarget{path, arguments};
        file->Release();
    }
    shellLink->Release();
    return result;
}

std::string ProgramsFolder(int csidl)
{
    char dir[MAX_PATH] = {};
    return ::SHGetSpecialFolderPathA(nullptr, dir, csidl, FALSE) ? std::string(dir) : std::string();
}

// One product of the round trip: its project, its distribution and where it lands.
struct Product {
    std::string name;  // AppName, DefaultDirName and DefaultGroupName
    std::string appDir;
    std::string dist;

    std::string verName() const { return name + " 1.0"; }
    std::string uninstallKey() const { return std::string(kUninstallKey) + "\\" + verName() + "_is1"; }
    std::string registryKey() const { return "Software\\Pelorin " + name; }
};

std::string ProjectText(const std::string& name)
{
    return "[Setup]\r\nAppName = " + name + "\r\nAppVerName = " + name + " 1.0\r\nDefaultDirName = " + name +
           "\r\nDefaultGroupName = " + name +
           "\r\nCreateUninstall = yes\r\n"
           "[Dir]\r\nDirName = {app}\\Docs\r\n"
           "[Dir]\r\nDirName = {app}\\Logs\r\n"
           "[File]\r\nSource = app.exe\r\nDestName = {app}\\app.exe\r\n"
           "[File]\r\nSource = readme.txt\r\nDestName = {app}\\Docs\\readme.txt\r\n"
           "[Icon]\r\nIconName = " + name + " App\r\nFilename = {app}\\app.exe\r\nWorkingDir = {app}\r\n"
           "[Ini]\r\nIniFile = {win}\\" + name + ".ini\r\nSection = Settings\r\nKey = Path\r\nValue = {app}\r\n"
           "Flags = uninstall-delete-section\r\n"
           "[Registry]\r\nRootKey = HKCU\r\nSubKey = Software\\Pelorin " + name + "\r\nFlags = uninstall-delete-key\r\n"
           "[Registry]\r\nRootKey = HKCU\r\nSubKey = Software\\Pelorin " + name + "\\Settings\r\n"
           "ValueType = string\r\nValueName = Path\r\nValueData = {app}\r\nFlags = uninstall-delete-value\r\n"
           "[UninstallDelete]\r\nFileName = {app}\\Logs\\run.log\r\n";
}

// Builds the product's distribution in work\<name> with the Windows build of the tool,
// which takes FERROW.EXE from its own folder.
Product BuildProduct(const ScratchDir& work, const std::string& name)
{
    Product product;
    product.name = name;
    product.appDir = ProgramFilesDir() + "\\" + name;
    const std::string folder = work / name;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "\\app.exe", Bytes("the application of " + name));
    WriteFileBytes(folder + "\\readme.txt", Bytes("Read me.\r\n"));
    WriteFileBytes(folder + "\\p.pelproj", Bytes(ProjectText(name)));
    product.dist = folder + "\\dist";
    const ToolResult built =
        RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(folder + "\\p.pelproj") + " -o " +
                Quote(product.dist));
    EXPECT_EQ(built.exitCode, 0u) << built.output;
    EXPECT_NE(built.output.find("uninstaller from"), std::string::npos) << built.output;
    return product;
}

// The setup program without the wizard: it installs with the description's defaults.
void Install(const Product& product, const std::string& temp)
{
    const EnvOverride tmp("TMP", temp.c_str());
    RunningProgram setup(Quote(product.dist + "\\pelorin.exe"), product.dist);
    const auto boxes = AnswerBoxes(setup, [](const driver::MessageBoxInfo&) { return std::string("OK"); }, 120);
    for (const auto& box : boxes) ADD_FAILURE() << "setup showed \"" << box.caption << "\": " << box.text;
    EXPECT_EQ(setup.waitForExit(30), std::optional<DWORD>(0));
}

// Runs the uninstall entry's own command and answers Yes to its questions.
std::vector<driver::MessageBoxInfo> Uninstall(const Product& product, DWORD expectedExit = 0)
{
    const auto command = RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "UninstallString");
    if (!command) {
        ADD_FAILURE() << "no uninstall entry for " << product.name;
        return {};
    }
    RunningProgram ferrow(*command, WindowsDir());
    const auto boxes = AnswerBoxes(
        ferrow,
        [](const driver::MessageBoxInfo& box) {
            return std::string(box.buttons.size() == 2 ? "Yes" : "OK");
        },
        120);
    EXPECT_EQ(ferrow.waitForExit(30), std::optional<DWORD>(expectedExit));
    return boxes;
}

std::string SharedBoxText(const std::string& path)
{
    return "Ferrow Wizard has found that the following shared file is no longer in use by any programs. Would you "
           "like to remove this shared file?\r\n\r\n" +
           path +
           "\r\n\r\nIf any programs are still using this file and it is removed, those programs may not function "
           "properly. If you are unsure, choose No. Leaving the file on your system will not cause any harm.";
}

// What an earlier run in this prefix may have left: the uninstaller whose removal waits
// for a restart that never comes under Wine, and its counter.
void ForgetEarlierUninstaller()
{
    const std::string ferrow = WindowsDir() + "\\FERROW.EXE";
    ::DeleteFileA(ferrow.c_str());
    KeyHandle shared;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_SET_VALUE, shared.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(shared.get(), ferrow.c_str());
}

Snapshot TakeSnapshot(const std::vector<std::string>& skipFolders)
{
    Snapshot all = SnapshotRegistry({{HKEY_LOCAL_MACHINE, "HKLM", "Software"},
                                     {HKEY_CURRENT_USER, "HKCU", "Software"},
                                     {HKEY_LOCAL_MACHINE, "HKLM", kSessionManager}});
    for (auto& entry : SnapshotFiles("C:", skipFolders)) all.insert(std::move(entry));
    return all;
}

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        ForgetEarlierUninstaller();
        skip_ = {LongPath(work_.path()), LongPath(temp_.path())};
    }
    void TearDown() override { ::CoUninitialize(); }

    ScratchDir work_{"pelorin-roundtrip"};
    ScratchDir temp_{"pelorin-roundtrip-tmp"};
    std::vector<std::string> skip_;
    const std::string ferrow_ = WindowsDir() + "\\FERROW.EXE";
};

// Wine's own churn between two looks, kept as narrow as it was seen to be: the menu
// builder's record of the desktop entries it made for our links (it keeps the record
// after the links are gone) and the desktop's mouse settings.
const std::vector<std::string> kWineChurn = {
    "key HKCU\\Software\\Wine\\MenuFiles",
    "value HKCU\\Software\\Wine\\MenuFiles\\*",
    "key HKCU\\Software\\Wine\\Temporary System Parameters*",
    "value HKCU\\Software\\Wine\\Temporary System Parameters*",
};

TEST_F(RoundTrip, InstallThenUninstallLeavesOnlyTheSharedUninstallerForTheNextRestart)
{
    const Product product = BuildProduct(work_, "Round Trip");
    ASSERT_FALSE(Exists(product.appDir)) << "left by an earlier run: " << product.appDir;
    const Snapshot before = TakeSnapshot(skip_);

    Install(product, temp_.path());

    // Files, the uninstaller and its counter, the log.
    EXPECT_EQ(Text(ReadFileBytes(product.appDir + "\\app.exe")), "the application of Round Trip");
    EXPECT_EQ(Text(ReadFileBytes(product.appDir + "\\Docs\\readme.txt")), "Read me.\r\n");
    EXPECT_TRUE(Exists(product.appDir + "\\REMOVE.LOG"));
    EXPECT_EQ(ReadFileBytes(ferrow_), ReadFileBytes(ProgramPath("FERROW.exe")));
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
    WriteFileBytes(product.appDir + "\\Logs\\run.log", Bytes("ran once\r\n"));

    const auto boxes = Uninstall(product);
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

TEST_F(RoundTrip, TwoProductsShareOneUninstallerUntilTheLastIsRemoved)
{
    const Product first = BuildProduct(work_, "Share One");
    const Product second = BuildProduct(work_, "Share Two");
    Install(first, temp_.path());
    Install(second, temp_.path());
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(2));

    // The first removal only counts the uninstaller down: no shared-file question.
    const auto firstBoxes = Uninstall(first);
    ASSERT_EQ(firstBoxes.size(), 2u);
    EXPECT_EQ(firstBoxes[1].icon, "information") << firstBoxes[1].text;
    EXPECT_FALSE(Exists(first.appDir));
    EXPECT_TRUE(Exists(ferrow_));
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(1));
    EXPECT_TRUE(Exists(second.appDir + "\\app.exe"));

    const auto secondBoxes = Uninstall(second);
    ASSERT_EQ(secondBoxes.size(), 3u);
    EXPECT_EQ(secondBoxes[1].caption, "Shared file found");
    EXPECT_FALSE(Exists(second.appDir));
    EXPECT_FALSE(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()).has_value());
}

// Installing again before the restart that deletes the last uninstaller: the new copy
// must survive that restart and be counted once. Disabled while it fails: the earlier
// deletion stays queued (the restart would remove the fresh FERROW.EXE under the new
// uninstall entry), and the copy found on disk without a counter is counted as 2, so
// it is never released. Enable it once installing a file cancels its queued deletion.
TEST_F(RoundTrip, DISABLED_ReinstallBeforeTheRestartKeepsTheNewUninstaller)
{
    const Product product = BuildProduct(work_, "Again");
    Install(product, temp_.path());
    Uninstall(product);
    const std::string pending = "\\??\\" + ferrow_ + "||";
    ASSERT_NE(RegMultiString(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations").find(pending),
              std::string::npos);

    Install(product, temp_.path());
    EXPECT_TRUE(Exists(ferrow_));
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()), std::optional<DWORD>(1));
    EXPECT_EQ(RegMultiString(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations").find(pending),
              std::string::npos);
    Uninstall(product);
}

}  // namespace
}  // namespace pelorin::e2e
