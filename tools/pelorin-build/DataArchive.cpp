// Streams every source through deflate into the archive, checking that offsets and
// sizes fit the 32-bit fields of FileEntry rather than letting them wrap.
#include "tools/pelorin-build/DataArchive.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>

#include "core/WriteFailure.h"
#include "setup/BlockWriter.h"
#include "setup/ZStream.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/HostSystem.h"
#include "tools/pelorin-build/VersionInfo.h"

namespace pelorin {

namespace {

void StoreSource(const FileSource& source, FileEntry& entry, std::ostream& out) {
    const auto fail = [&](const std::string& problem) {
        throw BuildError(source.projectFile, source.line, "Source", problem);
    };
    const auto offset = static_cast<std::int64_t>(out.tellp());
    if (offset < 0 || offset > INT32_MAX) fail("PELORIN.DAT would grow beyond 2 GB at " + source.path);

    std::ifstream in(source.path, std::ios::binary);
    if (!in) fail("cannot open " + source.path);
    out.write(FileDataMagic, FileDataMagicSize);
    DeflateResult result;
    try {
        result = DeflateStream(in, out);
    } catch (const Exception& error) {
        fail("cannot store " + source.path + ": " + error.what());
    }
    if (!out) fail("cannot write PELORIN.DAT" + WriteFailureSuffix());
    if (result.UncompressedSize > UINT32_MAX) fail(source.path + " is 4 GB or larger");
    if (result.CompressedSize > UINT32_MAX) fail(source.path + " does not compress below 4 GB");

    entry.DataOffset = static_cast<std::int32_t>(offset);
    entry.UncompressedSize = static_cast<std::uint32_t>(result.UncompressedSize);
    entry.CompressedSize = static_cast<std::uint32_t>(result.CompressedSize);
    entry.Adler32 = result.Adler32;
    const std::string& stamps = source.stampPath.empty() ? source.path : source.stampPath;
    entry.FileTime = LastWriteTime(stamps);
    const auto version = ReadFileVersionOf(stamps);
    entry.VersionMS = version ? version->ms : FileEntry::NoVersion;
    entry.VersionLS = version ? version->ls : FileEntry::NoVersion;
}

void CopyData(const FileEntry& from, FileEntry& to) {
    to.DataOffset = from.DataOffset;
    to.UncompressedSize = from.UncompressedSize;
    to.CompressedSize = from.CompressedSize;
    to.Adler32 = from.Adler32;
    to.FileTime = from.FileTime;
    to.VersionMS = from.VersionMS;
    to.VersionLS = from.VersionLS;
}

}  // namespace

void WriteDataArchive(Project& project, std::ostream& out) {
    std::map<std::string, std::size_t> stored;  // canonical source -> first entry using it
    auto& entries = project.setup.FileEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FileSource& source = project.sources.at(i);
        std::error_code error;
        const std::string key = std::filesystem::weakly_canonical(source.path, error).string();
        const auto earlier = stored.find(key);
        if (earlier != stored.end()) {
            CopyData(entries[earlier->second], entries[i]);
            continue;
        }
        StoreSource(source, entries[i], out);
        stored.emplace(key, i);
    }
    out.flush();
    if (!out) throw BuildError("cannot write PELORIN.DAT");
}

}  // namespace pelorin
