// The buffered stream over a stream that counts its calls, the file streams, and the
// messages of the "S_STREAM" string table.
#include <gtest/gtest.h>

#include "ErrorOf.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/SmallDrive.h"
#include "update/strings/BufferStream.h"
#include "update/strings/FileStream.h"
#include "update/strings/LFNFileStream.h"
#include "update/strings/MemoryStream.h"
#include "update/strings/StreamMessages.h"
#include "update/strings/StringResource.h"
#include "update/strings/StringResourceCache.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {
namespace {

// A memory stream that counts reads, writes and seeks that move.
class CountingStream : public TMemoryStream {
public:
    using TMemoryStream::TMemoryStream;
    std::size_t Read(void* buffer, std::size_t count) override {
        ++reads;
        return TMemoryStream::Read(buffer, count);
    }
    std::size_t Write(const void* buffer, std::size_t count) override {
        ++writes;
        return count > writeLimit ? TMemoryStream::Write(buffer, writeLimit) : TMemoryStream::Write(buffer, count);
    }
    std::int64_t Seek(std::int64_t offset, int origin) override {
        if (!(offset == 0 && origin == soFromCurrent)) ++seeks;
        return TMemoryStream::Seek(offset, origin);
    }
    int reads = 0, writes = 0, seeks = 0;
    std::size_t writeLimit = SIZE_MAX;
};

std::vector<std::uint8_t> Sequence(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return bytes;
}

using test::ErrorOf;

TEST(BufferStream, ReadsThroughTheBufferAndKeepsTheLogicalPosition) {
    CountingStream under(Sequence(20000));
    TS_BufferStream stream(under);
    int fills = 0;
    stream.OnFillBuffer = [&](TS_BufferStream&) { ++fills; };
    std::vector<std::uint8_t> got(100);
    ASSERT_EQ(stream.Read(got.data(), got.size()), 100u);
    EXPECT_EQ(got, std::vector<std::uint8_t>(Sequence(100)));
    EXPECT_EQ(under.reads, 1);
    EXPECT_EQ(stream.Position(), 100);
    EXPECT_EQ(under.Position(), 8192);

    // Seeking to where the stream already stands does no I/O at all.
    const int seeks = under.seeks;
    EXPECT_EQ(stream.Seek(100, soFromBeginning), 100);
    EXPECT_EQ(stream.Seek(0, soFromCurrent), 100);
    EXPECT_EQ(under.seeks, seeks);
    EXPECT_EQ(under.reads, 1);

    // From the end, both signs of the offset count back.
    EXPECT_EQ(stream.Seek(-4, soFromEnd), 19996);
    EXPECT_EQ(stream.Seek(4, soFromEnd), 19996);
    std::vector<std::uint8_t> tail(10);
    EXPECT_EQ(stream.Read(tail.data(), tail.size()), 4u);
    EXPECT_EQ(ErrorOf([&] { stream.Seek(0, 3); }), "Invalid seek origin (3)");

    stream.Seek(8190, soFromBeginning);
    std::vector<std::uint8_t> across(10);
    ASSERT_EQ(stream.Read(across.data(), across.size()), 10u);
    EXPECT_EQ(across[0], Sequence(8191)[8190]);
    EXPECT_EQ(fills, 3);
}

TEST(BufferStream, PutbackStepsBackWithinTheBuffer) {
    CountingStream under(Sequence(10));
    TS_BufferStream stream(under);
    EXPECT_EQ(ErrorOf([&] { stream.Putback(1); }), "Putback overflow");
    std::uint8_t byte = 0;
    stream.Read(&byte, 1);
    stream.Putback(0xAA);
    EXPECT_EQ(stream.Position(), 0);
    stream.Read(&byte, 1);
    EXPECT_EQ(byte, 0xAA);
    stream.Putback(0xBB);
    EXPECT_EQ(ErrorOf([&] { stream.Putback(0xCC); }), "Putback overflow");
}

TEST(BufferStream, WritesAreCollectedAndFlushed) {
    CountingStream under;
    {
        TS_BufferStream stream(under);
        int flushes = 0;
        stream.OnFlushBuffer = [&](TS_BufferStream&) { ++flushes; };
        const std::vector<std::uint8_t> data = Sequence(10000);
        EXPECT_EQ(stream.Write(data.data(), 100), 100u);
        EXPECT_EQ(under.writes, 0);
        EXPECT_EQ(stream.Position(), 100);
        EXPECT_EQ(stream.Size(), 100);
        EXPECT_EQ(stream.Write(data.data() + 100, 9900), 9900u);
        EXPECT_EQ(under.writes, 1);
        EXPECT_EQ(flushes, 1);
        EXPECT_EQ(stream.Size(), 10000);
        // Reading after writing sees the written bytes.
        stream.Seek(9990, soFromBeginning);
        std::vector<std::uint8_t> back(10);
        EXPECT_EQ(stream.Read(back.data(), back.size()), 10u);
        EXPECT_EQ(back, std::vector<std::uint8_t>(data.begin() + 9990, data.end()));
        stream.Seek(10000, soFromBeginning);
        stream.Write(data.data(), 5);
    }
    EXPECT_EQ(under.Size(), 10005);  // destruction flushed the last bytes
}

TEST(BufferStream, ARefusedFlushIsReported) {
    CountingStream under;
    under.writeLimit = 100;
    TS_BufferStream stream(under);
    const std::vector<std::uint8_t> data = Sequence(20000);
    EXPECT_EQ(stream.Write(data.data(), data.size()), 8192u);
    EXPECT_EQ(stream.Write(data.data(), 150), 150u);
    EXPECT_EQ(ErrorOf([&] { stream.Seek(0, soFromBeginning); }), "Seek error");
    stream.Write(data.data(), 150);
    EXPECT_EQ(ErrorOf([&] { stream.Flush(); }), "Stream write error");
}

// A device that is always full: every write fails the way a full disk's does. Under Wine the
// same device is reached through drive Z:.
TEST(FileStreams, AFullDeviceNamesTheFullDiskInTheWriteError) {
#ifdef _WIN32
    const std::string device = "Z:\\dev\\full";
#else
    const std::string device = "/dev/full";
#endif
    if (!OsFile::Open(device, TFileAccess::faWrite, TFileShare::fsDenyNone).IsOpen())
        GTEST_SKIP() << "this system has no /dev/full to stand for a full disk";
    TFileStream file(device, fmOpenWrite | fmShareDenyNone);
    const std::vector<std::uint8_t> data = Sequence(100);
    EXPECT_EQ(file.Write(data.data(), data.size()), 0u);
    const std::string reason = file.WriteFailure();
#ifndef _WIN32
    EXPECT_EQ(reason, std::strerror(ENOSPC));
#endif
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(ErrorOf([&] { file.WriteBuffer(data.data(), data.size()); }), "Stream write error: " + reason);
    TS_BufferStream buffered(file);
    buffered.Write(data.data(), data.size());
    EXPECT_EQ(ErrorOf([&] { buffered.Flush(); }), "Stream write error: " + reason);
    // The extraction's own stream fails inside a write that fills its buffer.
    TLFNFileStream extracted(device, fmOpenWrite | fmShareDenyNone);
    const std::vector<std::uint8_t> entry = Sequence(20000);
    EXPECT_EQ(ErrorOf([&] { extracted.WriteBuffer(entry.data(), entry.size()); }), "Stream write error: " + reason);
}

#ifndef _WIN32
// A real small drive: the write moves what fits, then stops with the full disk's text. Mounting
// the drive needs root; elsewhere the always-full device above stands for it.
TEST(FileStreams, ASmallDriveTakesWhatFitsAndNamesTheFullDisk) {
    const testing::SmallDrive drive(64 * 1024);
    if (!drive.Mounted()) GTEST_SKIP() << "cannot mount a small drive here (it needs root)";
    TFileStream file(drive / "big.bin", fmCreate);
    const std::vector<std::uint8_t> data = Sequence(200000);
    const std::size_t moved = file.Write(data.data(), data.size());
    const std::string reason = file.WriteFailure();
    EXPECT_GT(moved, 0u);
    EXPECT_LT(moved, 200000u);
    EXPECT_EQ(reason, std::strerror(ENOSPC));
}
#endif

TEST(FileStreams, WriteAndReadBackAFile) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("pelorin-streams-" + std::to_string(std::rand()))).string();
    const std::vector<std::uint8_t> data = Sequence(30000);
    {
        TLFNFileStream out(path, fmCreate);
        out.WriteBuffer(data.data(), data.size());
        out.Flush();
    }
    {
        TLFNFileStream in(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(in.Size(), 30000);
        in.Seek(-100, soFromEnd);
        std::vector<std::uint8_t> tail(100);
        in.ReadBuffer(tail.data(), tail.size());
        EXPECT_EQ(tail, std::vector<std::uint8_t>(data.end() - 100, data.end()));
        EXPECT_EQ(ErrorOf([&] { in.ReadBuffer(tail.data(), 1); }), "Stream read error");
    }
    std::remove(path.c_str());
    EXPECT_EQ(ErrorOf([&] { TFileStream missing(path, fmOpenRead); }), "Cannot open file " + path);
    TMemoryStream memory;
    EXPECT_EQ(ErrorOf([&] { memory.Seek(-1, soFromBeginning); }), "Seek error");
}

