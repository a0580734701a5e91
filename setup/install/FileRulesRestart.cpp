// RestartReplace and the WININIT.INI rewrite. The new file is composed in memory from the saved
// copy, written in one go, and the saved copy is deleted only after the write has succeeded.
#include "setup/install/FileRulesRestart.h"

#include <windows.h>

#include <vector>

#include "core/ByteSource.h"
#include "core/TextFormat.h"
#include "platform/win/Handles.h"
#include "platform/win/WriteResult.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"

namespace pelorin {

namespace {

std::string Trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

bool IsRenameHeader(const std::string& line) { return lstrcmpiA(line.c_str(), "[rename]") == 0; }

// The new file: the old lines up to the end of the "[rename]" section, then the entry, then
// the rest. Without such a section, a new one is started after the old lines.
std::string Compose(const std::vector<std::string>& old, const std::string& entry) {
    std::string out;
    bool found = false;
    std::size_t i = 0;
    for (; i < old.size(); ++i) {
        const std::string& line = old[i];
        if (Trim(line).compare(0, 1, "[") == 0) {
            if (found) break;  // the next header stays held back
            if (IsRenameHeader(line)) found = true;
        }
        out += line + "\r\n";
    }
    if (!found) out += "[rename]\r\n";
    out += entry + "\r\n";
    for (; i < old.size(); ++i) out += old[i] + "\r\n";
    return out;
}

// Creates path and writes text; false (with the file removed again) on any failure.
bool WriteWhole(const std::string& path, const std::string& text, DWORD& error) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = ::GetLastError();
        return false;
    }
    error = WriteWholeBuffer(file.get(), text.data(), static_cast<DWORD>(text.size()));
    const bool ok = error == ERROR_SUCCESS;
    const bool closed = ::CloseHandle(file.release()) != FALSE;
    if (ok && closed) return true;
    if (ok) error = ::GetLastError();
    ::DeleteFileA(path.c_str());
    return false;
}

}  // namespace

void AddWininitRename(const std::string& winDir, const std::string& line, const std::function<void()>& afterSetAside) {
    const std::string wininit = AddBackslash(winDir) + "WININIT.INI";
    std::string saved;
    std::vector<std::string> old;
    if (PathExists(wininit)) {
        saved = MakeUniqueTempName(winDir);
        if (!::MoveFileA(wininit.c_str(), saved.c_str()))
            throw Exception(FormatText("Unable to rename %s; code %d.", wininit, static_cast<int>(::GetLastError())));
    }
    if (afterSetAside) afterSetAside();

    DWORD error = 0;
    const bool read = saved.empty() || ReadTextLines(saved, old);
    if (read && WriteWhole(wininit, Compose(old, line), error)) {
        if (!saved.empty()) ::DeleteFileA(saved.c_str());
        return;
    }
    if (!read) error = ERROR_READ_FAULT;
    // The code and the system's text for it: a full drive is named as one.
    const std::string reason = SysErrorMessage(error);
    if (saved.empty())
        throw Exception(FormatText("Unable to write %s; code %d.\r\n\r\n%s", wininit, static_cast<int>(error), reason));
    // Put the old file back; when it cannot go back, say where it is kept.
    if (!::MoveFileExA(saved.c_str(), wininit.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw Exception(
            FormatText("Unable to write %s; code %d.\r\n\r\n%s\r\n\r\nIts previous contents are kept in %s.", wininit,
                       static_cast<int>(error), reason, saved));
    throw Exception(FormatText("Unable to write %s; code %d.\r\n\r\n%s", wininit, static_cast<int>(error), reason));
}

void RestartReplace(const std::string& tempName, const std::string& destName) {
    Globals().Setup.RestartRequired = true;
    if (IsNT()) {
        if (!::MoveFileExA(tempName.c_str(), destName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT))
            throw Exception(FormatText("MoveFileEx failed; code %d.", static_cast<int>(::GetLastError())));
        return;
    }
    AddWininitRename(Globals().WinDir, GetShortName(destName) + "=" + GetShortName(tempName));
}

}  // namespace pelorin
