// install_bench: prepare writes PELORIN.DAT and its entries; inflate decompresses them alone; write
// also writes them out, with as much of an installation's file handling as its level asks for;
// install runs the installation steps; replay installs with an undo log and times its replay in
// uninstall mode; undo replays a given REMOVE.LOG as the uninstaller does, without its process
// and boxes. Each phase prints its time and the process's peak memory.
#include <windows.h>
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/RemoveTree.h"
#include "platform/win/Handles.h"
#include "setup/Globals.h"
#include "setup/ZStream.h"
#include "setup/install/InstallEngine.h"
#include "setup/install/Undo.h"
#include "setup/install/UndoLog.h"

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

// How much of the installation's own file handling a plain write adds, step by step; each
// level includes the ones before it. The ladder shows where an installation's time goes.
enum WriteLevel {
    wlNone,         // decompress only, nothing written
    wlPlain,        // each entry into its own new file at its place in the tree
    wlOpenArchive,  // the archive opened, positioned and its magic read per entry
    wlQueries,      // the destination and source looked up, the folders made sure of
    wlTempRename,   // written to a free temporary name beside the destination, then renamed
    wlFileTime      // the entry's time stamp set
};

const char* const kLevelNames[] = {"inflate", "plain", "+archive per file", "+queries", "+temp+rename", "+file time"};

