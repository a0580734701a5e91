// Windows images without Windows: the resource library round trips through the
// portable reader for both machines, damaged images are read safely, and the file
// version comes out of images that MinGW built.
#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/PeImage.h"
#include "tools/pelorin-build/ResourceDll.h"
#include "tools/pelorin-build/VersionInfo.h"

namespace pelorin {
namespace {

std::vector<std::uint8_t> sampleData(std::size_t size) {
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return data;
}

TEST(ResourceDllTest, ResourceReadsBackForBothMachines) {
    for (const Machine machine : {Machine::I386, Machine::Amd64}) {
        for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{424}, std::size_t{70000}}) {
            SCOPED_TRACE(MachineName(machine) + " " + std::to_string(size));
            ResourceDllContent content;
            content.machine = machine;
            content.data = sampleData(size);
            const auto bytes = MakeResourceDll(content);
            EXPECT_EQ(bytes.size() % 0x200, 0u);
            const auto image = PeImage::Parse(bytes);
            ASSERT_TRUE(image.has_value());
            EXPECT_EQ(image->MachineCode(), static_cast<std::uint16_t>(machine));
            EXPECT_EQ(image->IsPe32Plus(), machine == Machine::Amd64);
            const auto data = image->Resource(10, 102);
            ASSERT_TRUE(data.has_value());
            EXPECT_EQ(*data, content.data);
            EXPECT_FALSE(image->Resource(10, 103).has_value());
            EXPECT_FALSE(image->Resource(16, std::nullopt).has_value());
            EXPECT_FALSE(ReadFileVersion(bytes).has_value());
        }
    }
}

TEST(ResourceDllTest, TruncatedOrDamagedImagesAreReadSafely) {
    ResourceDllContent content;
    content.data = sampleData(100);
    const auto good = MakeResourceDll(content);
    for (std::size_t length = 0; length < good.size(); length += 7) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + length);
        const auto image = PeImage::Parse(cut);
        if (!image) continue;
        const auto data = image->Resource(10, 102);
        if (data) {
            EXPECT_EQ(*data, content.data);
        }
    }
    // Flip every header and resource-tree byte in turn; nothing may read out of bounds.
    for (std::size_t at = 0; at < 0x200 + 88; ++at) {
        auto damaged = good;
        damaged[at] ^= 0xFF;
        const auto image = PeImage::Parse(damaged);
        if (image) (void)image->Resource(10, 102);
    }
    EXPECT_FALSE(PeImage::Parse({'M', 'Z'}).has_value());
    EXPECT_FALSE(ReadFileVersion({}).has_value());
}

void expectFixtureVersion(const char* path) {
    const auto version = ReadFileVersionOf(path);
    ASSERT_TRUE(version.has_value()) << path;
    EXPECT_EQ(version->ms, 0x00010002u);  // 1.2
    EXPECT_EQ(version->ls, 0x00030004u);  // 3.4
}

TEST(VersionInfoTest, FileVersionOfProgramsBuiltByMinGW) {
#if !defined(PELORIN_VERSIONED_x86_64) && !defined(PELORIN_VERSIONED_i686)
    GTEST_SKIP() << "MinGW is not installed; no versioned test programs";
#endif
#ifdef PELORIN_VERSIONED_x86_64
    expectFixtureVersion(PELORIN_VERSIONED_x86_64);
    EXPECT_TRUE(PeImage::Parse(testing::ReadBytes(PELORIN_VERSIONED_x86_64))->IsPe32Plus());
#endif
#ifdef PELORIN_VERSIONED_i686
    expectFixtureVersion(PELORIN_VERSIONED_i686);
    EXPECT_FALSE(PeImage::Parse(testing::ReadBytes(PELORIN_VERSIONED_i686))->IsPe32Plus());
#endif
}

}  // namespace
}  // namespace pelorin
