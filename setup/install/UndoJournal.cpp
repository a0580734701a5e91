// The recovery journal's bytes and the plan that takes a journalled installation back.
// Reading is strict except at the very end, where a record may have been cut by the kill.
#include "setup/install/UndoJournal.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "core/LittleEndian.h"
#include "core/TextCase.h"
#include "setup/install/UndoLog.h"

namespace pelorin {
namespace {

UndoRecord MakeRecord(std::uint8_t kind, const std::vector<std::string>& strings, std::uint32_t value) {
    UndoRecord record;
    record.kind = kind;
    record.value = value;
    record.data = JoinUndoStrings(strings);
    if (record.data.size() > MaxUndoDataLength) record.data.resize(MaxUndoDataLength);
    return record;
}

// The counter text stored in a ujSharedCount record: "" for none, else its decimal value.
std::optional<long long> StoredCount(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return std::strtoll(text.c_str(), nullptr, 10);
}

constexpr char kJournalPrefix[] = "PELORIN-";
constexpr char kJournalSuffix[] = ".JNL";

}  // namespace

std::string JournalFileName(const std::string& appName) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : appName) {
        hash ^= static_cast<unsigned char>(UpperAscii(c));
        hash *= 16777619u;
    }
    static const char digits[] = "0123456789ABCDEF";
    std::string name = kJournalPrefix;
    for (int shift = 28; shift >= 0; shift -= 4) name += digits[(hash >> shift) & 0xF];
    return name + kJournalSuffix;
}

bool IsJournalFileName(const std::string& name) {
    const std::size_t prefix = sizeof kJournalPrefix - 1, suffix = sizeof kJournalSuffix - 1;
    if (name.size() != prefix + 8 + suffix) return false;
    if (!SameText(name.substr(0, prefix), kJournalPrefix) || !SameText(name.substr(prefix + 8), kJournalSuffix))
        return false;
    for (std::size_t i = prefix; i < prefix + 8; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::string EncodeJournalStart(const std::string& appName, const std::string& logPath, std::uint8_t commonGroup) {
    return EncodeUndoLogHeader(UndoJournalMagic, appName, commonGroup, 0) +
           EncodeJournalRecord(ujInfo, {appName, logPath}, 0);
}

std::string EncodeJournalRecord(std::uint8_t kind, const std::vector<std::string>& strings, std::uint32_t value) {
    return EncodeUndoRecord(MakeRecord(kind, strings, value));
}

UndoJournal DecodeUndoJournal(ByteSource& in) {
    unsigned char header[UndoLogHeaderSize];
    UndoJournal journal;
    // The start is written in one call before the first change: cut short, nothing was changed.
    if (in.Read(header, sizeof header) != sizeof header) return journal;
    if (std::memcmp(header, UndoJournalMagic, 8) != 0)
        throw EUndoLogError("it does not start with the signature of a recovery journal");
    const std::size_t titleLength = header[10];
    if (titleLength > UndoLogTitleMax) throw EUndoLogError("the title length is out of range");

    journal.Changes.Title.assign(reinterpret_cast<const char*>(header + 11), titleLength);
    journal.Changes.CommonGroup = header[74];
    bool first = true;
    for (std::size_t number = 1;; ++number) {
        unsigned char head[UndoRecordHeadSize];
        if (in.Read(head, sizeof head) != sizeof head) break;
        const std::size_t length = GetLE16(head + 13);
        if (length > MaxUndoDataLength)
            throw EUndoLogError("record " + std::to_string(number) + " claims more data than a record can hold");
        std::string data(length, '\0');
        if (length != 0 && in.Read(&data[0], length) != length) break;
        UndoRecord record;
        record.kind = head[12];
        record.value = GetLE32(head + 8);
        record.data = std::move(data);
        if (first != (record.kind == ujInfo))
            throw EUndoLogError(first ? "it does not name its application" : "it names its application twice");
        if (first) {
            journal.AppName = record.String(0);
            journal.LogPath = record.String(1);
            first = false;
            continue;
        }
        journal.Changes.AddRecord(record.kind, record.data.data(), record.data.size(), record.value);
    }
    if (in.Failed()) throw EUndoLogError("it cannot be read");
    return journal;
}

UndoJournal DecodeUndoJournal(const std::string& bytes) {
    MemoryByteSource in(bytes.data(), bytes.size());
    return DecodeUndoJournal(in);
}

TUndoChanges PlanJournalRollback(const UndoJournal& journal, const SharedCountQuery& currentCount) {
    TUndoChanges plan;
    plan.Title = journal.Changes.Title;
    plan.CommonGroup = journal.Changes.CommonGroup;
    for (const UndoRecord& record : journal.Changes.Records()) {
        if (record.kind <= ukLastKind) {
            plan.AddRecord(record.kind, record.data.data(), record.data.size(), record.value);
            continue;
        }
        if (record.kind != ujSharedCount) continue;
        const std::string path = record.String(0);
        if (currentCount(path) == StoredCount(record.String(2))) continue;  // not raised, or already lowered
        plan.AddChange(ukFile, {path, record.String(1)}, record.value);
    }
    return plan;
}

}  // namespace pelorin