struct Reader {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::uint32_t left = 0;
    std::size_t operator()(std::uint8_t* buffer, std::size_t capacity) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(capacity, left));
        DWORD count = 0;
        if (want == 0 || !::ReadFile(file, buffer, want, &count, nullptr)) return 0;
        left -= count;
        return count;
    }
};

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Decompresses every entry and writes it as the level says into DIR\OUT (nothing for wlNone).
int Write(const std::string& dir, WriteLevel level, const std::string& outName) {
    const std::vector<FileEntry> entries = LoadEntries(dir);
    const std::string archiveName = dir + "\\PELORIN.DAT";
    const std::string out = dir + "\\" + outName;
    const auto start = std::chrono::steady_clock::now();
    FileHandle shared(::CreateFileA(archiveName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (level > wlNone) ::CreateDirectoryA(out.c_str(), nullptr);
    std::uint64_t total = 0;
    int index = 0;
    for (const FileEntry& entry : entries) {
        const std::string folder = out + "\\d" + std::to_string(index % 20);
        const std::string dest = folder + "\\f" + std::to_string(index) + ".bin";
        ++index;
        if (level == wlPlain || level == wlOpenArchive) {
            ::CreateDirectoryA(folder.c_str(), nullptr);
        } else if (level >= wlQueries) {
            // As an installation asks: does the destination exist, the folder, the source?
            Exists(dest);
            if (!Exists(folder)) ::CreateDirectoryA(folder.c_str(), nullptr);
            if (!Exists(archiveName)) return 2;
        }
        std::string target = dest;
        FileHandle output;
        if (level >= wlTempRename) {
            // The installation takes the folder from the destination's full path.
            char full[MAX_PATH];
            ::GetFullPathNameA(dest.c_str(), MAX_PATH, full, nullptr);
            for (int n = index; !output; ++n) {
                if (n - index > 1000) return 2;
                target = folder + "\\zp" + std::to_string(100000 + n) + ".tmp";
                output.reset(::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
            }
        } else if (level > wlNone) {
            output.reset(::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
        }
        FileHandle own;
        HANDLE in = shared.get();
        if (level >= wlOpenArchive) {
            own.reset(::CreateFileA(archiveName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            in = own.get();
        }
        LARGE_INTEGER offset{};
        offset.QuadPart = entry.DataOffset;
        char magic[4];
        DWORD got = 0;
        ::SetFilePointerEx(in, offset, nullptr, FILE_BEGIN);
        ::ReadFile(in, magic, sizeof magic, &got, nullptr);
        Reader reader{in, entry.CompressedSize};
        const InflateResult result =
            InflateStream(std::ref(reader), [&](const std::uint8_t* buffer, std::size_t count) {
                DWORD done = 0;
                if (output) ::WriteFile(output.get(), buffer, static_cast<DWORD>(count), &done, nullptr);
                total += count;
                return count;
            });
        if (!result.Completed || result.Checksum != entry.Adler32) return 2;
        if (level >= wlFileTime) {
            FILETIME time{static_cast<DWORD>(entry.FileTime), static_cast<DWORD>(entry.FileTime >> 32)};
            ::SetFileTime(output.get(), &time, nullptr, &time);
        }
        output.reset();
        if (level >= wlTempRename) ::MoveFileA(target.c_str(), dest.c_str());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s %zu files %.1f MB: %.3f s, peak %.1f MB\n", kLevelNames[level], entries.size(), total / 1048576.0,
                seconds, PeakMegabytes());
    return 0;
}

// The package of dir installed into dir\outName, with dir as the Windows folder.
SetupGlobals& UsePackage(const std::string& dir, const std::string& outName) {
    SetupGlobals& globals = Globals();
    globals.AppDir = dir + "\\" + outName;
    globals.WinDir = dir;
    globals.Setup.FileEntries = LoadEntries(dir);
    globals.Setup.Header.FileCount = static_cast<std::int32_t>(globals.Setup.FileEntries.size());
    return globals;
}

int Install(const std::string& dir, const std::string& outName) {
    const SetupGlobals& globals = UsePackage(dir, outName);
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

// The uninstaller's questions answered as a user who removes everything would.
class RemoveAll : public IUndoPrompt {
public:
    void ShowError(const std::string& message) override { std::fprintf(stderr, "error: %s\n", message.c_str()); }
    bool ConfirmRemoveSharedFile(const std::string&) override { return true; }
};

// The uninstaller's work without its process and boxes: the package is installed with an undo
// log (not timed), then the log is read and replayed in uninstall mode, and the log and the
// application folder go, as FERROW.EXE does it.
int Replay(const std::string& dir, const std::string& outName) {
    SetupGlobals& globals = UsePackage(dir, outName);
    globals.Setup.Header.Flags |= SetupHeader::CreateUninstall;
    globals.Setup.Header.AppName = "Pelorin Replay Bench";
    globals.Setup.Header.AppVerName = "Pelorin Replay Bench 1.0";
    Silent silent;
    TUndoChanges installed;
    TInstallContext context{silent, silent, installed, std::string(), dir};
    TInstallEngine engine(globals.Setup, context);
    if (!engine.Run()) return 3;

    const std::string log = UndoLogPath(globals.AppDir);
    const auto start = std::chrono::steady_clock::now();
    TUndoChanges changes = LoadUndoLog(log);
    const std::size_t records = changes.Records().size();
    RemoveAll prompt;
    UndoOptions options;
    options.FullUninstall = true;
    options.Prompt = &prompt;
    UndoAll(changes, options);  // the folder that holds the log fails here, as in FERROW.EXE
    ::DeleteFileA(log.c_str());
    ::RemoveDirectoryA(globals.AppDir.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The package's subfolders have no [Dir] records, so the replay leaves them (empty).
    const bool ok = ::GetFileAttributesA(globals.AppDir.c_str()) == INVALID_FILE_ATTRIBUTES || [&] {
        RemoveTree(globals.AppDir);
        return ::GetFileAttributesA(globals.AppDir.c_str()) == INVALID_FILE_ATTRIBUTES;
    }();
    std::printf("replay %zu records: %.3f s, peak %.1f MB, %s\n", records, seconds, PeakMegabytes(),
                ok ? "completed" : "FAILED");
    return ok ? 0 : 3;
}

// An installation's own REMOVE.LOG (a setup program's, with its folders, program group and
// registry entries) replayed in uninstall mode, then the log and the folders it kept from being
// empty removed: the uninstaller's work after its question, without its process and boxes.
int Undo(const std::string& log) {
    const auto start = std::chrono::steady_clock::now();
    TUndoChanges changes = LoadUndoLog(log);
    const std::size_t records = changes.Records().size();
    RemoveAll prompt;
    std::vector<UndoFailure> failures;
    UndoOptions options;
    options.FullUninstall = true;
    options.Prompt = &prompt;
    options.Failures = &failures;
    UndoAll(changes, options);
    ::DeleteFileA(log.c_str());
    std::size_t left = 0;
    for (const UndoFailure& failure : failures)
        if (failure.Kind != ukDirectory || !::RemoveDirectoryA(failure.Item.c_str())) ++left;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("undo %zu records: %.3f s, peak %.1f MB, %s\n", records, seconds, PeakMegabytes(),
                left == 0 ? "completed" : "FAILED");
    return left == 0 ? 0 : 3;
}

}  // namespace
}  // namespace pelorin

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "prepare")
        return pelorin::Prepare(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    const std::string out = argc >= 4 ? argv[3] : "out";
    if (argc >= 3 && std::string(argv[1]) == "inflate") return pelorin::Write(argv[2], pelorin::wlNone, out);
    if (argc >= 3 && std::string(argv[1]) == "install") return pelorin::Install(argv[2], out);
    if (argc >= 3 && std::string(argv[1]) == "replay") return pelorin::Replay(argv[2], out);
    if (argc >= 3 && std::string(argv[1]) == "undo") return pelorin::Undo(argv[2]);
    if (argc >= 4 && std::string(argv[1]) == "write") {
        const int level = argc >= 5 ? std::atoi(argv[4]) : pelorin::wlPlain;
        if (level >= pelorin::wlPlain && level <= pelorin::wlFileTime)
            return pelorin::Write(argv[2], static_cast<pelorin::WriteLevel>(level), out);
    }
    std::fprintf(stderr,
                 "usage: install_bench prepare DIR FILES KB | inflate DIR | write DIR OUT [LEVEL 1-5] | "
                 "install DIR OUT | replay DIR OUT | undo LOG\n");
    return 1;
}
