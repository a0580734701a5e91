// update.exe end to end under Wine, packed by the real packer from the sample archive: the
// version and folder checks with their boxes, the summary, the run landing every group with
// progress and the registry mark, closing on every page, the help file, the failures, and a
// signed update program whose run lands every file as the host's unzip extracts it.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "tests/core/unzip/ZipBuilder.h"
#include "tests/e2e/signing/WineSigner.h"
#include "tests/e2e/update/UpdateWizard.h"
#include "tools/pelorin-pack/Packer.h"
#include "ui/Graphics.h"
#include "update/AppendedArchive.h"
#include "update/ufup.h"

namespace pelorin::e2e {
namespace {

const char* const kExitQuestion = "Are you sure you want to exit this wizard without updating TZarnix?";

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
std::string TextOf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Help files open with update-help-recorder.exe while this object lives; the earlier
// handler of .hlp comes back afterwards.
class HelpHandler {
public:
    HelpHandler() {
        char old[256] = {};
        LONG size = sizeof old;
        if (::RegQueryValueA(HKEY_CLASSES_ROOT, ".hlp", old, &size) == ERROR_SUCCESS) old_ = old;
        const std::string command = Quote(ProgramPath("update-help-recorder.exe")) + " \"%1\"";
        ::RegSetValueA(HKEY_CLASSES_ROOT, ".hlp", REG_SZ, kClass, 0);
        ::RegSetValueA(HKEY_CLASSES_ROOT, "PelorinTestHelp\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    }
    ~HelpHandler() {
        ::SHDeleteKeyA(HKEY_CLASSES_ROOT, kClass);
        if (old_.empty()) {
            ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ".hlp");
        } else {
            ::RegSetValueA(HKEY_CLASSES_ROOT, ".hlp", REG_SZ, old_.c_str(), 0);
        }
    }
    HelpHandler(const HelpHandler&) = delete;
    HelpHandler& operator=(const HelpHandler&) = delete;

private:
    static constexpr const char* kClass = "PelorinTestHelp";
    std::string old_;
};

class UpdateE2E : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteProductKey();
        main_ = work_ / "TZarnix";
        ::CreateDirectoryA(main_.c_str(), nullptr);
        program_ = work_ / "tzarnix-update.exe";
        Pack(ProgramPath("update.exe"), SampleArchive(), program_);
    }
    void TearDown() override { DeleteProductKey(); }

    // An installed 1.1 product in main_, with or without its old units.
    void Installed(bool withUnits) {
        SetProductValue("Version", "1.1");
        SetProductValue("Path", main_);
        if (!withUnits) return;
        for (const char* folder : {"\\Delphi 2", "\\Delphi 3"}) {
            ::CreateDirectoryA((main_ + folder).c_str(), nullptr);
            WriteBytes(main_ + folder + "\\KZarnix.dcu", {'o', 'l', 'd'});
        }
    }

    // From the welcome page through the summary and the run to the last page, without a box
    // and with the product marked as updated.
    void RunUpdate(UpdateWizard& wizard) {
        wizard.WalkToSummary();
        wizard.Press("Update");
        ASSERT_TRUE(wizard.WaitForPage(5, 60));
        EXPECT_TRUE(wizard.NoBox(0.5));
        EXPECT_EQ(ProductValue("Pro"), "1");
    }

    void ExpectBox(const driver::MessageBoxInfo& box, const std::string& caption, const std::string& text,
                   const std::string& icon, const std::vector<std::string>& buttons) {
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.icon, icon) << text;
        EXPECT_EQ(box.buttons, buttons) << text;
    }

    ScratchDir work_{"pelorin-update"};
    const HelpHandler help_;  // every test: no real viewer may stay open behind a test
    std::string main_;
    std::string program_;
};

