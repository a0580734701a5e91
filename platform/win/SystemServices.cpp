// SystemServices on Win32: file, folder, time and drive calls of the kernel, and the
// message boxes and dialogs of user32, comdlg32 and the shell.
#include "platform/SystemServices.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform/win/Handles.h"
#include "platform/win/ReplaceAside.h"
#include "platform/win/SystemLibrary.h"

namespace pelorin {

namespace {

bool Attributes(const std::string& path, DWORD& attributes) {
    attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM /*lParam*/, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

bool SystemServices::FileExists(const std::string& path) const {
    DWORD attributes = 0;
    return Attributes(path, attributes) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemServices::DirectoryExists(const std::string& path) const {
    DWORD attributes = 0;
    return Attributes(path, attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemServices::ForceDirectories(const std::string& path) const {
    const std::string folder = WithoutTrailingBackslash(path);
    if (folder.empty()) return false;
    if (DirectoryExists(folder)) return true;
    const std::size_t slash = folder.find_last_of('\\');
    if (slash != std::string::npos && slash > 0 && !(slash == 2 && folder[1] == ':')) {
        if (!ForceDirectories(folder.substr(0, slash))) return false;
    }
    return ::CreateDirectoryA(folder.c_str(), nullptr) || DirectoryExists(folder);
}

bool SystemServices::RemoveFile(const std::string& path) const { return ::DeleteFileA(path.c_str()) != 0; }

// Windows 95 has no MoveFileEx: there the old file steps aside while the new one moves in.
bool SystemServices::RenameOver(const std::string& from, const std::string& to) const {
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    return ReplaceByStepAside(from, to);
}

std::string SystemServices::GetCurrentDir() const {
    const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return std::string();
    std::vector<char> buffer(needed + 1);
    const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length);
}

bool SystemServices::SetCurrentDir(const std::string& path) const { return ::SetCurrentDirectoryA(path.c_str()) != 0; }

bool SystemServices::SetAttributes(const std::string& path, std::uint32_t attributes) const {
    return ::SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool SystemServices::SetFileDosTime(const std::string& path, std::uint32_t dosDateTime) const {
    FILETIME local;
    FILETIME universal;
    if (!::DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime & 0xFFFF),
                                 &local) ||
        !::LocalFileTimeToFileTime(&local, &universal)) {
        return false;
    }
    // Writing attributes only: that is allowed on a file already made read-only.
    const FileHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::SetFileTime(file.get(), nullptr, nullptr, &universal);
}

std::optional<std::int64_t> SystemServices::FileTimeStamp(const std::string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

TDriveType SystemServices::DriveType(const std::string& root) const {
    switch (::GetDriveTypeA(root.c_str())) {
    case DRIVE_NO_ROOT_DIR: return TDriveType::dtNoRootDir;
    case DRIVE_REMOVABLE: return TDriveType::dtRemovable;
    case DRIVE_FIXED: return TDriveType::dtFixed;
    case DRIVE_REMOTE: return TDriveType::dtRemote;
    case DRIVE_CDROM: return TDriveType::dtCDRom;
    case DRIVE_RAMDISK: return TDriveType::dtRamDisk;
    default: return TDriveType::dtUnknown;
    }
}

std::string SystemServices::VolumeLabel(const std::string& root) const {
    char label[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0)) {
        return std::string();
    }
    return label;
}

std::string SystemServices::OemToAnsiText(const std::string& text) const {
    std::string result = text;
    if (!result.empty()) ::OemToCharBuffA(text.data(), &result[0], static_cast<DWORD>(text.size()));
    return result;
}

void SystemServices::ProcessMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void SystemServices::SetBusyCursor(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        savedCursor_ = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        return;
    }
    ::SetCursor(static_cast<HCURSOR>(savedCursor_));
    savedCursor_ = nullptr;
}

TMsgResult SystemServices::ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) {
    const UINT style = buttons == TMsgButtons::mbYesNo ? (MB_YESNO | MB_ICONQUESTION) : (MB_OK | MB_ICONSTOP);
    const int answer = ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(), style | MB_TASKMODAL);
    if (buttons == TMsgButtons::mbOK) return TMsgResult::mrOK;
    return answer == IDYES ? TMsgResult::mrYes : TMsgResult::mrNo;
}

std::optional<std::string> SystemServices::OpenFileDialog(const std::string& title, const std::string& filter,
                                                          const std::string& initialDir) {
    std::string filters = filter;
    for (char& c : filters) {
        if (c == '|') c = '\0';
    }
    filters.append(2, '\0');
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ::GetActiveWindow();
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = initialDir.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    // The common dialogs come from the system folder by full path, not from an import.
    const auto getOpenFileName = SystemProc<decltype(&::GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    if (!getOpenFileName(&ofn)) return std::nullopt;
    return std::string(file);
}

std::optional<std::string> SystemServices::BrowseForFolder(const std::string& initialDir) {
    const ComInit com;
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = ::GetActiveWindow();
    info.pszDisplayName = display;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initialDir.c_str());
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (!chosen) return std::nullopt;
    char path[MAX_PATH] = {};
    const bool ok = ::SHGetPathFromIDListA(chosen, path) != 0;
    ::CoTaskMemFree(chosen);
    if (!ok) return std::nullopt;
    return std::string(path);
}

}  // namespace pelorin
