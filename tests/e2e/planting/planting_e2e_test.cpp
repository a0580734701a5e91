// Planted libraries under Wine: a marker library is copied beside each shipped program and into
// its current folder under the names of the libraries it uses, Wine is told to prefer such
// copies as Windows does, and each program walks its normal path without loading one.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "tests/e2e/driver/Driver.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/WizardWalk.h"
#include "tests/e2e/update/UpdateWizard.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-pack/Packer.h"

namespace pelorin::e2e {
namespace {

// The libraries outside the static imports that the programs use, and those that the
// system's own libraries load for them while they run (read from Wine's load trace).
const std::vector<std::string> kPlantedNames = {
    "version", "comctl32", "comdlg32", "riched20", "riched32", "msftedit",
    "uxtheme", "usp10",    "msimg32",  "winmm",    "msvfw32",  "msacm32",
};

// Libraries that Wine's own system libraries import where Windows' do not (Wine's user32 imports
// version.dll): a copy planted under such a name is loaded by Wine before the program's first
// instruction, whatever the program does.
const std::vector<std::string> kWineOwnImports = {"version.dll"};

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The libraries that the program's import table names, in lower case.
std::vector<std::string> ImportsOf(const std::string& program) {
    const std::vector<std::uint8_t> image = ReadBytes(program);
    const auto at = [&](std::size_t offset) { return image.data() + offset; };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(at(static_cast<std::size_t>(dos->e_lfanew)));
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    const auto fileOffset = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };
    std::vector<std::string> names;
    const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(fileOffset(table))); entry->Name;
         ++entry)
        names.push_back(LowerCase(reinterpret_cast<const char*>(at(fileOffset(entry->Name)))));
    return names;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string MarkerLibrary() { return BinaryDir() + "\\tests\\testdlls\\marker.dll"; }

// Wine told to prefer the planted copies, as Windows does for every library that is not on its
// KnownDLLs list: HKCU\Software\Wine\AppDefaults\<program>\DllOverrides, which only programs
// of that file name read when they start (the same setting as WINEDLLOVERRIDES, scoped so that
// the test itself and Wine's services keep their own libraries). Removed at the end.
class PreferPlantedCopies {
public:
    explicit PreferPlantedCopies(const std::string& program)
        : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides") {
        KeyHandle key;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                              nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot set the library overrides of " + program);
        static const char kNativeFirst[] = "native,builtin";
        for (const std::string& name : kPlantedNames)
            ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                             sizeof kNativeFirst);
    }
    ~PreferPlantedCopies() { ::SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    PreferPlantedCopies(const PreferPlantedCopies&) = delete;
    PreferPlantedCopies& operator=(const PreferPlantedCopies&) = delete;

private:
    std::string key_;
};

class Planting : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& folder : {markers_, cwd_}) ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
        PlantIn(cwd_);
        markerFolder_.emplace("PELORIN_PLANT_MARKERS", markers_.c_str());
    }

    // A walk that stops early leaves its findings unchecked: every planted copy loaded so far
    // is listed, which tells what took a program down.
    void TearDown() override {
        if (!HasFailure()) return;
        for (const std::string& marker : Loaded()) std::cout << "planted copy loaded: " << marker << "\n";
    }

    void PlantIn(const std::string& folder) {
        for (const std::string& name : kPlantedNames) CopyFileOrFail(MarkerLibrary(), folder + "\\" + name + ".dll");
    }

    // A copy of the program in a folder of its own, with the markers beside it.
    std::string Planted(const std::string& program, const std::string& folderName) {
        const std::string folder = work_ / folderName;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        const std::string copy = folder + "\\" + program.substr(program.find_last_of('\\') + 1);
        CopyFileOrFail(program, copy);
        PlantIn(folder);
        return copy;
    }

    // "<library> in <program> (static|run time).loaded" for every planted copy that was loaded.
    std::vector<std::string> Loaded() const { return testing::ListFolder(markers_); }

    // The planted copies that program loaded because of what it does: every load at run time,
    // and every load for a static import of its own. A copy that Wine's own system libraries
    // import is loaded at start whatever the program does, and is not counted.
    std::vector<std::string> Findings(const std::string& program) const {
        const std::vector<std::string> imports = ImportsOf(program);
        const std::string by = " in " + LowerCase(program.substr(program.find_last_of('\\') + 1)) + " (";
        std::vector<std::string> findings;
        for (const std::string& marker : Loaded()) {
            if (LowerCase(marker).find(by) == std::string::npos) continue;
            const std::string library = LowerCase(marker.substr(0, marker.find(' ')));
            const bool atStart = marker.find(" (static)") != std::string::npos;
            if (atStart && !Contains(imports, library) && Contains(kWineOwnImports, library)) continue;
            findings.push_back(marker);
        }
        return findings;
    }

    ScratchDir work_{"pelorin-planting"};
    const std::string markers_ = work_ / "markers";
    const std::string cwd_ = work_ / "cwd";
    std::optional<EnvOverride> markerFolder_;
    const PreferPlantedCopies control_{"planting-control.exe"};
    const PreferPlantedCopies setup_{"pelorin.exe"};
    const PreferPlantedCopies uninstaller_{"FERROW.EXE"};
    const PreferPlantedCopies update_{"tzarnix-update.exe"};
};