TEST_F(UpdateE2E, VersionChecksWarnAndNoStaysOnTheWelcomePage) {
    // "Version" missing: the warning; No fails with its message and stays.
    UpdateWizard wizard(program_);
    EXPECT_FALSE(wizard.Enabled("< Back"));
    wizard.Press("Next >");
    ExpectBox(wizard.Answer("No"), "Warning",
              "This update works only with TZarnix version 1.1.\rDo you wish to continue?", "exclamation",
              {"Yes", "No"});
    ExpectBox(wizard.Answer("OK"), "Error", "Update works on TZarnix 1.1 only.", "stop", {"OK"});
    EXPECT_EQ(wizard.Page(), 0);
    // Yes goes on to "Pro": "1" asks again.
    SetProductValue("Version", "1.0");
    SetProductValue("Pro", "1");
    wizard.Press("Next >");
    wizard.Answer("Yes");
    ExpectBox(wizard.Answer("No"), "Warning",
              "You have already updated TZarnix version 1.1.\rDo you still wish to continue?", "none", {"Yes", "No"});
    ExpectBox(wizard.Answer("OK"), "Error", "Already updated TZarnix 1.1.", "stop", {"OK"});
    EXPECT_EQ(wizard.Page(), 0);
    // "1.1" without a warning, "Pro" = "1" with Yes: the licence page.
    SetProductValue("Version", "1.1");
    wizard.Press("Next >");
    wizard.Answer("Yes");
    ASSERT_TRUE(wizard.WaitForPage(1));
    EXPECT_TRUE(wizard.Enabled("< Back"));
    EXPECT_TRUE(wizard.Shown("No"));
    wizard.Press("< Back");
    ASSERT_TRUE(wizard.WaitForPage(0));

    // The side panel: its picture tiled (40 pixels a copy), and a click shows the About box.
    const HWND panel = driver::FindControl(wizard.Form(), "class:PelorinGradPan");
    ASSERT_NE(panel, nullptr);
    POINT origin{0, 0};
    ::ClientToScreen(panel, &origin);
    {
        const ClientDc screen(nullptr);
        const auto pixel = [&](int x, int y) { return ::GetPixel(screen.get(), origin.x + x, origin.y + y); };
        for (const POINT p : {POINT{3, 7}, POINT{20, 20}, POINT{33, 12}}) {
            EXPECT_EQ(pixel(p.x, p.y), pixel(p.x + 40, p.y));
            EXPECT_EQ(pixel(p.x, p.y), pixel(p.x + 80, p.y + 200));
        }
        EXPECT_NE(pixel(20, 6), pixel(2, 2));  // the ring of the picture on its background
        EXPECT_NE(pixel(2, 2), CLR_INVALID);
    }
    ::PostMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    ::PostMessageA(panel, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    const driver::MessageBoxInfo about = wizard.Answer("OK");
    EXPECT_EQ(about.caption, "About Update Wizard");
    EXPECT_EQ(about.text.rfind("Update Wizard for TZarnix Professional edition 1.1", 0), 0u) << about.text;
    EXPECT_EQ(about.icon, "information");
    EXPECT_EQ(about.buttons, std::vector<std::string>{"OK"});

    wizard.Press("Cancel");
    wizard.Answer("Yes");
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(0));
}

