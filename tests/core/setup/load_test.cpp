// LoadSetupDescription: whole descriptions written by the writer, the magic, files
// that end early, corrupted blocks and records, the header hook and file deletion.
#include <gtest/gtest.h>

#include "SampleData.h"
#include "setup/BlockWriter.h"
#include "setup/LoadSetup.h"
#include "setup/ZStream.h"

namespace pelorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const FilePath = "setup_core_description.tmp";

// Writes bytes as the extracted description and loads it.
SetupData Load(const Bytes& bytes, const SetupHeaderHook& hook = {}) {
    test::WriteFile(FilePath, bytes);
    SetupData out;
    LoadSetupDescription(FilePath, out, hook);
    return out;
}

// Magic and header block with the header's fields exactly as given.
Bytes RawDescription(const SetupHeader& header) {
    Bytes out(SetupMagic, SetupMagic + SetupMagicSize);
    const SetupHeader::Bytes h = header.Encode();
    const Bytes block = EncodeBlock(h.data(), h.size());
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

template <class R>
void Append(Bytes& out, const typename R::Bytes& record) {
    const Bytes block = EncodeBlock(record.data(), record.size());
    out.insert(out.end(), block.begin(), block.end());
}

template <class R>
void ExpectSameList(const std::vector<R>& a, const std::vector<R>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i] == b[i]) << "record " << i;
}

TEST(LoadSetup, WrittenDescriptionReadsBackWholeAndIsDeleted) {
    const SetupData in = test::SampleSetupData();
    for (BlockStorage storage : {bsCompressed, bsStored}) {
        const SetupData out = Load(EncodeSetupDescription(in, {storage}));
        EXPECT_FALSE(test::FileExists(FilePath));
        EXPECT_EQ(out.Header.AppName, in.Header.AppName);
        EXPECT_EQ(out.Header.BackColor, in.Header.BackColor);
        EXPECT_EQ(out.Header.MinNTMinor, 51);
        EXPECT_EQ(out.Header.FileCount, 2);
        EXPECT_EQ(out.Header.LicenseSize, 20);
        ASSERT_TRUE(out.License.has_value());
        EXPECT_EQ(*out.License, *in.License);
        EXPECT_EQ(out.License->c_str()[20], '\0');
        ExpectSameList(out.DirEntries, in.DirEntries);
        ExpectSameList(out.FileEntries, in.FileEntries);
        ExpectSameList(out.IconEntries, in.IconEntries);
        ExpectSameList(out.IniEntries, in.IniEntries);
        ExpectSameList(out.RegistryEntries, in.RegistryEntries);
        ExpectSameList(out.UninstallDeleteEntries, in.UninstallDeleteEntries);
        ExpectSameList(out.RunEntries, in.RunEntries);
        EXPECT_EQ(out.TotalSize, 5);
        EXPECT_TRUE(out.IconsStep);
        EXPECT_FALSE(out.RestartRequired);
    }
}

TEST(LoadSetup, HeaderOnlyDescriptionAndDerivedValues) {
    SetupData in;
    in.Header.Flags = SetupHeader::AlwaysRestart;
    const Bytes bytes = EncodeSetupDescription(in);
    EXPECT_EQ(bytes.size(), SetupMagicSize + BlockHeaderSize + GetLE32(&bytes[12]));
    const SetupData out = Load(bytes);
    EXPECT_FALSE(out.License.has_value());
    EXPECT_TRUE(out.RestartRequired);
    EXPECT_FALSE(out.IconsStep);
    EXPECT_EQ(out.TotalSize, 0);

    in.Header.Flags = SetupHeader::CreateUninstall;
    EXPECT_TRUE(Load(EncodeSetupDescription(in)).IconsStep) << "no icons, but uninstall";
}

TEST(LoadSetup, WrongMagicIsIncompatible) {
    Bytes bytes = EncodeSetupDescription(test::SampleSetupData());
    bytes[7] = 't';
    try {
        Load(bytes);
        FAIL() << "accepted a wrong magic";
    } catch (const ESetupIncompatible& e) {
        EXPECT_STREQ(e.what(),
                     "The Setup Wizard files are corrupted, or are incompatible with this version of "
                     "Pelorin Wizard. Please correct the problem or contact your provider.");
    }
    EXPECT_FALSE(test::FileExists(FilePath));
}

