// pelorin-unzip -l and -v: one line per entry with its size, date, time and name (folders
// separated by "/"), with -v also method, compressed size and CRC-32; then a total line.
#include <cstdio>
#include <string>

#include "tools/pelorin-unzip/Commands.h"
#include "tools/pelorin-unzip/ConsoleServices.h"
#include "tools/pelorin-unzip/EntryNames.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {

namespace {

// Deflated entries also show the compression level of the flags: normal, maximum, fast, super fast.
std::string MethodName(int method, unsigned flags) {
    switch (method) {
    case 0: return "Stored";
    case 1: return "Shrunk";
    case 2:
    case 3:
    case 4:
    case 5: return "Reduce" + std::to_string(method - 1);
    case 6: return "Implode";
    case 8: return std::string("Defl:") + "NXFS"[(flags >> 1) & 3u];
    default: return "Unk:" + std::to_string(method);
    }
}

int Ratio(std::int64_t compressed, std::int64_t size) {
    if (size <= 0) return 0;
    return static_cast<int>(100 - (compressed * 100 + size / 2) / size);
}

}  // namespace

void ReadArchiveDirectory(TVCLUnZip& zip, const UnzipOptions& options) {
    zip.ReadDirectory();
    if (zip.LeadingBytes() > 0 && !options.quiet) {
        std::fprintf(stderr,
                     "pelorin-unzip: %s: %lld extra bytes at beginning, the program the archive is appended to\n",
                     options.archive.c_str(), static_cast<long long>(zip.LeadingBytes()));
    }
}

int RunList(const UnzipOptions& options) {
    ConsoleServices services;
    TVCLUnZip zip(services);
    zip.SetDoProcessMessages(false);
    zip.SetReadAppendedArchives(true);
    zip.SetZipName(options.archive);
    ReadArchiveDirectory(zip, options);
    const bool verbose = options.command == UnzipCommand::VerboseList;
    std::printf("Archive:  %s\n", options.archive.c_str());
    if (verbose) {
        std::printf(" Length   Method    Size  Cmpr    Date    Time   CRC-32   Name\n");
        std::printf("--------  ------  ------- ---- ---------- ----- --------  ----\n");
    } else {
        std::printf("  Length      Date    Time    Name\n");
        std::printf("---------  ---------- -----   ----\n");
    }
    std::int64_t totalSize = 0;
    std::int64_t totalCompressed = 0;
    const int count = zip.EntryCount();
    for (int i = 0; i < count; ++i) {
        const TZipHeaderInfo& entry = zip.Entry(i);
        const std::int64_t size = static_cast<std::uint32_t>(entry.UncompressedSize);
        const std::int64_t compressed = static_cast<std::uint32_t>(entry.CompressedSize);
        const unsigned date = entry.DateTime >> 16;
        const unsigned time = entry.DateTime & 0xFFFFu;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u", ((date >> 9) & 0x7Fu) + 1980,
                      (date >> 5) & 0x0Fu, date & 0x1Fu, (time >> 11) & 0x1Fu, (time >> 5) & 0x3Fu);
        const std::string name = SlashName(entry.FullName()) + (entry.Encrypted() ? " (encrypted)" : "");
        if (verbose) {
            std::printf("%8lld  %-6s %8lld %3d%% %s %08x  %s\n", static_cast<long long>(size),
                        MethodName(entry.CompressionMethod, entry.Flags).c_str(), static_cast<long long>(compressed),
                        Ratio(compressed, size), stamp, static_cast<unsigned>(entry.Crc32), name.c_str());
        } else {
            std::printf("%9lld  %s   %s\n", static_cast<long long>(size), stamp, name.c_str());
        }
        totalSize += size;
        totalCompressed += compressed;
    }
    const char* plural = count == 1 ? "" : "s";
    if (verbose) {
        std::printf("--------          -------  ---                            -------\n");
        std::printf("%8lld         %8lld %3d%%                            %d file%s\n",
                    static_cast<long long>(totalSize), static_cast<long long>(totalCompressed),
                    Ratio(totalCompressed, totalSize), count, plural);
    } else {
        std::printf("---------                     -------\n");
        std::printf("%9lld                     %d file%s\n", static_cast<long long>(totalSize), count, plural);
    }
    return kExitOk;
}

}  // namespace pelorin
