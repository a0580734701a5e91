// Writes and reads REMOVE.LOG. All numbers are little-endian; the 8 reserved bytes of
// each record head are written as zeros and ignored when read.
#include "setup/install/UndoLog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/ByteSource.h"
#include "core/LittleEndian.h"

namespace pelorin {
namespace {

std::string EncodeHeader(const TUndoChanges& changes, std::size_t recordCount) {
    return EncodeUndoLogHeader(UndoLogMagic, changes.Title, changes.CommonGroup, recordCount);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads exactly `size` bytes; false at a clean end of input before the first byte.
bool ReadExactly(ByteSource& in, void* buffer, std::size_t size, const std::string& what) {
    const std::size_t got = size == 0 ? 0 : in.Read(buffer, size);
    if (got == size) return true;
    if (got == 0 && what.empty()) return false;
    throw EUndoLogError((what.empty() ? std::string("a record") : what) + " is cut short");
}

}  // namespace

std::string EncodeUndoLogHeader(const char* magic, const std::string& title, std::uint8_t commonGroup,
                                std::size_t recordCount) {
    std::string header(magic, 8);
    AppendLE16(header, static_cast<std::uint16_t>(recordCount & 0xFFFF));
    const std::string kept = title.substr(0, UndoLogTitleMax);
    header += static_cast<char>(kept.size());
    header += kept;
    header.append(UndoLogTitleMax - kept.size(), '\0');
    header += static_cast<char>(commonGroup);
    header.append(3, '\0');
    return header;
}

std::string EncodeUndoRecord(const UndoRecord& record) {
    std::string out(8, '\0');
    AppendLE32(out, record.value);
    out += static_cast<char>(record.kind);
    const std::size_t length = std::min(record.data.size(), MaxUndoDataLength);
    AppendLE16(out, static_cast<std::uint16_t>(length));
    out.append(record.data, 0, length);
    return out;
}

std::string EncodeUndoLog(const TUndoChanges& changes) {
    std::string out = EncodeHeader(changes, changes.Records().size());
    for (const UndoRecord& record : changes.Records()) out += EncodeUndoRecord(record);
    return out;
}

void WriteUndoLog(const std::string& path, const TUndoChanges& changes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw EUndoLogError("Unable to create the file " + path);
    const auto put = [&](const std::string& bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
            throw EUndoLogError("Unable to write the file " + path);
    };
    // The header goes in last, once the records are counted.
    put(std::string(UndoLogHeaderSize, '\0'));
    std::size_t count = 0;
    for (const UndoRecord& record : changes.Records()) {
        put(EncodeUndoRecord(record));
        ++count;
    }
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) throw EUndoLogError("Unable to write the file " + path);
    put(EncodeHeader(changes, count));
    if (std::fclose(file.release()) != 0) throw EUndoLogError("Unable to write the file " + path);
}

TUndoChanges DecodeUndoLog(ByteSource& in) {
    unsigned char header[UndoLogHeaderSize];
    ReadExactly(in, header, sizeof header, "the header");
    if (std::memcmp(header, UndoLogMagic, 8) != 0)
        throw EUndoLogError("it does not start with the signature of an uninstall log");
    const std::uint32_t declared = GetLE16(header + 8);
    const std::size_t titleLength = header[10];
    if (titleLength > UndoLogTitleMax) throw EUndoLogError("the title length is out of range");

    TUndoChanges changes;
    changes.Title.assign(reinterpret_cast<const char*>(header + 11), titleLength);
    changes.CommonGroup = header[74];

    std::size_t count = 0;
    for (;;) {
        unsigned char head[UndoRecordHeadSize];
        const std::string what = "record " + std::to_string(count + 1);
        if (!ReadExactly(in, head, 1, std::string())) break;
        ReadExactly(in, head + 1, sizeof head - 1, what);
        const std::size_t length = GetLE16(head + 13);
        if (length > MaxUndoDataLength) throw EUndoLogError(what + " claims more data than a record can hold");
        std::string data(length, '\0');
        ReadExactly(in, data.empty() ? nullptr : &data[0], length, what);
        changes.AddRecord(head[12], data.data(), data.size(), GetLE32(head + 8));
        ++count;
    }
    if ((count & 0xFFFF) != declared)
        throw EUndoLogError("it holds " + std::to_string(count) + " records but its header counts " +
                            std::to_string(declared));
    return changes;
}

TUndoChanges DecodeUndoLog(const std::string& bytes) {
    MemoryByteSource in(bytes.data(), bytes.size());
    return DecodeUndoLog(in);
}

TUndoChanges LoadUndoLog(const std::string& path) {
    FileByteSource in(path);
    if (!in.IsOpen()) throw EUndoLogError("Unable to open the file " + path);
    try {
        return DecodeUndoLog(in);
    } catch (const EUndoLogError& e) {
        if (in.Failed()) throw EUndoLogError("Unable to read the file " + path);
        throw EUndoLogError("The file " + path + " is damaged: " + e.what());
    }
}

}  // namespace pelorin
