// TJournalFile: one WriteFile per record, no buffering of its own, so that a record is in the
// system's hands before the change it takes back is made.
#include "setup/install/JournalFile.h"

#include <windows.h>

#include "core/Exception.h"
#include "platform/win/WriteResult.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/install/TestKillPoint.h"
#include "setup/install/UndoJournal.h"

namespace pelorin {

std::string JournalPathFor(const std::string& winDir, const std::string& appName) {
    return AddBackslash(winDir) + JournalFileName(appName);
}

void TJournalFile::Open(const std::string& path, const std::string& appName, const std::string& logPath,
                        std::uint8_t commonGroup) {
    path_ = path;
    records_ = 0;
    files_ = 0;
    file_.reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_)
        throw Exception("Setup was unable to create its recovery journal " + path + "\r\n\r\n" +
                        SysErrorMessage(::GetLastError()));
    Write(EncodeJournalStart(appName, logPath, commonGroup));
}

void TJournalFile::Append(std::uint8_t kind, const std::vector<std::string>& strings, std::uint32_t value) {
    if (!file_) return;
    Write(EncodeJournalRecord(kind, strings, value));
    TestKillPoint("record", ++records_);
}

void TJournalFile::NoteFileData() {
    if (file_) TestKillPoint("write", ++files_);
}

void TJournalFile::Discard() {
    if (!file_) return;
    file_.reset();
    ::DeleteFileA(path_.c_str());
}

void TJournalFile::Write(const std::string& bytes) {
    const DWORD error = WriteWholeBuffer(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
    if (error != ERROR_SUCCESS)
        throw Exception("Setup was unable to write its recovery journal " + path_ + "\r\n\r\n" +
                        SysErrorMessage(error));
}

}  // namespace pelorin
