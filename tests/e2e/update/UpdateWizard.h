// The update program seen from a test: packed from update.exe and the sample archive into a
// scratch folder, the product's registry key, and the wizard's window worked through the driver.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/Driver.h"
#include "tests/e2e/driver/ProcessHarness.h"

namespace pelorin::e2e {

constexpr const char* kProductKey = "SOFTWARE\\Ostrelo\\TZarnix Component";

// The product's registry values: set, deleted, read back (empty when missing).
void SetProductValue(const std::string& name, const std::string& value);
std::string ProductValue(const std::string& name);
void DeleteProductKey();

// The sample archive of examples/update, made by the test fixture.
std::string SampleArchive();
// update.exe with the given archive bytes appended (nothing for a bare program).
void WriteUpdateProgram(const std::string& path, const std::vector<std::uint8_t>& archive);

class UpdateWizard {
public:
    explicit UpdateWizard(const std::string& program);

    HWND Form() const { return form_; }
    DWORD Pid() const { return program_.pid(); }
    // 0 to 5 by what the form shows; -1 while it cannot tell.
    int Page() const;
    bool WaitForPage(int page, double seconds = 20) const;
    // The visible button of that label, pressed; fails the test when missing or disabled.
    void Press(const std::string& label);
    bool Enabled(const std::string& label) const;
    bool Shown(const std::string& label) const;
    // The next message box of the program, read and answered with button.
    driver::MessageBoxInfo Answer(const std::string& button, double seconds = 20);
    // No box shows up within the time.
    bool NoBox(double seconds = 1.0);
    std::string Text(const std::string& selector) const;
    void SetText(const std::string& selector, const std::string& text) const;
    int Progress() const;
    std::optional<DWORD> WaitForExit(double seconds = 20) { return program_.waitForExit(seconds); }
    bool Running() const { return program_.running(); }
    // Welcome (Version "1.1", no "Pro") and licence, up to the folders page.
    void WalkToFolders();
    // On through the folders, up to the summary page.
    void WalkToSummary();

private:
    RunningProgram program_;
    HWND form_ = nullptr;
};

}  // namespace pelorin::e2e
