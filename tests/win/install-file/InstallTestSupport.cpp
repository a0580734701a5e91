// The installation tests' helpers. Archives are compressed with zlib here, independently of the
// program's own decoder; snapshots are plain sorted text so a diff shows any residue.
#include "tests/win/install-file/InstallTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <sstream>

#include "platform/win/Handles.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"

namespace pelorin::testing {

int ScriptedInstallPrompt::MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) {
    Questions.push_back({text, caption, kind, buttons});
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return IDABORT;
    }
    const int answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void RecordingProgress::SetPosition(std::int64_t position) {
    Pos = position;
    HighestPos = std::max(HighestPos, position);
}

bool RecordingProgress::ProcessMessagesAndCheckCancel() {
    ++Checks;
    if (OnCheck) OnCheck(Checks);
    return CancelAt != 0 && Checks >= CancelAt;
}

namespace {

void ListTree(const std::string& root, const std::string& relative, std::vector<std::string>& lines) {
    WIN32_FIND_DATAA data{};
    const std::string dir = relative.empty() ? root : root + "\\" + relative;
    const FindHandle find(::FindFirstFileA((dir + "\\*").c_str(), &data));
    if (!find) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string rel = relative.empty() ? name : relative + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            lines.push_back(rel + "\\");
            ListTree(root, rel, lines);
        } else {
            lines.push_back(rel + " " + std::to_string(data.nFileSizeLow));
        }
    } while (::FindNextFileA(find.get(), &data));
}

void ExportKey(HKEY key, const std::string& path, std::vector<std::string>& lines) {
    lines.push_back("[" + path + "]");
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name, type = 0;
        BYTE data[4096];
        DWORD dataSize = sizeof data;
        if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        std::ostringstream line;
        line << path << " \"" << name << "\" type " << type << " =";
        for (DWORD b = 0; b < dataSize; ++b) line << ' ' << static_cast<int>(data[b]);
        lines.push_back(line.str());
    }
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD nameSize = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        KeyHandle child;
        if (::RegOpenKeyExA(key, name, 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            ExportKey(child.get(), path + "\\" + name, lines);
    }
}

std::string Joined(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace

FileEntry ArchiveBuilder::Add(const std::string& data, FileEntry base) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), 6);
    packed.resize(size);
    base.DataOffset = static_cast<std::int32_t>(bytes_.size());
    base.CompressedSize = static_cast<std::uint32_t>(packed.size());
    base.UncompressedSize = static_cast<std::uint32_t>(data.size());
    base.Adler32 = static_cast<std::uint32_t>(
        adler32(1, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    bytes_ += "zel8" + packed;
    return base;
}

std::string ArchiveBuilder::Write() const {
    const std::string path = AddBackslash(folder_) + "PELORIN.DAT";
    WriteText(path, bytes_);
    return path;
}

FileEntry EntryFor(const std::string& dest, std::uint8_t flags, std::uint8_t copyMode) {
    FileEntry entry;
    entry.DestName = dest;
    entry.Flags = flags;
    entry.CopyMode = copyMode;
    entry.FileTime = 0x01D0000012345678ull;
    return entry;
}

std::uint64_t LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void SetLastWriteTime(const std::string& path, std::uint64_t time) {
    const FileHandle file(
        ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME ft{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    ::SetFileTime(file.get(), nullptr, nullptr, &ft);
}

std::string TreeListing(const std::string& root) {
    std::vector<std::string> lines;
    ListTree(root, "", lines);
    return Joined(lines);
}

std::string RegistryExport(HKEY root, const std::string& subKey) {
    KeyHandle key;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return "";
    std::vector<std::string> lines;
    ExportKey(key.get(), subKey, lines);
    return Joined(lines);
}

void UseFolders(const std::string& root) {
    SetupGlobals& globals = Globals();
    globals.AppDir = root + "\\app";
    globals.WinDir = root + "\\win";
    globals.SysDir = root + "\\win\\system";
    globals.SrcDir = root + "\\src";
    ::CreateDirectoryA(globals.WinDir.c_str(), nullptr);
    ::CreateDirectoryA(globals.SysDir.c_str(), nullptr);
    ::CreateDirectoryA(globals.SrcDir.c_str(), nullptr);
}

namespace {

const char* const kEmulatedVariable = "PELORIN_EMULATED_RUN";

std::string OwnExeName() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full = path;
    return full.substr(full.find_last_of('\\') + 1);
}

}  // namespace

int RunSelfAs(const std::string& wineVersion, const std::string& filter) {
    // Per-program setting, so other programs of the prefix keep their version.
    const std::string keyPath = "Software\\Wine\\AppDefaults\\" + OwnExeName();
    KeyHandle key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    ::RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(wineVersion.c_str()),
                     static_cast<DWORD>(wineVersion.size() + 1));
    key.reset();

    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string command = "\"" + std::string(path) + "\" --gtest_filter=" + filter;
    ::SetEnvironmentVariableA(kEmulatedVariable, "1");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD code = 99;
    if (::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        const KernelHandle process(pi.hProcess), thread(pi.hThread);
        ::WaitForSingleObject(process.get(), INFINITE);
        ::GetExitCodeProcess(process.get(), &code);
    }
    ::SetEnvironmentVariableA(kEmulatedVariable, nullptr);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
    return static_cast<int>(code);
}

bool InEmulatedRun() {
    char value[8] = {};
    return ::GetEnvironmentVariableA(kEmulatedVariable, value, sizeof value) > 0;
}

bool SmallDriveMounted() {
    ULARGE_INTEGER total{};
    return ::GetFileAttributesA("E:\\pelorin-small-drive") != INVALID_FILE_ATTRIBUTES &&
           ::GetDiskFreeSpaceExA("E:\\", nullptr, &total, nullptr) && total.QuadPart <= 4u << 20;
}

void FillDrive(const std::string& path) {
    const FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string chunk(64u << 10, 'f');
    DWORD put = 0;
    while (file && ::WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &put, nullptr) &&
           put == chunk.size()) {}
}

}  // namespace pelorin::testing
