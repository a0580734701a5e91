// UndoAll: takes the records newest first and undoes each by its kind. A failed action
// only turns the answer false; an error raised by one is reported and the replay goes on.
#include "setup/install/Undo.h"

#include <windows.h>
#include <shlobj.h>

#include "core/FilePath.h"
#include "platform/win/LongPath.h"
#include "setup/CmnFunc.h"
#include "setup/install/DDEInt.h"
#include "setup/install/UndoFile.h"
#include "setup/install/UndoProgman.h"
#include "setup/install/UndoRegistry.h"

namespace pelorin {
namespace {

void UndoDirectory(TUndoContext& context, const UndoRecord& record) {
    const std::string dir = record.String(0);
    if (!DirExists(dir)) return;
    // The directory may be the current one, which cannot be removed.
    ::SetCurrentDirectoryA(dir.substr(0, 3).c_str());
    if (!RemoveDirectoryPath(dir)) {
        context.Fail(ukDirectory, dir, "error " + std::to_string(::GetLastError()));
        return;
    }
    if (record.value & udNotifyShell) ::SHChangeNotify(SHCNE_RMDIR, SHCNF_PATHA, dir.c_str(), nullptr);
}

// Writes "no value" for the key, or for the whole section when key is null.
void DeleteIniEntry(const std::string& file, const std::string& section, const char* key) {
    if (file.empty())
        ::WriteProfileStringA(section.c_str(), key, nullptr);
    else
        ::WritePrivateProfileStringA(section.c_str(), key, nullptr, file.c_str());
}

bool IniSectionHasKeys(const std::string& file, const std::string& section) {
    char names[256] = {};
    if (file.empty())
        ::GetProfileStringA(section.c_str(), nullptr, "", names, sizeof names);
    else
        ::GetPrivateProfileStringA(section.c_str(), nullptr, "", names, sizeof names, file.c_str());
    return names[0] != '\0';
}

void UndoIniValue(const UndoRecord& record) {
    const std::string file = record.String(0);
    const std::string section = record.String(1);
    DeleteIniEntry(file, section, record.String(2).c_str());
    if (!IniSectionHasKeys(file, section)) DeleteIniEntry(file, section, nullptr);
}

void UndoRecordAction(TUndoContext& context, TProgmanUndo& progman, const UndoRecord& record) {
    switch (record.kind) {
    case ukDirectory: UndoDirectory(context, record); break;
    case ukFile: UndoFileRecord(context, record); break;
    case ukProgman: progman.Undo(context, record); break;
    case ukIniValue: UndoIniValue(record); break;
    case ukIniSection: DeleteIniEntry(record.String(0), record.String(1), nullptr); break;
    case ukRegKeyTree: UndoRegKeyTree(context, record); break;
    case ukRegKeyIfEmpty:
    case ukRegValue: UndoRegKeyIfEmpty(context, record); break;
    case ukShellNotify:
        ::SHChangeNotify(static_cast<LONG>(record.value), SHCNF_PATHA | SHCNF_FLUSH, record.String(0).c_str(), nullptr);
        break;
    default: break;  // kinds of a later version: skipped
    }
}

std::string WithFullStop(const std::string& message) {
    return !message.empty() && message.back() == '.' ? message : message + ".";
}

}  // namespace

TUndoContext::TUndoContext(const UndoOptions& options)
    : options_(options), prompt_(options.Prompt ? options.Prompt : &boxes_) {
    if (!options.RunningFile.empty()) runningShortName_ = ExtractFileName(GetShortName(FullPath(options.RunningFile)));
}

void TUndoContext::Fail(std::uint8_t kind, const std::string& item, const std::string& reason) {
    result_ = false;
    if (options_.Failures) options_.Failures->push_back({kind, item, reason});
}

void TUndoContext::Scheduled(const std::string& file) {
    runningScheduled_ = true;
    if (options_.Scheduled) options_.Scheduled->push_back(file);
}

bool UndoAll(TUndoChanges& changes, bool FullUninstall) {
    UndoOptions options;
    options.FullUninstall = FullUninstall;
    return UndoAll(changes, options);
}

bool UndoAll(TUndoChanges& changes, const UndoOptions& options) {
    const TDDE dde;
    TUndoContext context(options);
    {
        TProgmanUndo progman(dde);  // its conversation closes before the DDE instance
        while (!changes.Empty()) {
            const UndoRecord record = changes.TakeLast();
            try {
                UndoRecordAction(context, progman, record);
            } catch (const EAbort&) {
                context.Fail(record.kind, record.String(0), "aborted");
            } catch (const std::exception& e) {
                context.Fail(record.kind, record.String(0), e.what());
                context.Prompt().ShowError(WithFullStop(e.what()));
            }
        }
    }
    return context.Result();
}

}  // namespace pelorin
