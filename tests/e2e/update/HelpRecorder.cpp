// A stand-in viewer for .hlp files in the test prefix: it appends the file it was asked to
// open and the folder it was started in to the file named by PELORIN_HELP_LOG, then ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char log[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("PELORIN_HELP_LOG", log, MAX_PATH)) return 1;
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* out = std::fopen(log, "ab");
    if (!out) return 1;
    std::fprintf(out, "%s\n%s\n", commandLine, folder);
    std::fclose(out);
    return 0;
}
