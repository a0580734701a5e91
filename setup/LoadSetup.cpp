// Reads the setup description file block by block into SetupData and deletes the
// file in every case; corrupted blocks and records become one failure.
#include "setup/LoadSetup.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "core/ByteSource.h"
#include "setup/ZStream.h"

namespace pelorin {
namespace {

// Deletes the description file when the load ends, however it ends.
class FileRemover {
public:
    explicit FileRemover(std::string path) : path_(std::move(path)) {}
    ~FileRemover() { std::remove(path_.c_str()); }
    FileRemover(const FileRemover&) = delete;
    FileRemover& operator=(const FileRemover&) = delete;

private:
    std::string path_;
};

void ReadMagic(ByteSource& file) {
    char magic[SetupMagicSize];
    if (file.Read(magic, SetupMagicSize) != SetupMagicSize) throw EReadError("Read beyond end of file");
    if (std::memcmp(magic, SetupMagic, SetupMagicSize) != 0) throw ESetupIncompatible();
}

// Reads count records of one kind. The list grows only with records actually read,
// so a corrupted count ends at the end of the file instead of reserving memory.
// A count of 0 or less reads nothing.
template <class R>
void ReadRecords(ByteSource& file, std::int32_t count, std::vector<R>& list) {
    for (std::int32_t i = 0; i < count; ++i) {
        typename R::Bytes bytes;
        ReadBlock(file, bytes.data(), bytes.size());
        list.push_back(R::Decode(bytes));
    }
}

void ReadBody(ByteSource& file, SetupData& data, const SetupHeaderHook& afterHeader) {
    SetupHeader::Bytes headerBytes;
    ReadBlock(file, headerBytes.data(), headerBytes.size());
    data.Header = SetupHeader::Decode(headerBytes);
    const SetupHeader& header = data.Header;
    if (afterHeader) afterHeader(header);
    data.RestartRequired = (header.Flags & SetupHeader::AlwaysRestart) != 0;

    // The writer never produces a negative size; such a header is corrupted.
    if (header.LicenseSize < 0) throw ECorruptRecord("SetupHeader.LicenseSize is negative");
    if (header.LicenseSize > 0) {
        const std::vector<std::uint8_t> license = ReadBlock(file, static_cast<std::size_t>(header.LicenseSize));
        data.License.emplace(license.begin(), license.end());
    }
    ForEachRecordList(header, data, [&file](std::int32_t count, auto& list) { ReadRecords(file, count, list); });
    data.IconsStep = (header.Flags & SetupHeader::CreateUninstall) != 0 || !data.IconEntries.empty();
}

}  // namespace

void LoadSetupDescription(const std::string& path, SetupData& out, const SetupHeaderHook& afterHeader) {
    const FileRemover remover(path);
    SetupData data;
    {
        // Declared after the remover: closed before the file is deleted.
        FileByteSource file(path);
        if (!file.IsOpen()) throw EReadError("Cannot open file \"" + path + "\"");
        ReadMagic(file);
        try {
            ReadBody(file, data, afterHeader);
        } catch (const EZlibDataError&) {
            throw ESetupCorrupted();
        } catch (const ECorruptRecord&) {
            throw ESetupCorrupted();
        }
    }
    data.TotalSize = ComputeTotalSize(data.FileEntries);
    out = std::move(data);
}

}  // namespace pelorin
