// SystemServices on POSIX: files, folders and times through the C library. There is no
// window system: messages boxes go to standard error and dialogs count as cancelled.
#include "platform/SystemServices.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "platform/posix/NativePath.h"

namespace pelorin {

namespace {

bool StatPath(const std::string& path, struct stat& st) {
    const std::string native = NativePath(path);
    return ::stat(native.c_str(), &st) == 0;
}

constexpr std::uint32_t kReadOnly = 0x01;

}  // namespace

bool SystemServices::FileExists(const std::string& path) const {
    struct stat st {};
    return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool SystemServices::DirectoryExists(const std::string& path) const {
    struct stat st {};
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool SystemServices::ForceDirectories(const std::string& path) const {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    if (native.empty()) return false;
    for (std::size_t slash = native.find('/', 1);; slash = native.find('/', slash + 1)) {
        const std::string part = native.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    return DirectoryExists(path);
}

bool SystemServices::RemoveFile(const std::string& path) const {
    const std::string native = NativePath(path);
    return ::unlink(native.c_str()) == 0;
}

bool SystemServices::RenameOver(const std::string& from, const std::string& to) const {
    return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

std::string SystemServices::GetCurrentDir() const {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

bool SystemServices::SetCurrentDir(const std::string& path) const {
    const std::string native = NativePath(path);
    return ::chdir(native.c_str()) == 0;
}

// Only the read-only bit has a POSIX meaning: it takes the write permissions away.
bool SystemServices::SetAttributes(const std::string& path, std::uint32_t attributes) const {
    struct stat st {};
    if (!StatPath(path, st)) return false;
    const mode_t write = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & kReadOnly) ? (st.st_mode & ~write) : (st.st_mode | S_IWUSR);
    const std::string native = NativePath(path);
    return ::chmod(native.c_str(), mode & 07777) == 0;
}

bool SystemServices::SetFileDosTime(const std::string& path, std::uint32_t dosDateTime) const {
    const std::uint32_t date = dosDateTime >> 16;
    const std::uint32_t time = dosDateTime & 0xFFFF;
    std::tm local{};
    local.tm_year = static_cast<int>((date >> 9) + 80);
    local.tm_mon = static_cast<int>(((date >> 5) & 0x0F)) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>(time >> 11);
    local.tm_min = static_cast<int>((time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>((time & 0x1F) * 2);
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    if (when == static_cast<std::time_t>(-1)) return false;
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = when;
    const std::string native = NativePath(path);
    return ::utimensat(AT_FDCWD, native.c_str(), times, 0) == 0;
}

std::optional<std::int64_t> SystemServices::FileTimeStamp(const std::string& path) const {
    struct stat st {};
    if (!StatPath(path, st)) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

TDriveType SystemServices::DriveType(const std::string& /*root*/) const { return TDriveType::dtUnknown; }

std::string SystemServices::VolumeLabel(const std::string& /*root*/) const { return std::string(); }

void SystemServices::ProcessMessages() {}

// No pointer to change; only the state is kept.
void SystemServices::SetBusyCursor(bool busy) {
    busy_ = busy;
    savedCursor_ = nullptr;
}

// Without a screen nobody can answer: a Yes/No question gets the careful answer No.
TMsgResult SystemServices::ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) {
    std::cerr << caption << ": " << text << '\n';
    return buttons == TMsgButtons::mbYesNo ? TMsgResult::mrNo : TMsgResult::mrOK;
}

std::optional<std::string> SystemServices::OpenFileDialog(const std::string& /*title*/, const std::string& /*filter*/,
                                                          const std::string& /*initialDir*/) {
    return std::nullopt;
}

std::optional<std::string> SystemServices::BrowseForFolder(const std::string& /*initialDir*/) { return std::nullopt; }

}  // namespace pelorin
