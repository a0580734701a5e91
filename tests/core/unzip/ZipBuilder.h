// Builds small zip archives in memory for the tests: entries with given bytes, methods,
// flags, times and comments, an archive comment, and bytes in front that offsets may ignore.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin::test {

struct BuiltEntry {
    std::string name;                // as stored, "/" separated
    std::vector<std::uint8_t> data;  // stored as is (the method number is only a label)
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t dateTime = 0x50224B63;  // 2020-01-02 09:27:06
    std::uint32_t externalAttributes = 0x20;
    std::string comment;
    std::uint16_t disk = 0;
    bool badCrc = false;  // store a CRC-32 that does not match the data
};

class ZipBuilder {
public:
    ZipBuilder& Add(const std::string& name, const std::string& text);
    ZipBuilder& Add(const BuiltEntry& entry);
    ZipBuilder& Comment(const std::string& comment);
    // Bytes before the first local header; with countPrefix off the offsets ignore them.
    ZipBuilder& Prefix(std::vector<std::uint8_t> bytes, bool countPrefix);

    std::vector<std::uint8_t> Build() const;
    // Where the central directory begins in the last Build().
    std::size_t CentralOffset() const { return centralOffset_; }

private:
    std::vector<BuiltEntry> entries_;
    std::string comment_;
    std::vector<std::uint8_t> prefix_;
    bool countPrefix_ = true;
    mutable std::size_t centralOffset_ = 0;
};

std::uint32_t TestCrc32(const std::vector<std::uint8_t>& data);
std::vector<std::uint8_t> Bytes(const std::string& text);

}  // namespace pelorin::test
