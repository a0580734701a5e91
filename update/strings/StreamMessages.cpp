// The "S_STREAM" messages. The Windows programs carry the same bytes as a resource
// (StreamMessages.rc); a test checks that the two agree.
#include "update/strings/StreamMessages.h"

#include "core/Exception.h"
#include "core/LittleEndian.h"
#include "update/strings/StringResourceCache.h"

namespace pelorin {

const char* const kStreamTableName = "S_STREAM";

namespace {

const std::vector<StringTableRecord>& StreamRecords() {
    static const std::vector<StringTableRecord> records = {
        {kSeekError, "Seek error"},
        {kInvalidSeekOrigin, "Invalid seek origin (%d)"},
        {kPutbackOverflow, "Putback overflow"},
        {kCannotFindResource, "Cannot find resource"},
        {kCannotAccessResource, "Cannot access resource"},
        {kSeekPastEndOfResource, "Seek past end of resource stream"},
        {kCannotWriteResource, "Cannot write to a resource stream"},
    };
    return records;
}

}  // namespace

std::vector<std::uint8_t> EncodeStringTable(const std::vector<StringTableRecord>& records) {
    std::vector<std::uint8_t> bytes;
    for (const StringTableRecord& record : records) {
        const std::string text = std::string(record.text).substr(0, 255);
        AppendLE16(bytes, record.number);
        bytes.push_back(static_cast<std::uint8_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

const std::vector<std::uint8_t>& BuiltinStreamTable() {
    static const std::vector<std::uint8_t> table = EncodeStringTable(StreamRecords());
    return table;
}

std::string StreamMessage(int number) {
    try {
        return LoadResourceMessage(kStreamTableName, number);
    } catch (const Exception&) {
        for (const StringTableRecord& record : StreamRecords()) {
            if (record.number == number) return record.text;
        }
        return std::string();
    }
}

}  // namespace pelorin
