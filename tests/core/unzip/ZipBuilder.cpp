// The test archive builder: local headers with their data, central headers, end record.
// Sizes are those of the data; the method is written but nothing is compressed.
#include "ZipBuilder.h"

#include "core/LittleEndian.h"
#include "update/unzip/Crc32.h"

namespace pelorin::test {

namespace {

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
        AppendLE32(out, 0x04034B50);
        AppendLE16(out, 20);
        AppendLE16(out, e.flags);
        AppendLE16(out, e.method);
        AppendLE32(out, e.dateTime);
        AppendLE32(out, crc);
        AppendLE32(out, static_cast<std::uint32_t>(e.data.size()));
        AppendLE32(out, static_cast<std::uint32_t>(e.data.size()));
        AppendLE16(out, static_cast<std::uint16_t>(e.name.size()));
        AppendLE16(out, 0);
        PutText(out, e.name);
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    centralOffset_ = out.size();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const BuiltEntry& e = entries_[i];
        AppendLE32(out, 0x02014B50);
        AppendLE16(out, 20);
        AppendLE16(out, 20);
        AppendLE16(out, e.flags);
        AppendLE16(out, e.method);
        AppendLE32(out, e.dateTime);
        AppendLE32(out, TestCrc32(e.data) ^ (e.badCrc ? 0x1u : 0u));
        AppendLE32(out, static_cast<std::uint32_t>(e.data.size()));
        AppendLE32(out, static_cast<std::uint32_t>(e.data.size()));
        AppendLE16(out, static_cast<std::uint16_t>(e.name.size()));
        AppendLE16(out, 0);
        AppendLE16(out, static_cast<std::uint16_t>(e.comment.size()));
        AppendLE16(out, e.disk);
        AppendLE16(out, 0);
        AppendLE32(out, e.externalAttributes);
        AppendLE32(out, offsets[i]);
        PutText(out, e.name);
        PutText(out, e.comment);
    }
    const std::size_t centralSize = out.size() - centralOffset_;
    AppendLE32(out, 0x06054B50);
    AppendLE16(out, 0);
    AppendLE16(out, 0);
    AppendLE16(out, static_cast<std::uint16_t>(entries_.size()));
    AppendLE16(out, static_cast<std::uint16_t>(entries_.size()));
    AppendLE32(out, static_cast<std::uint32_t>(centralSize));
    AppendLE32(out, static_cast<std::uint32_t>(centralOffset_ - base));
    AppendLE16(out, static_cast<std::uint16_t>(comment_.size()));
    PutText(out, comment_);
    return out;
}

}  // namespace pelorin::test
