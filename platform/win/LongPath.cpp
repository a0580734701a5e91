// Converts a path from the ANSI code page and, past the ANSI calls' limit, makes it full and
// prefixes it; the extended form takes no relative parts, so the full path is built first.
#include "platform/win/LongPath.h"

#include <vector>

namespace pelorin {

namespace {

// Directories are held to MAX_PATH less room for an 8.3 name, the tightest of the ANSI limits.
constexpr std::size_t kAnsiLimit = MAX_PATH - 12;

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::wstring FullWidePath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
    return length == 0 || length >= needed ? path : std::wstring(buffer.data(), length);
}

}  // namespace

std::wstring WidePathForSystem(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (path.size() < kAnsiLimit || path.rfind("\\\\?\\", 0) == 0) return wide;
    const std::wstring full = FullWidePath(wide);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

DWORD PathAttributes(const std::string& path) { return ::GetFileAttributesW(WidePathForSystem(path).c_str()); }

bool DeletePath(const std::string& path) { return ::DeleteFileW(WidePathForSystem(path).c_str()) != 0; }

bool RemoveDirectoryPath(const std::string& path) { return ::RemoveDirectoryW(WidePathForSystem(path).c_str()) != 0; }

bool RemovePathAtRestart(const std::string& path) {
    return ::MoveFileExW(WidePathForSystem(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

}  // namespace pelorin
