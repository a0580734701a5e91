// pelorin-unzip -l: one line per entry with its sizes, method, date, time, CRC-32 and
// name (folders separated by "/"), and a total line.
#include <cstdio>
#include <string>

#include "tools/pelorin-unzip/Commands.h"
#include "tools/pelorin-unzip/ConsoleServices.h"
#include "tools/pelorin-unzip/EntryNames.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {

namespace {

std::string MethodName(int method) {
    switch (method) {
    case 0: return "Stored";
    case 1: return "Shrunk";
    case 2:
    case 3:
    case 4:
    case 5: return "Reduce" + std::to_string(method - 1);
    case 6: return "Implode";
    case 8: return "Defl";
    default: return "Unk:" + std::to_string(method);
    }
}

int Ratio(std::int64_t compressed, std::int64_t size) {
    if (size <= 0) return 0;
    return static_cast<int>(100 - (compressed * 100 + size / 2) / size);
}

}  // namespace

int RunList(const UnzipOptions& options) {
    ConsoleServices services;
    TVCLUnZip zip(services);
    zip.SetDoProcessMessages(false);
    zip.SetZipName(options.archive);
    zip.ReadDirectory();
    std::printf("Archive:  %s\n", options.archive.c_str());
    std::printf(" Length   Method    Size  Cmpr    Date    Time   CRC-32   Name\n");
    std::printf("--------  ------  ------- ---- ---------- ----- --------  ----\n");
    std::int64_t totalSize = 0;
    std::int64_t totalCompressed = 0;
    const int count = zip.EntryCount();
    for (int i = 0; i < count; ++i) {
        const TZipHeaderInfo& entry = zip.Entry(i);
        const std::int64_t size = static_cast<std::uint32_t>(entry.UncompressedSize);
        const std::int64_t compressed = static_cast<std::uint32_t>(entry.CompressedSize);
        const unsigned date = entry.DateTime >> 16;
        const unsigned time = entry.DateTime & 0xFFFFu;
        std::printf("%8lld  %-6s %8lld %3d%% %04u-%02u-%02u %02u:%02u %08x  %s%s\n", static_cast<long long>(size),
                    MethodName(entry.CompressionMethod).c_str(), static_cast<long long>(compressed),
                    Ratio(compressed, size), ((date >> 9) & 0x7Fu) + 1980, (date >> 5) & 0x0Fu, date & 0x1Fu,
                    time >> 11, (time >> 5) & 0x3Fu, static_cast<unsigned>(entry.Crc32),
                    SlashName(entry.FullName()).c_str(), entry.Encrypted() ? " (encrypted)" : "");
        totalSize += size;
        totalCompressed += compressed;
    }
    std::printf("--------          ------- ---                            -------\n");
    std::printf("%8lld         %8lld %3d%%                            %d file%s\n", static_cast<long long>(totalSize),
                static_cast<long long>(totalCompressed), Ratio(totalCompressed, totalSize), count,
                count == 1 ? "" : "s");
    return kExitOk;
}

}  // namespace pelorin
