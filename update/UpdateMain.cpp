// update.exe: the update wizard's program entry. It creates the wizard form as the main form,
// runs the message loop until the form closes, and ends with the form's exit status.
#include <windows.h>

#include <exception>

#include "ui/Application.h"
#include "update/ufup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        pelorin::Tfu fu;
        fu.FormShow();
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (pelorin::TranslateFormMessage(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        return fu.ExitCode();
    } catch (const std::exception& error) {
        // The application's standard error box, captioned with its title.
        std::string text = error.what();
        if (text.empty() || text.back() != '.') text += '.';
        ::MessageBoxA(nullptr, text.c_str(), "Update Wizard", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        return 1;
    }
}
