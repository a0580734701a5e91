/* Demo application installed by the example package: shows one message box
   with its command line (or a greeting) and ends. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance;
    (void)previous;
    (void)show;
    MessageBoxA(NULL, commandLine && *commandLine ? commandLine : "Hello from Pelorin Demo.", "Pelorin Demo",
                MB_OK | MB_ICONINFORMATION);
    return 0;
}
