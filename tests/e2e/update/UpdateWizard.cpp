// The update wizard's test helpers over the driver: registry values of the product, programs
// packed with the real packer, page recognition by the controls the form shows.
#include "tests/e2e/update/UpdateWizard.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/win/Handles.h"
#include "tools/pelorin-pack/Packer.h"

namespace pelorin::e2e {

void SetProductValue(const std::string& name, const std::string& value) {
    KeyHandle key;
    ASSERT_EQ(
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
        ERROR_SUCCESS);
    ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

std::string ProductValue(const std::string& name) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return "";
    char value[512] = {};
    DWORD size = sizeof value - 1;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS) {
        return "";
    }
    return value;
}

void DeleteProductKey() {
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrelo");
}

std::string SampleArchive() { return BinaryDir() + "\\tests\\update-sample\\tzarnix-pro.zip"; }

void WriteUpdateProgram(const std::string& path, const std::vector<std::uint8_t>& archive) {
    std::vector<std::uint8_t> bytes = ReadBytes(ProgramPath("update.exe"));
    bytes.insert(bytes.end(), archive.begin(), archive.end());
    WriteBytes(path, bytes);
}

UpdateWizard::UpdateWizard(const std::string& program) : program_(Quote(program)) {
    form_ = driver::WaitForWindow({program_.pid(), "Update Wizard", "PelorinForm", true}, 30);
    EXPECT_NE(form_, nullptr) << "no wizard window";
    WaitForPage(0);
}

namespace {

bool VisibleText(HWND form, const std::string& text) {
    for (const driver::ControlInfo& control : driver::ListControls(form)) {
        if (control.visible && driver::StripAccelerator(control.text) == text) return true;
    }
    return false;
}

}  // namespace

int UpdateWizard::Page() const {
    if (!form_) return -1;
    if (VisibleText(form_, "Close")) return 5;
    if (VisibleText(form_, "Yes")) return 1;
    if (VisibleText(form_, "Update")) return 3;
    if (VisibleText(form_, "TZarnix Main Folder:")) return 2;
    if (!Shown("Next >")) return 4;
    return 0;
}

bool UpdateWizard::WaitForPage(int page, double seconds) const {
    for (int i = 0; i < seconds * 20; ++i) {
        if (Page() == page) return true;
        ::Sleep(50);
    }
    return false;
}

void UpdateWizard::Press(const std::string& label) {
    const HWND button = driver::FindControl(form_, "text:" + label);
    ASSERT_NE(button, nullptr) << label;
    ASSERT_TRUE(driver::PressButton(button)) << label << " is disabled";
}

bool UpdateWizard::Enabled(const std::string& label) const {
    const HWND button = driver::FindControl(form_, "text:" + label);
    return button && ::IsWindowEnabled(button);
}

bool UpdateWizard::Shown(const std::string& label) const {
    const HWND button = driver::FindControl(form_, "text:" + label);
    return button && ::IsWindowVisible(button);
}

driver::MessageBoxInfo UpdateWizard::Answer(const std::string& button, double seconds) {
    const std::optional<driver::MessageBoxInfo> box = AnswerNextBox(program_.pid(), button, seconds);
    EXPECT_TRUE(box.has_value()) << "no box to answer with " << button;
    return box.value_or(driver::MessageBoxInfo{});
}

bool UpdateWizard::NoBox(double seconds) {
    driver::WindowQuery query;
    query.pid = program_.pid();
    query.className = "#32770";
    const HWND box = driver::WaitForWindow(query, seconds);
    if (box) ADD_FAILURE() << "unexpected box: " << driver::ReadMessageBox(box).text;
    return box == nullptr;
}

std::string UpdateWizard::Text(const std::string& selector) const {
    return driver::GetText(driver::FindControl(form_, selector));
}

void UpdateWizard::SetText(const std::string& selector, const std::string& text) const {
    driver::SetText(driver::FindControl(form_, selector), text);
}

int UpdateWizard::Progress() const {
    const HWND bar = driver::FindControl(form_, "class:msctls_progress32");
    return bar ? static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0)) : -1;
}

void UpdateWizard::WalkToFolders() {
    Press("Next >");
    ASSERT_TRUE(WaitForPage(1));
    Press("Yes");
    ASSERT_TRUE(WaitForPage(2));
}

void UpdateWizard::WalkToSummary() {
    ASSERT_NO_FATAL_FAILURE(WalkToFolders());
    Press("Next >");
    ASSERT_TRUE(WaitForPage(3));
}

}  // namespace pelorin::e2e