// "Next >" is the default button: Enter in a folder edit presses it, as in every dialog.
TEST_F(UpdateE2E, EnterInAFolderEditPressesNext) {
    Installed(true);
    UpdateWizard wizard(program_);
    ASSERT_NO_FATAL_FAILURE(wizard.WalkToFolders());
    const HWND edit = driver::FindControl(wizard.Form(), "class:Edit#1");
    ASSERT_NE(edit, nullptr);
    // A click puts the focus into the edit, away from the button the licence page left it on.
    ::PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    EXPECT_TRUE(wizard.WaitForPage(3, 10));
    wizard.Press("Cancel");
    wizard.Answer("Yes");
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(UpdateE2E, FolderChecksAndTheSummaryLines) {
    Installed(false);
    UpdateWizard wizard(program_);
    ASSERT_NO_FATAL_FAILURE(wizard.WalkToFolders());
    // The licence step proposed the registry's "Path"; the unit folders follow the main folder.
    EXPECT_EQ(wizard.Text("class:Edit#1"), main_);
    EXPECT_EQ(wizard.Text("class:Edit#2"), main_ + "\\Delphi 2");
    wizard.SetText("class:Edit#3", "C:\\elsewhere");
    wizard.SetText("class:Edit#1", main_ + "\\");
    EXPECT_EQ(wizard.Text("class:Edit#2"), main_ + "\\Delphi 2");
    EXPECT_EQ(wizard.Text("class:Edit#3"), main_ + "\\Delphi 3");

    wizard.SetText("class:Edit#1", main_ + "\\missing");
    wizard.Press("Next >");
    ExpectBox(wizard.Answer("OK"), "Error", "Please select an existing folder.", "stop", {"OK"});
    EXPECT_EQ(wizard.Page(), 2);

    // With a trailing backslash the folder is found; the units are not.
    wizard.SetText("class:Edit#1", main_ + "\\");
    wizard.Press("Next >");
    ExpectBox(wizard.Answer("No"), "Warning",
              "Update Wizard has not found the required units files. If the old files do not exist, the update can "
              "fail.\rAre you sure you want to continue?",
              "none", {"Yes", "No"});
    ExpectBox(wizard.Answer("OK"), "Error", "Please select the folder which contains TZarnix.", "stop", {"OK"});
    EXPECT_EQ(wizard.Page(), 2);
    wizard.Press("Next >");
    wizard.Answer("Yes");
    ASSERT_TRUE(wizard.WaitForPage(3));
    EXPECT_EQ(wizard.Text("class:Edit#4"), "Update Summary for TZarnix 1.1\r\nLocation: " + main_ +
                                               "\\\r\n\r\n- Update Units files for Delphi 2 and Delphi 3.\r\n"
                                               "- Install TZarnix Professional edition Help file.\r\n"
                                               "- Install TZarnix Self-Extracting Builder source code.\r\n"
                                               "- Modify current configuration for TZarnix.\r\n\r\n"
                                               "Ready to update TZarnix.");
    wizard.Press("< Back");
    ASSERT_TRUE(wizard.WaitForPage(2));
    wizard.Press("Cancel");
    wizard.Answer("Yes");
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(ProductValue("Pro"), "");
}

TEST_F(UpdateE2E, CancelNoAndTheCloseBoxAskOnEveryPageBeforeTheRun) {
    Installed(true);
    UpdateWizard wizard(program_);
    for (int page = 0; page <= 3; ++page) {
        ASSERT_TRUE(wizard.WaitForPage(page));
        wizard.Press(page == 1 ? "No" : "Cancel");
        ExpectBox(wizard.Answer("No"), "Confirmation", kExitQuestion, "question", {"Yes", "No"});
        driver::RequestClose(wizard.Form());
        ExpectBox(wizard.Answer("No"), "Confirmation", kExitQuestion, "question", {"Yes", "No"});
        EXPECT_TRUE(wizard.Running());
        wizard.Press(page == 1 ? "Yes" : page == 3 ? "Update" : "Next >");
        if (page == 3) break;
    }
    // The run itself: Back and Next hidden, Cancel disabled; then the last page.
    ASSERT_TRUE(wizard.WaitForPage(5, 60));
    EXPECT_FALSE(wizard.Shown("Next >"));
    EXPECT_FALSE(wizard.Shown("< Back"));
}

TEST_F(UpdateE2E, TheRunLandsEveryGroupAndMarksTheProduct) {
    Installed(true);
    // Closing on the last page opens the help file through the shell, here the recording handler.
    const std::string log = work_ / "help.log";
    const EnvOverride helpLog("PELORIN_HELP_LOG", log.c_str());
    UpdateWizard wizard(program_);
    ASSERT_NO_FATAL_FAILURE(RunUpdate(wizard));
    EXPECT_EQ(wizard.Progress(), 450);
    EXPECT_TRUE(wizard.Enabled("Close"));

    for (const char* name : {"KZarnix.res", "TZXComp.dcu", "TZXEdit.dcu", "TZXEdit.dfm"}) {
        EXPECT_TRUE(Exists(main_ + "\\Delphi 2\\" + name)) << name;
        EXPECT_TRUE(Exists(main_ + "\\Delphi 3\\" + name)) << name;
    }
    // The old units were replaced without asking.
    EXPECT_NE(TextOf(main_ + "\\Delphi 2\\KZarnix.dcu").find("Delphi 2/KZarnix.dcu"), std::string::npos);
    EXPECT_NE(TextOf(main_ + "\\Delphi 3\\KZarnix.dcu").find("Delphi 3/KZarnix.dcu"), std::string::npos);
    EXPECT_TRUE(Exists(main_ + "\\Tzxpro.hlp"));
    WIN32_FIND_DATAA found{};
    int tools = 0;
    FindHandle search(::FindFirstFileA((main_ + "\\Tools\\*").c_str(), &found));
    for (bool more = search.valid(); more; more = ::FindNextFileA(search.get(), &found)) {
        tools += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    EXPECT_EQ(tools, 21);

    // Closing now asks nothing and opens the help file in the main folder.
    driver::RequestClose(wizard.Form());
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(0));
    for (int i = 0; i < 100 && !Exists(log); ++i) ::Sleep(100);
    ::Sleep(300);
    const std::string opened = Exists(log) ? TextOf(log) : "";
    EXPECT_NE(opened.find("tzxpro.hlp"), std::string::npos) << opened;
    EXPECT_NE(opened.find("\n" + main_ + "\n"), std::string::npos) << opened;
}

// The run fails: the message with "\rUpdate is aborted.", no "Pro", the program ends.
class UpdateFailureE2E : public UpdateE2E {
protected:
    void RunExpectingAbort(const std::string& message) {
        UpdateWizard wizard(program_);
        wizard.WalkToSummary();
        wizard.Press("Update");
        ExpectBox(wizard.Answer("OK", 60), "Error", message + "\rUpdate is aborted.", "stop", {"OK"});
        EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(1));
        EXPECT_EQ(ProductValue("Pro"), "");
    }
};

