// Formats the file entries of a description; ratios are the compressed size in percent of
// the original, times are UTC, and flag names are those of the project file.
#include "tools/pelorin-build/PackageListing.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <vector>

#include "tools/pelorin-build/DataArchiveReader.h"
#include "tools/pelorin-build/HostSystem.h"

namespace pelorin {

namespace {

constexpr FileTime kUnitsPerSecond = 10000000;

// "YYYY-MM-DD HH:MM:SS" (iso: "YYYY-MM-DDTHH:MM:SSZ"), "-" outside 1970 to 9999.
std::string UtcText(FileTime time, bool iso) {
    const auto seconds =
        static_cast<std::int64_t>(time / kUnitsPerSecond) - static_cast<std::int64_t>(kUnixEpochInFileTimeSeconds);
    constexpr std::int64_t kYear10000 = 253402300800;
    if (seconds < 0 || seconds >= kYear10000) return "-";
    const auto value = static_cast<std::time_t>(seconds);
    const std::tm* parts = std::gmtime(&value);
    if (!parts) return "-";
    std::ostringstream out;
    out << std::put_time(parts, iso ? "%Y-%m-%dT%H:%M:%SZ" : "%Y-%m-%d %H:%M:%S");
    return out.str();
}

std::string VersionOf(const FileEntry& e) {
    if (e.VersionMS == FileEntry::NoVersion) return std::string();
    return std::to_string(e.VersionMS >> 16) + "." + std::to_string(e.VersionMS & 0xFFFF) + "." +
           std::to_string(e.VersionLS >> 16) + "." + std::to_string(e.VersionLS & 0xFFFF);
}

const char* CopyModeName(std::uint8_t mode) {
    static const char* const names[] = {"normal", "never-replace", "always-replace", "no-ask-newer"};
    return mode < 4 ? names[mode] : "unknown";
}

std::string FlagsText(std::uint8_t flags) {
    static const std::pair<std::uint8_t, const char*> names[] = {{FileEntry::ConfirmOverwrite, "confirm-overwrite"},
                                                                 {FileEntry::NoUninstall, "no-uninstall"},
                                                                 {FileEntry::RestartReplace, "restart-replace"},
                                                                 {FileEntry::RegisterServer, "register-server"},
                                                                 {FileEntry::SharedFile, "shared"},
                                                                 {FileEntry::NoEffect, "0x20"},
                                                                 {FileEntry::IsUndoLog, "undo-log"},
                                                                 {0x80, "0x80"}};
    std::string text;
    for (const auto& [bit, name] : names) {
        if ((flags & bit) != 0) text += (text.empty() ? "" : ",") + std::string(name);
    }
    return text.empty() ? "-" : text;
}

// Compressed in percent of uncompressed, rounded; "-" for an empty file.
std::string PercentText(std::uint64_t compressed, std::uint64_t uncompressed) {
    if (uncompressed == 0) return "-";
    return std::to_string((compressed * 100 + uncompressed / 2) / uncompressed) + "%";
}

void WriteText(const SetupData& data, std::ostream& out) {
    using Row = std::array<std::string, 8>;  // compressed, size, ratio, version, time, mode, flags, destination
    std::vector<Row> rows{{"Compressed", "Size", "Ratio", "Version", "Time (UTC)", "Mode", "Flags", "Destination"}};
    std::uint64_t compressed = 0;
    std::uint64_t size = 0;
    for (const FileEntry& e : data.FileEntries) {
        compressed += e.CompressedSize;
        size += e.UncompressedSize;
        const std::string version = VersionOf(e);
        rows.push_back({std::to_string(e.CompressedSize), std::to_string(e.UncompressedSize),
                        PercentText(e.CompressedSize, e.UncompressedSize), version.empty() ? "none" : version,
                        UtcText(e.FileTime, false), CopyModeName(e.CopyMode), FlagsText(e.Flags),
                        PrintableText(e.DestName)});
    }
    const std::size_t count = data.FileEntries.size();
    rows.push_back({"----------", "----------", "-----", "", "", "", "", "-----------"});
    rows.push_back({std::to_string(compressed), std::to_string(size), PercentText(compressed, size), "", "", "", "",
                    std::to_string(count) + (count == 1 ? " file" : " files")});
    std::array<std::size_t, 8> width{};
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column)
            width[column] = std::max(width[column], row[column].size());
    }
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < 3; ++column)
            line += std::string(width[column] - row[column].size() + (column ? 2 : 0), ' ') + row[column];
        for (std::size_t column = 3; column < 7; ++column)
            line += "  " + row[column] + std::string(width[column] - row[column].size(), ' ');
        out << line << "  " << row[7] << '\n';
    }
}

void WriteTsv(const SetupData& data, std::ostream& out) {
    out << "index\tdestination\toffset\tcompressed\tuncompressed\tratio\tversion\tfiletime\ttime\tcopymode\tflags"
           "\tadler32\n";
    const auto& files = data.FileEntries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileEntry& e = files[i];
        std::ostringstream ratio;
        if (e.UncompressedSize > 0)
            ratio << std::fixed << std::setprecision(4)
                  << static_cast<double>(e.CompressedSize) / static_cast<double>(e.UncompressedSize);
        out << i + 1 << '\t' << PrintableText(e.DestName) << '\t' << e.DataOffset << '\t' << e.CompressedSize << '\t'
            << e.UncompressedSize << '\t' << ratio.str() << '\t' << VersionOf(e) << '\t' << e.FileTime << '\t'
            << UtcText(e.FileTime, true) << '\t' << static_cast<int>(e.CopyMode) << '\t' << static_cast<int>(e.Flags)
            << '\t' << e.Adler32 << '\n';
    }
}

}  // namespace

void WriteListing(const SetupData& data, ListFormat format, std::ostream& out) {
    if (format == ListFormat::Tsv) {
        WriteTsv(data, out);
    } else {
        WriteText(data, out);
    }
}

}  // namespace pelorin