TEST_F(Planting, TheControlProgramLoadsTheCopyBesideIt) {
    // Proves that the planted copies are seen and that a load leaves its marker.
    const std::string control = Planted(ProgramPath("planting-control.exe"), "control");
    RunningProgram running(Quote(control), cwd_);
    ASSERT_TRUE(running.waitForExit(30).has_value());
    EXPECT_EQ(Findings(control), std::vector<std::string>{"VERSION.dll in planting-control.exe (static).loaded"});
}

// Presses Browse... on the page, waits for the dialog of that caption ("" for any dialog) and
// closes it with Cancel.
void BrowseAndCancel(DWORD pid, HWND page, const std::string& dialogCaption) {
    ASSERT_TRUE(driver::PressButton(driver::FindControl(page, "Browse...")));
    const driver::WindowQuery query{pid, dialogCaption, dialogCaption.empty() ? "#32770" : "", true};
    const HWND dialog = driver::WaitForWindow(query, 30);
    ASSERT_NE(dialog, nullptr) << "no dialog " << dialogCaption;
    ASSERT_TRUE(driver::PressButton(driver::FindControl(dialog, "Cancel")));
    ASSERT_TRUE(driver::WaitForNoWindow(query, 20));
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

TEST_F(Planting, SetupAndItsUninstallerLoadNoPlantedLibrary) {
    // A package whose file has a version block, installed over an older copy of itself, so the
    // version rules read the existing file's version.
    const std::string source = work_ / "source";
    ::CreateDirectoryA(source.c_str(), nullptr);
    CopyFileOrFail(ProgramPath("FERROW.exe"), source + "\\tool.exe");
    const std::string app = "C:\\Pelorin Planting";
    RemoveTree(app);
    testing::WriteText(source + "\\p.pelproj",
                       "[Setup]\r\nAppName = Pelorin Planting\r\nAppVerName = Pelorin Planting 1.0\r\n"
                       "DefaultDirName = " +
                           app +
                           "\r\nDefaultGroupName = Pelorin Planting\r\nCreateUninstall = yes\r\n"
                           "[File]\r\nSource = tool.exe\r\nDestName = {app}\\tool.exe\r\n");
    const std::string dist = work_ / "dist";
    const ToolResult built =
        RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(source + "\\p.pelproj") + " -o " + Quote(dist));
    ASSERT_EQ(built.exitCode, 0u) << built.output;
    PlantIn(dist);
    ASSERT_TRUE(::CreateDirectoryA(app.c_str(), nullptr));
    CopyFileOrFail(ProgramPath("FERROW.exe"), app + "\\tool.exe");

    {
        RunningProgram setup(Quote(dist + "\\pelorin.exe"), cwd_);
        const DWORD pid = setup.pid();
        ASSERT_EQ(PressOnPage(pid, "Welcome", "Next >"), "");
        ASSERT_EQ(PressOnPage(pid, "License Agreement", "Yes"), "");
        const HWND directory = WaitForPage(pid, "Destination Directory");
        ASSERT_NE(directory, nullptr);
        BrowseAndCancel(pid, directory, "");
        // The folder is typed back: a cancelled browse leaves whatever the browser last held.
        HWND dirEdit = nullptr;
        for (const driver::ControlInfo& control : driver::ListControls(directory))
            if (control.visible && control.className == "Edit") dirEdit = control.handle;
        ASSERT_TRUE(driver::SetText(dirEdit, app));
        ASSERT_EQ(PressOnPage(pid, "Destination Directory", "Next >"), "");
        // The folder of the older copy exists already: install there anyway.
        for (int i = 0; i < 40 && !WaitForPage(pid, "Program Icons", 0.25); ++i) {
            const HWND exists = driver::WaitForWindow({pid, "Directory Exists", "#32770", true}, 0.25);
            if (exists) driver::PressButton(driver::FindControl(exists, "Yes"));
        }
        const HWND icons = WaitForPage(pid, "Program Icons");
        ASSERT_NE(icons, nullptr);
        BrowseAndCancel(pid, icons, "Browse Groups");
        ASSERT_EQ(PressOnPage(pid, "Program Icons", "Next >"), "");
        ASSERT_EQ(PressOnPage(pid, "Ready", "Install"), "");
        ASSERT_EQ(FinishWizard(pid), "");
        for (const auto& box : AnswerBoxesUntilExit(setup, "OK", 60))
            ADD_FAILURE() << "setup showed \"" << box.caption << "\": " << box.text;
        EXPECT_EQ(setup.waitForExit(30), std::optional<DWORD>(0));
    }
    EXPECT_EQ(Findings(dist + "\\pelorin.exe"), std::vector<std::string>{});

    // The uninstall entry's command, with the uninstaller planted in a folder of its own.
    char command[1024] = {};
    DWORD size = sizeof command;
    ASSERT_EQ(::RegGetValueA(HKEY_LOCAL_MACHINE,
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelorin Planting 1.0_is1",
                             "UninstallString", RRF_RT_REG_SZ, nullptr, command, &size),
              ERROR_SUCCESS);
    const std::string entry = command;
    const std::size_t programEnd = entry.find('"', 1);
    ASSERT_NE(programEnd, std::string::npos) << entry;
    const std::string ferrow = Planted(WindowsFolder() + "\\FERROW.EXE", "uninstaller");
    RunningProgram uninstall(Quote(ferrow) + entry.substr(programEnd + 1), cwd_);
    // Yes to its questions (the removal, the shared files), OK to its reports.
    std::vector<driver::MessageBoxInfo> boxes;
    while (uninstall.running()) {
        const HWND box = driver::WaitForWindow({uninstall.pid(), "", "#32770", true}, 0.5);
        if (!box) continue;
        const driver::MessageBoxInfo info = driver::ReadMessageBox(box);
        boxes.push_back(info);
        driver::PressButton(driver::FindControl(box, info.buttons.size() == 2 ? "Yes" : "OK"));
        driver::WaitForNoWindow({uninstall.pid(), "", "#32770", true}, 10);
        ASSERT_LT(boxes.size(), 10u) << "the uninstaller keeps asking";
    }
    // The older copy was there before the installation, so the folder stays, and is reported.
    EXPECT_EQ(uninstall.waitForExit(30), std::optional<DWORD>(1603)) << entry;
    EXPECT_FALSE(testing::FileExists(app + "\\REMOVE.LOG")) << "the uninstall did not run";
    EXPECT_EQ(Findings(ferrow), std::vector<std::string>{});
    RemoveTree(app);
}

