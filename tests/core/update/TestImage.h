// Builds minimal Windows images for the tests: a DOS header, the file header, an optional
// header and a section table whose raw data are laid out as asked.
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
};

// The file is as long as the furthest section or table; the bytes behind the headers are filler.
std::vector<std::uint8_t> MakeTestImage(const TestImageLayout& layout);

}  // namespace pelorin::test
