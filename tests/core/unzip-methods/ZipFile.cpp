// Reading and writing the few zip records the decoder tests need.
#include "tests/core/unzip-methods/ZipFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/Exception.h"

namespace pelorin::test {
namespace {

std::uint32_t Read(const Bytes& data, std::size_t at, int width) {
    if (at + static_cast<std::size_t>(width) > data.size()) throw Exception("zip record beyond the end of the archive");
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | data[at + static_cast<std::size_t>(i)];
    return value;
}

void Write(Bytes& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void WriteHeaderCore(Bytes& out, const ZipEntry& entry) {
    Write(out, entry.method == 8 ? 20 : 10, 2);  // version needed
    Write(out, entry.flags, 2);
    Write(out, entry.method, 2);
    Write(out, 0x00000000u | (0x2A21u << 16), 4);  // 1 Jan 2001, midnight
    Write(out, entry.crc, 4);
    Write(out, static_cast<std::uint32_t>(entry.data.size()), 4);
    Write(out, static_cast<std::uint32_t>(entry.uncompressedSize), 4);
    Write(out, static_cast<std::uint32_t>(entry.name.size()), 2);
    Write(out, 0, 2);  // extra field length
}

}  // namespace

std::vector<ZipEntry> ReadZip(const Bytes& archive) {
    if (archive.size() < 22) throw Exception("no end record");
    std::size_t end = archive.size() - 22;
    while (Read(archive, end, 4) != 0x06054B50u) {
        if (end == 0) throw Exception("no end record");
        --end;
    }
    const unsigned count = Read(archive, end + 10, 2);
    std::size_t at = Read(archive, end + 16, 4);
    std::vector<ZipEntry> entries;
    for (unsigned i = 0; i < count; ++i) {
        if (Read(archive, at, 4) != 0x02014B50u) throw Exception("bad central header");
        ZipEntry entry;
        entry.flags = static_cast<std::uint16_t>(Read(archive, at + 8, 2));
        entry.method = static_cast<std::uint16_t>(Read(archive, at + 10, 2));
        entry.crc = Read(archive, at + 16, 4);
        const std::size_t compressed = Read(archive, at + 20, 4);
        entry.uncompressedSize = Read(archive, at + 24, 4);
        const std::size_t nameLength = Read(archive, at + 28, 2);
        const std::size_t extraLength = Read(archive, at + 30, 2);
        const std::size_t commentLength = Read(archive, at + 32, 2);
        const std::size_t local = Read(archive, at + 42, 4);
        Read(archive, at + 46 + nameLength - 1, 1);
        entry.name.assign(archive.begin() + static_cast<std::ptrdiff_t>(at + 46),
                          archive.begin() + static_cast<std::ptrdiff_t>(at + 46 + nameLength));
        if (Read(archive, local, 4) != 0x04034B50u) throw Exception("bad local header");
        const std::size_t dataStart = local + 30 + Read(archive, local + 26, 2) + Read(archive, local + 28, 2);
        if (dataStart + compressed > archive.size()) throw Exception("entry data beyond the end of the archive");
        const std::size_t header = (entry.flags & 1) != 0 ? 12 : 0;  // keep the encryption header out
        entry.data.assign(archive.begin() + static_cast<std::ptrdiff_t>(dataStart + header),
                          archive.begin() + static_cast<std::ptrdiff_t>(dataStart + compressed));
        entries.push_back(std::move(entry));
        at += 46 + nameLength + extraLength + commentLength;
    }
    return entries;
}

Bytes WriteZip(const std::vector<ZipEntry>& entries) {
    Bytes out;
    std::vector<std::uint32_t> offsets;
    for (const ZipEntry& entry : entries) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        Write(out, 0x04034B50u, 4);
        WriteHeaderCore(out, entry);
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    }
    const std::uint32_t directory = static_cast<std::uint32_t>(out.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Write(out, 0x02014B50u, 4);
        Write(out, 20, 2);  // version made by: MS-DOS, 2.0
        WriteHeaderCore(out, entries[i]);
        Write(out, 0, 2);     // comment length
        Write(out, 0, 2);     // disk number
        Write(out, 0, 2);     // internal attributes
        Write(out, 0x20, 4);  // external attributes: archive
        Write(out, offsets[i], 4);
        out.insert(out.end(), entries[i].name.begin(), entries[i].name.end());
    }
    const std::uint32_t directorySize = static_cast<std::uint32_t>(out.size()) - directory;
    Write(out, 0x06054B50u, 4);
    Write(out, 0, 2);
    Write(out, 0, 2);
    Write(out, static_cast<std::uint32_t>(entries.size()), 2);
    Write(out, static_cast<std::uint32_t>(entries.size()), 2);
    Write(out, directorySize, 4);
    Write(out, directory, 4);
    Write(out, 0, 2);
    return out;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw Exception("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!file) throw Exception("cannot write " + path);
}

std::string FixturePath(const std::string& name) {
    const char* source = std::getenv("PELORIN_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/tests/fixtures/zip-legacy/" + name;
}

}  // namespace pelorin::test