TEST_F(Planting, TheUpdateWizardLoadsNoPlantedLibrary) {
    const std::string main = work_ / "TZarnix";
    ASSERT_TRUE(::CreateDirectoryA(main.c_str(), nullptr));
    DeleteProductKey();
    SetProductValue("Version", "1.1");
    SetProductValue("Path", main);
    const std::string folder = work_ / "update";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string program = folder + "\\tzarnix-update.exe";
    Pack(ProgramPath("update.exe"), SampleArchive(), program);
    PlantIn(folder);

    UpdateWizard wizard(program);
    ASSERT_NO_FATAL_FAILURE(wizard.WalkToFolders());
    // The folder browser of the "..." buttons, cancelled.
    ASSERT_TRUE(driver::PressButton(driver::FindControl(wizard.Form(), "...")));
    const HWND browser = driver::WaitForWindow({wizard.Pid(), "", "#32770", true}, 30);
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(driver::PressButton(driver::FindControl(browser, "Cancel")));
    ASSERT_TRUE(driver::WaitForNoWindow({wizard.Pid(), "", "#32770", true}, 20));
    wizard.Press("Next >");
    wizard.Answer("Yes");  // no units yet: update anyway
    ASSERT_TRUE(wizard.WaitForPage(3));
    wizard.Press("Update");
    ASSERT_TRUE(wizard.WaitForPage(5, 60));
    EXPECT_EQ(ProductValue("Pro"), "1");
    EXPECT_TRUE(testing::FileExists(main + "\\Tzxpro.hlp"));
    DeleteProductKey();
    EXPECT_EQ(Findings(program), std::vector<std::string>{});
}

}  // namespace
}  // namespace pelorin::e2e
