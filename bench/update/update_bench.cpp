// update_bench: the update run's extraction without a window. Reads the archive behind an update
// program and extracts its four groups below a folder as update.exe does, then prints its time.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "update/strings/MemoryStream.h"
#include "update/AppendedArchive.h"
#include "update/ufup.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {
namespace {

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// From the update program's own bytes to the last group, in the order and with the settings of
// Tfu::UpdateRun; the window's progress and status texts are left out.
int Run(const std::string& program, const std::string& destDir) {
    TVCLUnZip unz;
    unz.SetRecreateDirs(true);
    unz.SetOverwriteMode(TUZOverwriteMode::Always);
    std::vector<std::string> failed;
    unz.OnBadCRC = [&](TVCLUnZip& sender, std::uint32_t, std::uint32_t, int index) {
        failed.push_back(sender.EntryFullName(index));
    };
    unz.OnSkippingFile = [&](TVCLUnZip& sender, TSkipReason, int index) {
        failed.push_back(sender.EntryFullName(index));
    };
    LARGE_INTEGER start, stop;
    ::QueryPerformanceCounter(&start);
    unz.SetArchiveStream(std::make_unique<TMemoryStream>(ReadAppendedArchive(program)));
    unz.ReadDirectory();
    unz.SetDestDir(destDir);
    unz.SetRootDir(destDir);
    int extracted = 0;
    std::int64_t bytes = 0;
    unz.OnEndUnZip = [&](TVCLUnZip& sender, int index, const std::string&) {
        bytes += sender.Entry(index).UncompressedSize;
    };
    for (const char* group : {"DELPHI 2", "DELPHI 3", "", "TOOLS"}) {
        unz.FilesList().clear();
        if (*group) {
            SelectGroup(unz, group);
        } else {
            unz.FilesList().push_back("tzxpro.hlp");
        }
        extracted += unz.Extract();
    }
    unz.CloseArchive();
    ::QueryPerformanceCounter(&stop);
    std::printf("update run %d entries %.1f MB: %.3f s, peak %.1f MB, %s\n", extracted, bytes / 1048576.0,
                Seconds(start, stop), PeakMegabytes(), failed.empty() ? "completed" : "FAILED");
    for (const std::string& name : failed) std::fprintf(stderr, "failed: %s\n", name.c_str());
    return failed.empty() ? 0 : 3;
}

}  // namespace
}  // namespace pelorin

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: update_bench UPDATE-PROGRAM DESTDIR\n");
        return 1;
    }
    return pelorin::Run(argv[1], argv[2]);
}
