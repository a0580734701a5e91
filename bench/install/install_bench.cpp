// install_bench: prepare DIR FILES KB writes PELORIN.DAT and its entries; inflate DIR decompresses
// every entry alone; write DIR also writes each to a plain file; install DIR runs the installation
// steps into DIR\app. Each phase prints its time and the process's peak memory.
#include <windows.h>
#include <psapi.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "setup/Globals.h"
#include "setup/ZStream.h"
#include "setup/install/InstallEngine.h"

namespace pelorin {
namespace {

// Answers nothing and shows nothing; the benchmark's package has no questions to ask.
class Silent : public IInstallProgress, public IInstallPrompt {
public:
    void SetStatus(const std::string&) override {}
    void SetFilename(const std::string&) override {}
    void SetMax(std::int64_t) override {}
    std::int64_t Position() const override { return position_; }
    void SetPosition(std::int64_t position) override { position_ = position; }
    bool ProcessMessagesAndCheckCancel() override { return false; }
    int MsgBox(const std::string& text, const std::string&, MsgBoxKind, UINT) override {
        std::fprintf(stderr, "unexpected question: %s\n", text.c_str());
        return IDABORT;
    }
    void ShowError(const std::string& message) override { std::fprintf(stderr, "error: %s\n", message.c_str()); }

private:
    std::int64_t position_ = 0;
};

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Text-like data that compresses about as well as program files do.
std::string MakeData(std::mt19937& random, std::size_t size) {
    static const char* const words[] = {"setup ", "install ", "file ",     "data ",   "version ",
                                        "0x1F ",  "\r\n",     "registry ", "folder ", "{app} "};
    std::string data;
    data.reserve(size + 16);
    while (data.size() < size) {
        if (random() % 4 == 0)
            data.push_back(static_cast<char>(random() & 0xFF));
        else
            data += words[random() % 10];
    }
    data.resize(size);
    return data;
}

int Prepare(const std::string& dir, int files, int kilobytes) {
    std::mt19937 random(12345);
    std::ofstream archive(dir + "\\PELORIN.DAT", std::ios::binary);
    std::ofstream entries(dir + "\\entries.bin", std::ios::binary);
    std::uint64_t offset = 0, total = 0;
    for (int i = 0; i < files; ++i) {
        const std::string data = MakeData(random, static_cast<std::size_t>(kilobytes) * 1024 + (i % 7) * 1000);
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        std::string packed(size, '\0');
        compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), 9);
        packed.resize(size);
        FileEntry entry;
        entry.DataOffset = static_cast<std::int32_t>(offset);
        entry.DestName = "{app}\\d" + std::to_string(i % 20) + "\\f" + std::to_string(i) + ".bin";
        entry.UncompressedSize = static_cast<std::uint32_t>(data.size());
        entry.CompressedSize = static_cast<std::uint32_t>(packed.size());
        entry.Adler32 = static_cast<std::uint32_t>(
            adler32(1, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        entry.FileTime = 0x01D0000000000000ull;
        archive << "zel8" << packed;
        offset += 4 + packed.size();
        total += data.size();
        const FileEntry::Bytes bytes = entry.Encode();
        entries.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::printf("prepared %d files, %.1f MB, archive %.1f MB\n", files, total / 1048576.0, offset / 1048576.0);
    return 0;
}

std::vector<FileEntry> LoadEntries(const std::string& dir) {
    std::ifstream in(dir + "\\entries.bin", std::ios::binary);
    std::vector<FileEntry> entries;
    FileEntry::Bytes bytes{};
    while (in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) entries.push_back(FileEntry::Decode(bytes));
    return entries;
}

// Decompresses every entry; with toFiles, writes each into its own file in DIR\plain, the
// floor an installation cannot go below on this disk.
int Inflate(const std::string& dir, bool toFiles) {
    const std::vector<FileEntry> entries = LoadEntries(dir);
    if (toFiles) ::CreateDirectoryA((dir + "\\plain").c_str(), nullptr);
    const auto start = std::chrono::steady_clock::now();
    std::ifstream archive(dir + "\\PELORIN.DAT", std::ios::binary);
    std::uint64_t total = 0;
    int index = 0;
    for (const FileEntry& entry : entries) {
        FileHandle out;
        if (toFiles)
            out.reset(::CreateFileA((dir + "\\plain\\f" + std::to_string(index++) + ".bin").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        archive.seekg(entry.DataOffset + 4);
        std::uint32_t left = entry.CompressedSize;
        const InflateResult result = InflateStream(
            [&](std::uint8_t* buffer, std::size_t capacity) -> std::size_t {
                const std::size_t want = std::min<std::size_t>(capacity, left);
                archive.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(want));
                left -= static_cast<std::uint32_t>(archive.gcount());
                return static_cast<std::size_t>(archive.gcount());
            },
            [&](const std::uint8_t* buffer, std::size_t count) -> std::size_t {
                DWORD done = 0;
                if (out) ::WriteFile(out.get(), buffer, static_cast<DWORD>(count), &done, nullptr);
                total += count;
                return count;
            });
        if (!result.Completed || result.Checksum != entry.Adler32) return 2;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s %zu files %.1f MB: %.3f s, peak %.1f MB\n", toFiles ? "inflate to files" : "inflate",
                entries.size(), total / 1048576.0, seconds, PeakMegabytes());
    return 0;
}

int Install(const std::string& dir) {
    SetupGlobals& globals = Globals();
    globals.AppDir = dir + "\\app";
    globals.WinDir = dir;
    globals.Setup.FileEntries = LoadEntries(dir);
    globals.Setup.Header.FileCount = static_cast<std::int32_t>(globals.Setup.FileEntries.size());
    Silent silent;
    TUndoChanges changes;
    TInstallContext context{silent, silent, changes, std::string(), dir};
    TInstallEngine engine(globals.Setup, context);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = engine.Run();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("install %zu files: %.3f s, peak %.1f MB, %s\n", globals.Setup.FileEntries.size(), seconds,
                PeakMegabytes(), ok ? "completed" : "FAILED");
    return ok ? 0 : 3;
}

}  // namespace
}  // namespace pelorin

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "prepare")
        return pelorin::Prepare(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc >= 3 && std::string(argv[1]) == "inflate") return pelorin::Inflate(argv[2], false);
    if (argc >= 3 && std::string(argv[1]) == "write") return pelorin::Inflate(argv[2], true);
    if (argc >= 3 && std::string(argv[1]) == "install") return pelorin::Install(argv[2]);
    std::fprintf(stderr, "usage: install_bench prepare DIR FILES KB | inflate DIR | install DIR\n");
    return 1;
}