TEST_F(UpdateFailureE2E, AnArchiveCutShortOrMissingAborts) {
    Installed(true);
    std::vector<std::uint8_t> archive = ReadBytes(SampleArchive());
    archive.resize(archive.size() - 30);  // the end record is gone
    WriteUpdateProgram(program_, archive);
    RunExpectingAbort("Incomplete Zip File");

    WriteUpdateProgram(program_, {});
    RunExpectingAbort("No update archive is appended to this program.");
}

TEST_F(UpdateFailureE2E, ARefusedRegistryWriteAbortsAfterTheFilesLanded) {
    Installed(true);
    DeleteProductKey();
    // Keys below a volatile key must be volatile: the non-volatile product key is refused.
    KeyHandle parent;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrelo", 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, parent.put(), nullptr),
              ERROR_SUCCESS);
    UpdateWizard wizard(program_);
    wizard.Press("Next >");
    wizard.Answer("Yes");  // no "Version"
    ASSERT_TRUE(wizard.WaitForPage(1));
    wizard.Press("Yes");
    ASSERT_TRUE(wizard.WaitForPage(2));
    wizard.SetText("class:Edit#1", main_);
    wizard.Press("Next >");
    ASSERT_TRUE(wizard.WaitForPage(3));
    wizard.Press("Update");
    ExpectBox(
        wizard.Answer("OK", 60), "Error",
        std::string("Cannot install into registry. Key: ") + kProductKey + " Ident: Pro Value 1\rUpdate is aborted.",
        "stop", {"OK"});
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(1));
    EXPECT_TRUE(Exists(main_ + "\\Tools\\unit_sfx.pas"));
}

// Damage the engine handles itself: a central directory found by scanning, entries that fail
// their checksums. The run completes, but the old units stay, the box names the files left out,
// and "Pro" stays unwritten so that the update can run again.
TEST_F(UpdateE2E, DamagedEntriesKeepTheOldFilesAndLeaveTheProductUnmarked) {
    Installed(true);
    std::vector<std::uint8_t> archive = ReadBytes(SampleArchive());
    // The stored CRC-32 of "Delphi 2/KZarnix.dcu", in its local header (30 bytes before the name,
    // CRC at 14) and in its central header (46 and 16).
    const std::string units = "Delphi 2/KZarnix.dcu";
    auto at = std::search(archive.begin(), archive.end(), units.begin(), units.end());
    ASSERT_NE(at, archive.end());
    *(at - 16) ^= 0x01;
    at = std::search(at + 1, archive.end(), units.begin(), units.end());
    ASSERT_NE(at, archive.end());
    *(at - 30) ^= 0x01;
    archive[archive.size() - 6] ^= 0x01;  // the central directory's offset in the end record
    // The compressed data of "Tools/unit_sfx.pas" (its local header's name, then the data).
    const std::string name = "Tools/unit_sfx.pas";
    at = std::search(archive.begin(), archive.end(), name.begin(), name.end());
    ASSERT_NE(at, archive.end());
    *(at + static_cast<std::ptrdiff_t>(name.size()) + 40) ^= 0x55;
    WriteUpdateProgram(program_, archive);

    UpdateWizard wizard(program_);
    wizard.WalkToSummary();
    wizard.Press("Update");
    ExpectBox(
        wizard.Answer("OK", 60), "Update Wizard",
        std::string("Update Wizard could not update these files and kept the old ones. Run the update again to replace "
                    "them:") +
            "\rDelphi 2\\KZarnix.dcu\rTools\\unit_sfx.pas",
        "exclamation", {"OK"});
    ASSERT_TRUE(wizard.WaitForPage(5, 60));
    EXPECT_TRUE(wizard.NoBox(0.5));
    EXPECT_EQ(ProductValue("Pro"), "");
    EXPECT_EQ(TextOf(main_ + "\\Delphi 2\\KZarnix.dcu"), "old");
    EXPECT_NE(TextOf(main_ + "\\Delphi 3\\KZarnix.dcu").find("Delphi 3/KZarnix.dcu"), std::string::npos);
    EXPECT_FALSE(Exists(main_ + "\\Tools\\unit_sfx.pas"));
    EXPECT_TRUE(Exists(main_ + "\\Tools\\unit_sfx.dfm"));
    EXPECT_TRUE(Exists(main_ + "\\Delphi 3\\TZXEdit.dfm"));
    for (const char* folder : {"\\Delphi 2", "\\Tools"}) {
        WIN32_FIND_DATAA found{};
        EXPECT_FALSE(FindHandle(::FindFirstFileA((main_ + folder + "\\~pz*").c_str(), &found)).valid()) << folder;
    }
    wizard.Press("Close");
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(0));
}

