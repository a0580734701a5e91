// Converts a path from the ANSI code page and, past the ANSI calls' limit, makes it full and
// prefixes it; the extended form takes no relative parts, so the full path is built first.
#include "platform/win/LongPath.h"

namespace pelorin {

namespace {

// Directories are held to MAX_PATH less room for an 8.3 name, the tightest of the ANSI limits.
constexpr std::size_t kAnsiLimit = MAX_PATH - 12;

// text in wide characters, zero-terminated.
std::vector<wchar_t> Widen(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The full form of a zero-terminated path, zero-terminated; the path itself when that fails.
std::vector<wchar_t> FullWidePath(const std::vector<wchar_t>& path) {
    const DWORD needed = ::GetFullPathNameW(path.data(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<wchar_t> full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.data(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length + 1);
    return full;
}

std::vector<wchar_t> Prefixed(const wchar_t* prefix, const wchar_t* rest, std::size_t restLength) {
    std::vector<wchar_t> result(prefix, prefix + ::lstrlenW(prefix));
    result.insert(result.end(), rest, rest + restLength);
    result.push_back(L'\0');
    return result;
}

}  // namespace

WidePath WidePathForSystem(const std::string& path) {
    std::vector<wchar_t> wide = Widen(path);
    if (path.size() < kAnsiLimit || path.rfind("\\\\?\\", 0) == 0) return WidePath(std::move(wide));
    const std::vector<wchar_t> full = FullWidePath(wide);
    const std::size_t length = full.size() - 1;
    if (length >= 2 && full[0] == L'\\' && full[1] == L'\\')
        return WidePath(Prefixed(L"\\\\?\\UNC\\", full.data() + 2, length - 2));
    return WidePath(Prefixed(L"\\\\?\\", full.data(), length));
}

DWORD PathAttributes(const std::string& path) { return ::GetFileAttributesW(WidePathForSystem(path).c_str()); }

bool DeletePath(const std::string& path) { return ::DeleteFileW(WidePathForSystem(path).c_str()) != 0; }

bool RemoveDirectoryPath(const std::string& path) { return ::RemoveDirectoryW(WidePathForSystem(path).c_str()) != 0; }

bool RemovePathAtRestart(const std::string& path) {
    return ::MoveFileExW(WidePathForSystem(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

}  // namespace pelorin
