// pelorin-runprobe: a program for the RunEntry tests. It waits the given milliseconds, then
// appends its text and a line end to the file: "pelorin-runprobe FILE MILLISECONDS TEXT".
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) return 3;
    ::Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    std::FILE* file = std::fopen(argv[1], "ab");
    if (!file) return 1;
    std::fprintf(file, "%s\n", argv[3]);
    std::fclose(file);
    return 0;
}
