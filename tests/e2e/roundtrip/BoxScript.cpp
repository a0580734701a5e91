// AnswerBoxes: polls for dialogs of the program's process, so boxes that come one
// after another (a question, then a report) are each answered once.
#include "tests/e2e/roundtrip/BoxScript.h"

namespace pelorin::e2e {

std::vector<driver::MessageBoxInfo> AnswerBoxes(RunningProgram& program, const BoxChoice& choose,
                                                double timeoutSeconds) {
    std::vector<driver::MessageBoxInfo> boxes;
    driver::WindowQuery query;
    query.pid = program.pid();
    query.className = "#32770";
    const DWORD start = ::GetTickCount();
    const DWORD limit = static_cast<DWORD>(timeoutSeconds * 1000);
    while (program.running() && ::GetTickCount() - start < limit) {
        const HWND dialog = driver::WaitForWindow(query, 0.2);
        if (!dialog) continue;
        ::Sleep(100);  // let the box finish drawing its text and buttons
        boxes.push_back(driver::ReadMessageBox(dialog));
        driver::PressButton(driver::FindControl(dialog, choose(boxes.back())));
        for (int i = 0; i < 100 && ::IsWindow(dialog) && ::IsWindowVisible(dialog); ++i) ::Sleep(50);
    }
    return boxes;
}

}  // namespace pelorin::e2e