TEST(LoadSetup, FileEndingAnywhereIsAReadError) {
    const Bytes full = EncodeSetupDescription(test::SampleSetupData());
    SetupData out;
    out.Header.AppName = "untouched";
    for (std::size_t size = 0; size < full.size(); ++size) {
        test::WriteFile(FilePath, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)));
        EXPECT_THROW(LoadSetupDescription(FilePath, out, {}), EReadError) << "size " << size;
        ASSERT_FALSE(test::FileExists(FilePath));
    }
    EXPECT_EQ(out.Header.AppName, "untouched");
    EXPECT_THROW(LoadSetupDescription("setup_core_missing.tmp", out, {}), EReadError);
}

TEST(LoadSetup, AnyCorruptedBlockIsReportedAsCorruptedFiles) {
    const Bytes full = EncodeSetupDescription(test::SampleSetupData());
    // Walk the blocks: flip one payload byte and one header byte of each.
    std::size_t blocks = 0;
    for (std::size_t pos = SetupMagicSize; pos < full.size(); ++blocks) {
        const std::size_t next = pos + BlockHeaderSize + GetLE32(&full[pos + 4]);
        for (std::size_t at : {pos + 9, next - 1}) {
            Bytes bad = full;
            bad[at] ^= 0x20;
            try {
                Load(bad);
                ADD_FAILURE() << "accepted a change at " << at;
            } catch (const ESetupCorrupted& e) {
                EXPECT_STREQ(e.what(), "The Setup Wizard files are corrupted. Please contact your provider.");
            }
            EXPECT_FALSE(test::FileExists(FilePath));
        }
        pos = next;
    }
    EXPECT_EQ(blocks, 13u);  // header, license and eleven records
}

TEST(LoadSetup, RecordBlockOfTheWrongSizeIsCorrupted) {
    SetupHeader h;
    h.DirCount = 1;
    Bytes bytes = RawDescription(h);
    Append<UninstallDeleteEntry>(bytes, UninstallDeleteEntry{"x"}.Encode());  // 64 bytes, not 48
    EXPECT_THROW(Load(bytes), ESetupCorrupted);
}

TEST(LoadSetup, LengthByteAboveCapacityIsCorrupted) {
    SetupHeader h;
    h.RunCount = 1;
    Bytes bytes = RawDescription(h);
    RunEntry::Bytes run = RunEntry{"a", "b", 0}.Encode();
    run[0] = 64;
    Append<RunEntry>(bytes, run);
    EXPECT_THROW(Load(bytes), ESetupCorrupted);
}

TEST(LoadSetup, NegativeCountsReadNothingNegativeLicenseIsCorrupted) {
    SetupHeader h;
    h.DirCount = -1;
    h.FileCount = INT32_MIN;
    h.RunCount = -5;
    Bytes bytes = RawDescription(h);
    bytes.insert(bytes.end(), {9, 9, 9});  // nothing after the last list is read
    const SetupData out = Load(bytes);
    EXPECT_TRUE(out.DirEntries.empty());
    EXPECT_TRUE(out.FileEntries.empty());
    EXPECT_EQ(out.Header.RunCount, -5);

    h.LicenseSize = -1;
    EXPECT_THROW(Load(RawDescription(h)), ESetupCorrupted);
}

TEST(LoadSetup, HugeCountsEndAtTheEndOfTheFile) {
    SetupHeader h;
    h.IconCount = INT32_MAX;
    h.LicenseSize = 0;
    Bytes bytes = RawDescription(h);
    Append<IconEntry>(bytes, IconEntry{}.Encode());
    EXPECT_THROW(Load(bytes), EReadError);

    h.IconCount = 0;
    h.LicenseSize = INT32_MAX;
    EXPECT_THROW(Load(RawDescription(h)), EReadError);
}

TEST(LoadSetup, HookSeesTheHeaderBeforeTheRestIsRead) {
    const SetupData in = test::SampleSetupData();
    Bytes bytes = EncodeSetupDescription(in);
    std::string seen;
    EXPECT_EQ(Load(bytes, [&seen](const SetupHeader& h) { seen = h.AppVerName; }).Header.AppVerName, "Sample App 1.0");
    EXPECT_EQ(seen, "Sample App 1.0");

    // The rest is damaged: a hook that ends start-up wins, and its error passes unchanged.
    bytes.resize(bytes.size() - 5);
    EXPECT_THROW(Load(bytes, [](const SetupHeader&) { throw EAbort(); }), EAbort);
    EXPECT_FALSE(test::FileExists(FilePath));
}

}  // namespace
}  // namespace pelorin
