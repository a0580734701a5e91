// The operating system's own implementation of OsServices (Win32 in the Windows builds,
// POSIX natively). Tests derive from it to script the answers of message boxes.
#pragma once

#include "platform/OsServices.h"

namespace pelorin {

class SystemServices : public OsServices {
public:
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    bool ForceDirectories(const std::string& path) const override;
    bool RemoveFile(const std::string& path) const override;
    bool RenameOver(const std::string& from, const std::string& to) const override;
    std::string GetCurrentDir() const override;
    bool SetCurrentDir(const std::string& path) const override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) const override;
    bool SetFileDosTime(const std::string& path, std::uint32_t dosDateTime) const override;
    std::optional<std::int64_t> FileTimeStamp(const std::string& path) const override;
    TDriveType DriveType(const std::string& root) const override;
    std::string VolumeLabel(const std::string& root) const override;
    std::string OemToAnsiText(const std::string& text) const override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;
    TMsgResult ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& initialDir) override;
    std::optional<std::string> BrowseForFolder(const std::string& initialDir) override;

private:
    bool busy_ = false;
    void* savedCursor_ = nullptr;  // the cursor to restore when the busy time ends
};

}  // namespace pelorin
