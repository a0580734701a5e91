// TUndoChanges: records are appended as the installation makes its changes
// and taken back newest first by the replay.
#include "setup/install/UndoChanges.h"

#include <algorithm>
#include <utility>

#include "core/Exception.h"
#include "setup/install/UndoLog.h"

namespace pelorin {

void TUndoChanges::AddRecord(std::uint8_t kind, const void* bytes, std::size_t length, std::uint32_t value) {
    // The log can hold only MaxUndoDataLength bytes per record, so memory keeps the same
    // bytes: a rollback then undoes exactly what the uninstaller would.
    const std::size_t kept = std::min(length, MaxUndoDataLength);
    UndoRecord record;
    record.kind = kind;
    record.value = value;
    if (kept != 0) record.data.assign(static_cast<const char*>(bytes), kept);
    records_.push_back(std::move(record));
    if (OnAdd) OnAdd(records_.back());
}

void TUndoChanges::AddChange(UndoKind kind, const std::vector<std::string>& strings, std::uint32_t value) {
    const std::string data = JoinUndoStrings(strings);
    AddRecord(kind, data.data(), data.size(), value);
}

void TUndoChanges::Clear() {
    records_.clear();
    Title.clear();
    CommonGroup = 0;
}

void TUndoChanges::SaveToFile(const std::string& path) const { WriteUndoLog(path, *this); }

UndoRecord TUndoChanges::TakeLast() {
    if (records_.empty()) throw Exception("The list of changes is empty");
    UndoRecord last = std::move(records_.back());
    records_.pop_back();
    return last;
}

}  // namespace pelorin
