// Cross-checks with the zip tools installed on the build machine: archives from
// the test-only encoders pass their tests, and their deflated archives decode here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/core/unzip-methods/ZipFile.h"
#include "tests/core/unzip-methods/encoders/ImplodeEncoder.h"
#include "tests/core/unzip-methods/encoders/ShrinkEncoder.h"
#include "tests/support/ScratchDir.h"
#include "update/unzip/Decoders.h"

namespace pelorin::test {
namespace {

namespace fs = std::filesystem;

bool HaveTool(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null").c_str()) == 0;
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override { directory_ = scratch_.Path(); }

    std::string Path(const std::string& name) const { return (directory_ / name).string(); }

    // Runs command in the scratch folder; true on exit status 0.
    bool Run(const std::string& command) const {
        return std::system(("cd '" + directory_.string() + "' && " + command + " >/dev/null 2>&1").c_str()) == 0;
    }

    static ZipEntry Entry(const std::string& name, std::uint16_t method, std::uint16_t flags, const Bytes& original,
                          Bytes compressed) {
        return ZipEntry{name, method, flags, Crc32(original), original.size(), std::move(compressed)};
    }

    testing::ScratchDir scratch_{"unzip-methods"};
    fs::path directory_;
};

Bytes Mixed(std::size_t size, std::uint32_t seed) {
    Bytes data = SampleText(size / 2, seed);
    const Bytes noise = SampleNoise(size - data.size(), seed);
    data.insert(data.end(), noise.begin(), noise.end());
    return data;
}

TEST_F(ToolTest, ShrunkAndImplodedArchivesPassUnzipAnd7z) {
    if (!HaveTool("unzip") || !HaveTool("7z")) {
        GTEST_SKIP() << "unzip or 7z not installed";
    }
    const Bytes text = SampleText(30000, 21);
    const Bytes mixed = Mixed(300000, 22);
    ShrinkOptions frequent;
    frequent.clearEvery = 5;
    Bytes large = SampleNoise(260000, 23);  // compressed size above 200000 bytes
    large.insert(large.end(), text.begin(), text.end());

    std::vector<ZipEntry> entries;
    entries.push_back(Entry("SHRINK.TXT", 1, 0, mixed, Shrink(mixed).data));
    entries.push_back(Entry("CLEARS.TXT", 1, 0, text, Shrink(text, frequent).data));
    for (const bool big : {false, true}) {
        for (const bool literalTree : {false, true}) {
            const ImplodeOptions options{big, literalTree};
            const std::string name = std::string("IMP") + (big ? "8K" : "4K") + (literalTree ? "3" : "2") + ".BIN";
            entries.push_back(Entry(name, 6, ImplodeFlags(options), mixed, Implode(mixed, options)));
        }
    }
    const ImplodeOptions bigOptions{true, true};
    entries.push_back(Entry("LARGE.BIN", 6, ImplodeFlags(bigOptions), large, Implode(large, bigOptions)));
    ASSERT_GT(entries.back().data.size(), 200000u);
    WriteFile(Path("encoders.zip"), WriteZip(entries));

    EXPECT_TRUE(Run("unzip -tqq encoders.zip"));
    EXPECT_TRUE(Run("7z t encoders.zip"));
    for (const ZipEntry& entry : entries) {  // and the same archive decodes here
        EXPECT_EQ(Crc32(Decode(entry.method, entry.flags, entry.data, entry.uncompressedSize)), entry.crc)
            << entry.name;
    }
}

TEST_F(ToolTest, InfoZipDeflateAtSeveralLevels) {
    if (!HaveTool("zip")) {
        GTEST_SKIP() << "zip not installed";
    }
    WriteFile(Path("text.txt"), SampleText(200000, 31));
    WriteFile(Path("mixed.bin"), Mixed(120000, 32));
    WriteFile(Path("tiny.txt"), Bytes(200, 'a'));
    int decoded = 0;
    for (const char* level : {"-1", "-3", "-6", "-9"}) {
        const std::string archive = std::string("level") + level + ".zip";
        ASSERT_TRUE(Run(std::string("zip -q ") + level + " " + archive + " text.txt mixed.bin tiny.txt"));
        for (const ZipEntry& entry : ReadZip(ReadFile(Path(archive)))) {
            ASSERT_EQ(entry.method, 8) << archive << " " << entry.name;
            const Bytes out = Decode(8, entry.flags, entry.data, entry.uncompressedSize);
            EXPECT_EQ(out.size(), entry.uncompressedSize) << archive << " " << entry.name;
            EXPECT_EQ(Crc32(out), entry.crc) << archive << " " << entry.name;
            ++decoded;
        }
    }
    EXPECT_EQ(decoded, 12);
}

}  // namespace
}  // namespace pelorin::test
