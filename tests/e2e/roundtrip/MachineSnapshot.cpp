// Registry and file walks for the before/after comparison of the round trip. Values
// are kept as type and hexadecimal data, so that any change of content shows.
#include "tests/e2e/roundtrip/MachineSnapshot.h"

#include <algorithm>
#include <cstdio>

#include "platform/win/Handles.h"

namespace pelorin::e2e {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Hex(const BYTE* data, DWORD size) {
    std::string text;
    char digits[3];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", data[i]);
        text += digits;
    }
    return text;
}

void WalkKey(HKEY key, const std::string& path, Snapshot& out) {
    out["key " + path] = "";
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxValueName,
                           &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<char> name(std::max(maxSubKey, maxValueName) + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            continue;
        out["value " + path + "\\" + std::string(name.data(), nameSize)] =
            std::to_string(type) + ":" + Hex(data.data(), dataSize);
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExA(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        const std::string child(name.data(), nameSize);
        KeyHandle sub;
        if (::RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, sub.put()) == ERROR_SUCCESS)
            WalkKey(sub.get(), path + "\\" + child, out);
    }
}

void WalkFolder(const std::string& folder, const std::vector<std::string>& skip, Snapshot& out) {
    WIN32_FIND_DATAA found{};
    const FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (std::find(skip.begin(), skip.end(), Lower(path)) != skip.end()) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out["dir " + path] = "";
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) WalkFolder(path, skip, out);
        } else {
            const unsigned long long size =
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            const unsigned long long time =
                (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                found.ftLastWriteTime.dwLowDateTime;
            out["file " + path] = std::to_string(size) + " bytes, time " + std::to_string(time);
        }
    } while (::FindNextFileA(find.get(), &found));
}

bool Matches(const std::string& entry, const std::string& pattern) {
    const std::string name = Lower(entry);
    const std::string want = Lower(pattern);
    if (!want.empty() && want.back() == '*') return name.compare(0, want.size() - 1, want, 0, want.size() - 1) == 0;
    return name == want;
}

}  // namespace

Snapshot SnapshotRegistry(const std::vector<RegistryRoot>& roots) {
    Snapshot out;
    for (const RegistryRoot& root : roots) {
        KeyHandle key;
        if (::RegOpenKeyExA(root.root, root.subKey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
            WalkKey(key.get(), std::string(root.rootName) + "\\" + root.subKey, out);
    }
    return out;
}

Snapshot SnapshotFiles(const std::string& drive, const std::vector<std::string>& skip) {
    std::vector<std::string> lowered;
    for (const std::string& path : skip) lowered.push_back(Lower(path));
    Snapshot out;
    WalkFolder(drive, lowered, out);
    return out;
}

SnapshotDiff Compare(const Snapshot& before, const Snapshot& after) {
    SnapshotDiff diff;
    for (const auto& [name, content] : after) {
        const auto old = before.find(name);
        if (old == before.end())
            diff.added.push_back(name);
        else if (old->second != content)
            diff.changed.push_back(name);
    }
    for (const auto& entry : before) {
        if (after.count(entry.first) == 0) diff.removed.push_back(entry.first);
    }
    return diff;
}

std::vector<std::string> Without(const std::vector<std::string>& entries, const std::vector<std::string>& ignore) {
    std::vector<std::string> kept;
    for (const std::string& entry : entries) {
        const bool ignored = std::any_of(ignore.begin(), ignore.end(),
                                         [&](const std::string& pattern) { return Matches(entry, pattern); });
        if (!ignored) kept.push_back(entry);
    }
    return kept;
}

}  // namespace pelorin::e2e
