// TJournalFile: the recovery journal of the running installation in the Windows folder.
// Each record is on disk before its change is made; the file stays if the process dies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/Handles.h"

namespace pelorin {

// The journal path of an application: {win}\PELORIN-xxxxxxxx.JNL.
std::string JournalPathFor(const std::string& winDir, const std::string& appName);

class TJournalFile {
public:
    TJournalFile() = default;
    TJournalFile(const TJournalFile&) = delete;
    TJournalFile& operator=(const TJournalFile&) = delete;
    // Closes the file and keeps it: only Discard says that nothing is left to recover.
    ~TJournalFile() = default;

    // Creates the journal (replacing a file of that name) and writes its start. Raises when
    // the file cannot be created or written.
    void Open(const std::string& path, const std::string& appName, const std::string& logPath,
              std::uint8_t commonGroup);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // Appends one record; raises when it is not written whole (a short write is a full disk).
    void Append(std::uint8_t kind, const std::vector<std::string>& strings, std::uint32_t value);
    // The installation's data has started to flow into the next file (a point for the tests).
    void NoteFileData();
    // The installation completed or was rolled back: closes and deletes the journal.
    void Discard();

private:
    void Write(const std::string& bytes);

    FileHandle file_;
    std::string path_;
    unsigned records_ = 0;
    unsigned files_ = 0;
};

}  // namespace pelorin
