// System services for folders, files, temporary names and the environment.
// Failures are reported by the result; only the temporary names raise.
#include "setup/CmnFunc.h"

#include <random>
#include <vector>

#include "core/Exception.h"
#include "core/FilePath.h"
#include "core/TextFormat.h"
#include "platform/win/LongPath.h"
#include "setup/CmnFunc2.h"

namespace pelorin {

namespace {

constexpr std::uint32_t kTempNameRange = 0x1000000;  // six hexadecimal digits

// The generator behind the temporary names: seeded once per run by start-up. It only picks
// where the search for a free name starts, so a small generator does.
std::minstd_rand& TempNameGenerator() {
    static std::minstd_rand generator;
    return generator;
}

// Where a search for a free temporary name starts, anywhere in the range.
std::uint32_t RandomTempNameStart() {
    std::uniform_int_distribution<std::uint32_t> distribution(0, kTempNameRange - 1);
    return distribution(TempNameGenerator());
}

bool IsDriveRoot(const std::string& path) {
    const std::size_t n = path.size();
    return n > 1 && path[n - 2] == ':' && path[n - 1] == '\\';
}

// Calls query(buffer, size) -> needed length, growing the buffer until the value fits.
// query returns 0 for "nothing", < size for "done", >= size for "needs that many".
template <typename Query>
std::string QueryGrowing(std::size_t initial, Query query) {
    std::vector<char> buffer(initial);
    for (;;) {
        const DWORD n = query(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(static_cast<std::size_t>(n) + 1);
    }
}

}  // namespace

// --- Folders and files -------------------------------------------------------

bool DirExistsPlain(const std::string& path) {
    const DWORD attributes = PathAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool DirExists(const std::string& path) {
    const UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool exists = DirExistsPlain(IsDriveRoot(path) ? path : RemoveBackslash(path));
    ::SetErrorMode(previous);
    return exists;
}

bool PathExists(const std::string& path) { return PathAttributes(path) != INVALID_FILE_ATTRIBUTES; }

void ForceDirectories(const std::string& path) {
    const std::string dir = RemoveBackslash(path);
    if (dir.size() <= 2 || DirExistsPlain(dir)) return;
    // The parent is strictly shorter than dir, so the recursion ends.
    ForceDirectories(ExtractFilePath(dir));
    ::CreateDirectoryA(dir.c_str(), nullptr);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = PathAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FullPath(const std::string& path) {
    const std::string full = QueryGrowing(
        MAX_PATH, [&](char* buffer, DWORD size) { return ::GetFullPathNameA(path.c_str(), size, buffer, nullptr); });
    return full.empty() ? path : full;
}

std::string GetShortName(const std::string& path) {
    const std::string shortName = QueryGrowing(
        MAX_PATH, [&](char* buffer, DWORD size) { return ::GetShortPathNameA(path.c_str(), buffer, size); });
    return shortName.empty() ? path : shortName;
}

bool SetIniString(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file) {
    if (file.empty()) return ::WriteProfileStringA(section.c_str(), key.c_str(), value.c_str()) != FALSE;
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

// --- Temporary names ---------------------------------------------------------

void SeedRandom() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::seed_seq seed{static_cast<std::uint32_t>(::GetTickCount()), static_cast<std::uint32_t>(counter.LowPart),
                       static_cast<std::uint32_t>(counter.HighPart),
                       static_cast<std::uint32_t>(::GetCurrentProcessId())};
    TempNameGenerator().seed(seed);
}

std::string MakeUniqueTempName(const std::string& folder, std::uint32_t start,
                               const std::function<bool(const std::string&)>& taken) {
    const std::string dir = AddBackslash(folder);
    start %= kTempNameRange;
    std::uint32_t n = start;
    for (;;) {
        n = (n + 1) % kTempNameRange;
        if (n == start)
            throw Exception("Unable to create a file in the destination directory because it contains too many files");
        // "zp" and n in six upper-case hexadecimal digits.
        char name[] = "zp000000.tmp";
        for (std::uint32_t i = 0, v = n; i < 6; ++i, v >>= 4) name[7 - i] = "0123456789ABCDEF"[v & 15];
        std::string candidate = dir + name;
        if (!taken(candidate)) return candidate;
    }
}

std::string MakeUniqueTempName(const std::string& folder) {
    return MakeUniqueTempName(folder, RandomTempNameStart(), PathExists);
}

UniqueTempFile CreateUniqueTempFile(const std::string& folder,
                                    const std::function<void(const std::string&)>& announce) {
    return CreateUniqueTempFile(folder, RandomTempNameStart(), announce);
}

UniqueTempFile CreateUniqueTempFile(const std::string& folder, std::uint32_t start,
                                    const std::function<void(const std::string&)>& announce) {
    UniqueTempFile created;
    created.Name = MakeUniqueTempName(folder, start, [&](const std::string& candidate) {
        if (announce) {
            // Only a name that is free is announced: the journal never names someone else's file.
            if (PathExists(candidate)) return true;
            announce(candidate);
        }
        created.File.reset(
            ::CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (created.File) return false;
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;
        // A folder of that name refuses access rather than saying it exists.
        if (error == ERROR_ACCESS_DENIED && PathExists(candidate)) return true;
        throw Exception(SysErrorMessage(error));
    });
    return created;
}

std::string GetTempFileNameIn(const std::string& folder, const std::string& prefix) {
    char name[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, name) == 0) return std::string();
    return name;
}

// --- Environment and platform folders ---------------------------------------

std::string GetWinDir() {
    char buffer[MAX_PATH] = {};
    const UINT n = ::GetWindowsDirectoryA(buffer, MAX_PATH);
    return n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string GetSystemDir() {
    char buffer[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryA(buffer, MAX_PATH);
    return n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string GetEnv(const std::string& name) {
    return QueryGrowing(
        255, [&](char* buffer, DWORD size) { return ::GetEnvironmentVariableA(name.c_str(), buffer, size); });
}

std::string GetTempDir() {
    std::string dir = GetEnv("TMP");
    if (dir.empty() || !DirExists(dir)) {
        dir = GetEnv("TEMP");
        if (dir.empty() || !DirExists(dir)) dir = GetWinDir();
    }
    return AddBackslash(FullPath(dir));
}

std::string GetOwnPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);  // cut off: try a larger buffer
    }
}

std::string SysErrorMessage(unsigned long code) {
    char buffer[512] = {};
    const DWORD size = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, size);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty()) return FormatText("Error %d", static_cast<int>(code));
    return text;
}

}  // namespace pelorin
