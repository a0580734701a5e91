// TS_StringResource: loading, locking and the walk over the records, kept inside the bytes.
// A table without its end record stops at the end of its bytes.
#include "update/strings/StringResource.h"

#include "core/LittleEndian.h"
#include "core/TextFormat.h"
#include "update/strings/StringTableSource.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

namespace {

constexpr std::size_t kRecordHeader = 3;  // number and length

int RecordNumber(const std::uint8_t* record) { return GetLE16(record); }

// Unlocks on every way out of a lookup.
class LockGuard {
public:
    explicit LockGuard(TS_StringResource& resource) : resource_(resource) { resource_.Lock(); }
    ~LockGuard() { resource_.Unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    TS_StringResource& resource_;
};

}  // namespace

TS_StringResource::~TS_StringResource() { Free(); }

bool TS_StringResource::Fits(const std::uint8_t* record, std::size_t length) const {
    return record && locked_ && record >= locked_ && static_cast<std::size_t>(record - locked_) + length <= size_;
}

const std::uint8_t* TS_StringResource::NextRecord(const std::uint8_t* record) const {
    if (!Fits(record, kRecordHeader)) return nullptr;
    const std::uint8_t* next = record + kRecordHeader + record[2];
    return Fits(next, 2) ? next : nullptr;
}

const std::uint8_t* TS_StringResource::FindRecord(int number) const {
    for (const std::uint8_t* record = locked_; Fits(record, 2) && RecordNumber(record) != 0;
         record = NextRecord(record)) {
        if (RecordNumber(record) != number) continue;
        return Fits(record, kRecordHeader) && Fits(record, kRecordHeader + record[2]) ? record : nullptr;
    }
    return nullptr;
}

void TS_StringResource::Load(const std::string& name) {
    Free();
    const ProgramResourceData found = LocateStringTable(name);
    switch (found.status) {
    case TResourceStatus::rsMissing: throw EResNotFound(FormatText("No such string resource: %s", name));
    case TResourceStatus::rsLoadFailed: throw EOutOfResources("Cannot load Delphi string resource");
    case TResourceStatus::rsLockFailed: throw EOutOfResources("Cannot lock string resource");
    case TResourceStatus::rsFound: break;
    }
    name_ = name;
    resource_ = found.data;
    size_ = found.size;
}

void TS_StringResource::Free() {
    Unlock();
    resource_ = nullptr;
    size_ = 0;
}

void TS_StringResource::Lock() {
    if (!resource_) throw EOutOfResources("Cannot lock string resource");
    locked_ = resource_;
}

void TS_StringResource::Unlock() { locked_ = nullptr; }

std::string TS_StringResource::Message(int number) {
    const LockGuard lock(*this);
    const std::uint8_t* record = FindRecord(number);
    if (!record) return std::string();
    return std::string(reinterpret_cast<const char*>(record + kRecordHeader), record[2]);
}

}  // namespace pelorin
