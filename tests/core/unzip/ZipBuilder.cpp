// The test archive builder: local headers with their data, central headers, end record.
// Sizes are those of the data; the method is written but nothing is compressed.
#include "ZipBuilder.h"

#include "update/unzip/Crc32.h"

namespace pelorin::test {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::uint32_t TestCrc32(const std::vector<std::uint8_t>& data) {
    return ~UpdateCrc32(kCrcStart, data.data(), data.size());
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

ZipBuilder& ZipBuilder::Add(const std::string& name, const std::string& text) {
    BuiltEntry entry;
    entry.name = name;
    entry.data = Bytes(text);
    return Add(entry);
}

ZipBuilder& ZipBuilder::Add(const BuiltEntry& entry) {
    entries_.push_back(entry);
    return *this;
}

ZipBuilder& ZipBuilder::Comment(const std::string& comment) {
    comment_ = comment;
    return *this;
}

ZipBuilder& ZipBuilder::Prefix(std::vector<std::uint8_t> bytes, bool countPrefix) {
    prefix_ = std::move(bytes);
    countPrefix_ = countPrefix;
    return *this;
}

std::vector<std::uint8_t> ZipBuilder::Build() const {
    std::vector<std::uint8_t> out = prefix_;
    const std::size_t base = countPrefix_ ? 0 : prefix_.size();
    std::vector<std::uint32_t> offsets;
    for (const BuiltEntry& e : entries_) {
        offsets.push_back(static_cast<std::uint32_t>(out.size() - base));
        const std::uint32_t crc = TestCrc32(e.data) ^ (e.badCrc ? 0x1u : 0u);
        Put32(out, 0x04034B50);
        Put16(out, 20);
        Put16(out, e.flags);
        Put16(out, e.method);
        Put32(out, e.dateTime);
        Put32(out, crc);
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put16(out, static_cast<std::uint32_t>(e.name.size()));
        Put16(out, 0);
        PutText(out, e.name);
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    centralOffset_ = out.size();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const BuiltEntry& e = entries_[i];
        Put32(out, 0x02014B50);
        Put16(out, 20);
        Put16(out, 20);
        Put16(out, e.flags);
        Put16(out, e.method);
        Put32(out, e.dateTime);
        Put32(out, TestCrc32(e.data) ^ (e.badCrc ? 0x1u : 0u));
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put16(out, static_cast<std::uint32_t>(e.name.size()));
        Put16(out, 0);
        Put16(out, static_cast<std::uint32_t>(e.comment.size()));
        Put16(out, e.disk);
        Put16(out, 0);
        Put32(out, e.externalAttributes);
        Put32(out, offsets[i]);
        PutText(out, e.name);
        PutText(out, e.comment);
    }
    const std::size_t centralSize = out.size() - centralOffset_;
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put32(out, static_cast<std::uint32_t>(centralSize));
    Put32(out, static_cast<std::uint32_t>(centralOffset_ - base));
    Put16(out, static_cast<std::uint32_t>(comment_.size()));
    PutText(out, comment_);
    return out;
}

}  // namespace pelorin::test
