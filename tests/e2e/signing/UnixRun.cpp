// pelorin-unix-run PROGRAM [ARG...]: runs a program of the host system from a Windows program
// under Wine and waits for it, with every drive-letter path argument turned into its host path.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Wine's own exports: the host path of a Windows path, and starting a host program.
using UnixFileNameFunction = char*(CDECL*)(const WCHAR*);
using SpawnFunction = LONG(CDECL*)(char* const* argv, int wait);

bool IsDrivePath(const std::string& arg) {
    return arg.size() >= 3 && std::isalpha(static_cast<unsigned char>(arg[0])) && arg[1] == ':' &&
           (arg[2] == '\\' || arg[2] == '/');
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pelorin-unix-run PROGRAM [ARG...]\n");
        return 2;
    }
    const auto unixFileName = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    const auto spawn = reinterpret_cast<SpawnFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (!unixFileName || !spawn) {
        std::fprintf(stderr, "pelorin-unix-run: this is not Wine\n");
        return 2;
    }
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (IsDrivePath(arg)) {
            std::wstring wide(arg.size() + 1, L'\0');
            wide.resize(::MultiByteToWideChar(CP_ACP, 0, arg.c_str(), -1, wide.data(), static_cast<int>(wide.size())));
            char* host = unixFileName(wide.c_str());
            if (host) {
                arg = host;
                ::HeapFree(::GetProcessHeap(), 0, host);
            }
        }
        args.push_back(arg);
    }
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    std::fflush(nullptr);
    return spawn(pointers.data(), 1) == 0 ? 0 : 1;
}