TEST(StringResources, TheStreamMessages) {
    const std::vector<std::string> expected = {"Seek error",
                                               "Invalid seek origin (%d)",
                                               "Putback overflow",
                                               "Cannot find resource",
                                               "Cannot access resource",
                                               "Seek past end of resource stream",
                                               "Cannot write to a resource stream"};
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(LoadResourceMessage("S_STREAM", n), expected[n - 1]) << n;
    EXPECT_EQ(LoadResourceMessage("S_STREAM", 8), "");
    EXPECT_EQ(LoadResourceMessage("S_STREAM", 0), "");
    EXPECT_EQ(StreamMessage(kPutbackOverflow), "Putback overflow");
    EXPECT_EQ(ErrorOf([] { LoadResourceMessage("S_NOTHING", 1); }), "No such string resource: S_NOTHING");
}

TEST(StringResources, TheCacheLoadsEachResourceOnceAndLocksOnlyForALookup) {
    TStringResourceCache cache;
    EXPECT_EQ(cache.Message("S_STREAM", 1), "Seek error");
    EXPECT_EQ(cache.Message("s_stream", 6), "Seek past end of resource stream");
    ASSERT_EQ(cache.Count(), 1);
    const auto* resource = static_cast<const TS_StringResource*>(cache.Items(0));
    EXPECT_TRUE(resource->Loaded());
    EXPECT_FALSE(resource->Locked());
    EXPECT_THROW(cache.Message("S_NOTHING", 1), EResNotFound);
    EXPECT_EQ(cache.Count(), 1);

    TS_StringResource unloaded;
    EXPECT_EQ(ErrorOf([&] { unloaded.Message(1); }), "Cannot lock string resource");
    EXPECT_FALSE(unloaded.Locked());
}

TEST(StringResources, TheTableEncoding) {
    const std::vector<std::uint8_t> table = EncodeStringTable({{1, "ab"}, {300, ""}});
    EXPECT_EQ(table, (std::vector<std::uint8_t>{1, 0, 2, 'a', 'b', 0x2C, 0x01, 0, 0, 0}));
    const std::vector<std::uint8_t>& builtin = BuiltinStreamTable();
    EXPECT_EQ(builtin.size(), 7u * 3 + 10 + 24 + 16 + 20 + 22 + 32 + 33 + 2);
}

}  // namespace
}  // namespace pelorin
