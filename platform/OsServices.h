// What the portable code asks of the operating system: files, folders, times, drives,
// pending window messages and the message boxes and dialogs it shows. Paths use backslashes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelorin {

enum class TDriveType { dtUnknown, dtNoRootDir, dtRemovable, dtFixed, dtRemote, dtCDRom, dtRamDisk };

enum class TMsgButtons { mbOK, mbYesNo };
enum class TMsgResult { mrOK, mrYes, mrNo };

class OsServices {
public:
    virtual ~OsServices() = default;

    // Files and folders.
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Creates the folder and every missing parent; true when it exists afterwards.
    virtual bool ForceDirectories(const std::string& path) const = 0;
    virtual bool RemoveFile(const std::string& path) const = 0;
    // Renames the file from to the name to, replacing a file of that name; false when it could not.
    virtual bool RenameOver(const std::string& from, const std::string& to) const = 0;
    virtual std::string GetCurrentDir() const = 0;
    virtual bool SetCurrentDir(const std::string& path) const = 0;
    // The attribute word as a zip archive stores it; the system applies what it understands.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) const = 0;
    // DOS date (high half) and time (low half), taken as local time.
    virtual bool SetFileDosTime(const std::string& path, std::uint32_t dosDateTime) const = 0;
    // The file's modification time in the system's own units; none when the file is missing.
    virtual std::optional<std::int64_t> FileTimeStamp(const std::string& path) const = 0;

    // Drives: root is "C:\" style; systems without drive letters report dtUnknown.
    virtual TDriveType DriveType(const std::string& root) const = 0;
    virtual std::string VolumeLabel(const std::string& root) const = 0;

    // Text from the OEM character set to the ANSI character set, byte for byte.
    virtual std::string OemToAnsiText(const std::string& text) const = 0;

    // The user interface thread.
    virtual void ProcessMessages() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    virtual TMsgResult ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) = 0;
    // Filter pairs are separated by "|" ("Zip Files (*.ZIP)|*.zip|..."); none when cancelled.
    virtual std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                                      const std::string& initialDir) = 0;
    // A folder chooser that may create the folder; none when cancelled.
    virtual std::optional<std::string> BrowseForFolder(const std::string& initialDir) = 0;
};

}  // namespace pelorin
