// TUndoChanges: the ordered list of changes an installation has made, oldest first.
// The installation adds a record per change; the log writer and the replay consume the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup/install/UndoRecord.h"

namespace pelorin {

class TUndoChanges {
public:
    std::string Title;             // the application name
    std::uint8_t CommonGroup = 0;  // the installation ran with administrator rights
    // Told of every record as it is added (the run log describes the change).
    std::function<void(const UndoRecord&)> OnAdd;

    TUndoChanges() = default;
    TUndoChanges(TUndoChanges&&) = default;
    TUndoChanges& operator=(TUndoChanges&&) = default;
    TUndoChanges(const TUndoChanges&) = delete;
    TUndoChanges& operator=(const TUndoChanges&) = delete;

    // Appends a record with a copy of the first `length` bytes, cut to MaxUndoDataLength.
    void AddRecord(std::uint8_t kind, const void* bytes, std::size_t length, std::uint32_t value);
    // Appends a record whose data holds the strings, each followed by one zero byte.
    void AddChange(UndoKind kind, const std::vector<std::string>& strings, std::uint32_t value);
    // Drops every record, empties Title and resets CommonGroup.
    void Clear();

    // Writes REMOVE.LOG; raises EUndoLogError when the file cannot be created or written.
    void SaveToFile(const std::string& path) const;

    const std::vector<UndoRecord>& Records() const { return records_; }
    bool Empty() const { return records_.empty(); }
    // Hands the newest record over to the replay, which undoes the list last-first.
    UndoRecord TakeLast();

private:
    std::vector<UndoRecord> records_;
};

}  // namespace pelorin
