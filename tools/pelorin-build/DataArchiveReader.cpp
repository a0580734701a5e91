// The framing of PELORIN.DAT seen from the description: placement checks, the tiling of the
// file by the entries' data, and inflation through the setup program's own InflateStream.
#include "tools/pelorin-build/DataArchiveReader.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <istream>
#include <map>
#include <sstream>

#include "setup/ZStream.h"

namespace pelorin {

namespace {

// Where the data of an entry starts and ends, "zel8" included.
struct Extent {
    std::uint64_t begin;
    std::uint64_t end;
    std::size_t entry;
};

Extent ExtentOf(const FileEntry& entry, std::size_t index) {
    const auto begin = static_cast<std::uint64_t>(entry.DataOffset);
    return {begin, begin + FileDataMagicSize + entry.CompressedSize, index};
}

bool SameData(const FileEntry& a, const FileEntry& b) {
    return a.CompressedSize == b.CompressedSize && a.UncompressedSize == b.UncompressedSize && a.Adler32 == b.Adler32;
}

std::string HexText(std::uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::uppercase << std::hex << std::setw(8) << std::setfill('0') << value;
    return out.str();
}

std::string Unclaimed(std::uint64_t begin, std::uint64_t end) {
    return "PELORIN.DAT: bytes " + std::to_string(begin) + " to " + std::to_string(end - 1) +
           " belong to no file entry (a PELORIN.DLL of another build?)";
}

}  // namespace

std::string PrintableText(const std::string& text) {
    std::ostringstream out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(byte) << std::dec;
        } else {
            out << c;
        }
    }
    return out.str();
}

std::string EntryLabel(std::size_t index, const FileEntry& entry) {
    return "file " + std::to_string(index + 1) + " " + PrintableText(entry.DestName);
}

std::string DataArchiveReader::CheckPlacement(const FileEntry& entry) {
    if (entry.DataOffset < 0) return "a negative offset into PELORIN.DAT (" + std::to_string(entry.DataOffset) + ")";
    const Extent extent = ExtentOf(entry, 0);
    if (extent.end > size_)
        return "its data (bytes " + std::to_string(extent.begin) + " to " + std::to_string(extent.end - 1) +
               ") runs past the end of PELORIN.DAT (" + std::to_string(size_) + " bytes)";
    char magic[FileDataMagicSize] = {};
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(extent.begin));
    in_.read(magic, FileDataMagicSize);
    if (!in_) return "cannot read PELORIN.DAT at offset " + std::to_string(extent.begin);
    if (std::memcmp(magic, FileDataMagic, FileDataMagicSize) != 0)
        return "no zel8 mark at offset " + std::to_string(extent.begin) +
               " of PELORIN.DAT (damaged, or a PELORIN.DLL of another build)";
    return std::string();
}

std::vector<std::string> DataArchiveReader::CheckLayout(const std::vector<FileEntry>& files) const {
    std::vector<std::string> problems;
    std::map<std::int32_t, std::size_t> firstAt;  // offset -> first entry with data there
    std::vector<Extent> extents;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].DataOffset < 0) continue;
        const auto [first, added] = firstAt.emplace(files[i].DataOffset, i);
        if (added) {
            Extent extent = ExtentOf(files[i], i);
            extent.end = std::min(extent.end, size_);
            if (extent.begin < extent.end) extents.push_back(extent);
        } else if (!SameData(files[first->second], files[i])) {
            problems.push_back(EntryLabel(i, files[i]) + ": shares its data with " +
                               EntryLabel(first->second, files[first->second]) +
                               " but records other sizes or another checksum");
        }
    }
    std::sort(extents.begin(), extents.end(), [](const Extent& a, const Extent& b) { return a.begin < b.begin; });
    std::uint64_t claimed = 0;  // everything before this offset belongs to an entry
    const Extent* last = nullptr;
    for (const Extent& extent : extents) {
        if (extent.begin > claimed) problems.push_back(Unclaimed(claimed, extent.begin));
        if (last && extent.begin < last->end)
            problems.push_back(EntryLabel(extent.entry, files[extent.entry]) + ": its data overlaps that of " +
                               EntryLabel(last->entry, files[last->entry]));
        if (!last || extent.end > last->end) last = &extent;
        claimed = std::max(claimed, extent.end);
    }
    if (claimed < size_) problems.push_back(Unclaimed(claimed, size_));
    return problems;
}

std::string DataArchiveReader::Inflate(const FileEntry& entry, const StoredFileSink& sink) {
    std::string problem = CheckPlacement(entry);
    if (!problem.empty()) return problem;
    std::uint32_t left = entry.CompressedSize;
    std::uint64_t written = 0;
    bool tooLong = false;
    const InflateReader read = [&](std::uint8_t* buffer, std::size_t capacity) -> std::size_t {
        const auto want = static_cast<std::streamsize>(std::min<std::size_t>(capacity, left));
        in_.read(reinterpret_cast<char*>(buffer), want);
        if (in_.gcount() != want) throw EReadError("PELORIN.DAT could not be read");
        left -= static_cast<std::uint32_t>(want);
        return static_cast<std::size_t>(want);
    };
    const InflateWriter write = [&](const std::uint8_t* buffer, std::size_t count) -> std::size_t {
        const std::uint64_t room = entry.UncompressedSize - written;
        const std::size_t taken = static_cast<std::size_t>(std::min<std::uint64_t>(count, room));
        if (taken > 0) sink(buffer, taken);
        written += taken;
        tooLong = taken < count;
        return taken;
    };
    InflateResult result;
    try {
        result = InflateStream(read, write);
    } catch (const EZlibDataError&) {
        return "the compressed data is corrupted";
    } catch (const EZlibError& error) {
        return error.what();
    } catch (const EReadError& error) {
        return error.what();
    }
    if (tooLong)
        return "inflates to more than the " + std::to_string(entry.UncompressedSize) +
               " bytes that the description records";
    if (written != entry.UncompressedSize)
        return "inflates to " + std::to_string(written) + " bytes, the description records " +
               std::to_string(entry.UncompressedSize);
    if (result.Checksum != entry.Adler32)
        return "Adler-32 " + HexText(result.Checksum) + ", the description records " + HexText(entry.Adler32);
    return std::string();
}

}  // namespace pelorin
