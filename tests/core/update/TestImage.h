// Builds minimal Windows images for the tests: a DOS header, the file header, an optional
// header (PE32+ or PE32, with its data directory) and a section table laid out as asked.
#pragma once

#include <cstdint>
#include <vector>

namespace pelorin::test {

struct TestSection {
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

struct TestImageLayout {
    std::vector<TestSection> sections;
    std::uint32_t symbolTable = 0;  // 0: stripped
    std::uint32_t symbolCount = 0;
    std::uint32_t stringTableSize = 4;
    bool pe32 = false;                    // PE32 instead of PE32+
    std::uint32_t directoryEntries = 16;  // the optional header's NumberOfRvaAndSizes
    std::uint32_t certificateOffset = 0;  // the security entry of the data directory
    std::uint32_t certificateSize = 0;
};

// File offset of the security entry in images of this layout.
std::uint32_t SecurityEntryOffset(const TestImageLayout& layout);

// The file is as long as the furthest section or table; the bytes behind the headers are filler.
std::vector<std::uint8_t> MakeTestImage(const TestImageLayout& layout);

}  // namespace pelorin::test