// The files below folder, as paths relative to it.
std::vector<std::string> FilesBelow(const std::string& folder, const std::string& prefix = "") {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    FindHandle search(::FindFirstFileA((folder + "\\" + prefix + "*").c_str(), &found));
    for (bool more = search.valid(); more; more = ::FindNextFileA(search.get(), &found)) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            files.push_back(prefix + name);
            continue;
        }
        for (std::string& inner : FilesBelow(folder, prefix + name + "\\")) files.push_back(std::move(inner));
    }
    return files;
}

TEST_F(UpdateE2E, ASignedUpdateProgramVerifiesAndLandsEveryFileByteForByte) {
    if (!WineSigner::Available()) GTEST_SKIP() << "the host's openssl or osslsigncode cannot be run";
    const WineSigner signer;
    ASSERT_TRUE(signer.Ready());
    const PackResult packed = Pack(ProgramPath("update.exe"), SampleArchive(), program_, SignCommand(signer.Command()));
    EXPECT_GT(packed.signatureBytes, 0u);
    EXPECT_TRUE(signer.Verify(program_));
    // The wizard reads its archive up to the certificate table, not into it.
    const std::vector<std::uint8_t> file = ReadBytes(program_);
    const std::uint64_t archiveEnd = packed.imageLength + ReadBytes(SampleArchive()).size() + packed.paddingBytes;
    ASSERT_EQ(file.size(), archiveEnd + packed.signatureBytes);
    EXPECT_EQ(ReadAppendedArchive(program_),
              std::vector<std::uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(packed.imageLength),
                                        file.begin() + static_cast<std::ptrdiff_t>(archiveEnd)));
    const std::string expected = work_ / "expected";
    ASSERT_EQ(RunOnHost("unzip -q " + Quote(SampleArchive()) + " -d " + Quote(expected)), 0u);
    const std::vector<std::string> files = FilesBelow(expected);
    EXPECT_EQ(files.size(), 32u);

    Installed(true);
    UpdateWizard wizard(program_);
    ASSERT_NO_FATAL_FAILURE(RunUpdate(wizard));
    for (const std::string& file : files)
        EXPECT_EQ(ReadBytes(main_ + "\\" + file), ReadBytes(expected + "\\" + file)) << file;
    wizard.Press("Close");
    EXPECT_EQ(wizard.WaitForExit(), std::optional<DWORD>(0));
}

// A close confirmed while the files are written ends the run there: the entry being written
// leaves no temporary file, the later entries do not land and the product stays unmarked.
TEST_F(UpdateE2E, ACloseConfirmedDuringTheRunStopsItWithoutTemporaryFiles) {
    Installed(true);
    test::ZipBuilder zip;
    test::BuiltEntry entry;
    entry.data.resize(1 << 20);
    for (std::size_t i = 0; i < entry.data.size(); ++i) entry.data[i] = static_cast<std::uint8_t>((i * 7919) >> 5);
    const int entries = 64;
    for (int i = 0; i < entries; ++i) {
        entry.name = "Delphi 2/f" + std::to_string(i) + ".bin";
        zip.Add(entry);
    }
    WriteUpdateProgram(program_, zip.Build());
    UpdateWizard wizard(program_);
    wizard.WalkToSummary();
    // The close request queues behind the click, so the run meets it at its first pump, however
    // fast the machine writes.
    wizard.Press("Update");
    driver::RequestClose(wizard.Form());
    ASSERT_TRUE(wizard.WaitForPage(4));
    ExpectBox(wizard.Answer("Yes"), "Confirmation", kExitQuestion, "question", {"Yes", "No"});
    EXPECT_EQ(wizard.WaitForExit(60), std::optional<DWORD>(0));
    EXPECT_EQ(ProductValue("Pro"), "");
    EXPECT_FALSE(Exists(main_ + "\\Delphi 2\\f" + std::to_string(entries - 1) + ".bin"));
    for (const std::string& file : FilesBelow(main_)) EXPECT_EQ(file.find("~pz"), std::string::npos) << file;
}

}  // namespace
}  // namespace pelorin::e2e
