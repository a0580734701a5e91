// Packing: reads both inputs whole, cuts the program at the end of its image, pads and checks
// the archive, writes the result beside the output under a temporary name, signs it there when
// asked, and renames it at the end.
#include "tools/pelorin-pack/Packer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/ByteSource.h"
#include "core/MoveIntoPlace.h"
#include "core/WriteFailure.h"
#include "update/ImageLength.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCommentLengthAt = 20;
constexpr std::uint32_t kMaxCommentLength = 0xFFFF;
constexpr std::uint64_t kCertificateAlignment = 8;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const FileRead read = ReadBinaryFile(path, bytes);
    if (read == FileRead::CannotOpen) throw EPackError(path + ": cannot be opened");
    if (read == FileRead::CannotRead) throw EPackError(path + ": cannot be read");
    return bytes;
}

// Offset of the end record whose comment reaches exactly to the end of the archive.
std::optional<std::size_t> FindEndRecord(const std::vector<std::uint8_t>& archive) {
    if (archive.size() < kEndRecordSize) return std::nullopt;
    const std::size_t last = archive.size() - kEndRecordSize;
    const std::size_t first = last > kMaxCommentLength ? last - kMaxCommentLength : 0;
    for (std::size_t at = last + 1; at-- > first;) {
        const std::uint8_t* p = archive.data() + at;
        if (p[0] != 'P' || p[1] != 'K' || p[2] != 5 || p[3] != 6) continue;
        const std::size_t comment = p[kCommentLengthAt] | (p[kCommentLengthAt + 1] << 8);
        if (at + kEndRecordSize + comment == archive.size()) return at;
    }
    return std::nullopt;
}

// The output's temporary file; removed unless the finished file was moved into place.
class StagedFile {
public:
    explicit StagedFile(const std::string& final) : final_(final) {
        const fs::path target(final);
        temporary_ = (target.parent_path() / ("." + target.filename().string() + ".partial")).string();
    }
    ~StagedFile() {
        if (committed_) return;
        std::error_code ignored;
        fs::remove(temporary_, ignored);
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& Path() const { return temporary_; }

    void Write(const std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& archive) {
        ClearWriteFailure();
        std::ofstream out(temporary_, std::ios::binary | std::ios::trunc);
        if (!out) throw EPackError(final_ + ": cannot be written" + WriteFailureSuffix());
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
        out.close();
        if (!out) throw EPackError(final_ + ": cannot be written" + WriteFailureSuffix());
    }

    void Commit() {
        const std::error_code error = MoveIntoPlace(temporary_, final_);
        if (error) throw EPackError(final_ + ": cannot be put in place: " + error.message());
        committed_ = true;
    }

private:
    std::string final_;
    std::string temporary_;
    bool committed_ = false;
};

}  // namespace

std::uint32_t PadArchive(std::vector<std::uint8_t>& archive, std::uint64_t offset) {
    const std::optional<std::size_t> record = FindEndRecord(archive);
    if (!record) return 0;
    const auto pad = static_cast<std::uint32_t>((kCertificateAlignment - (offset + archive.size()) % 8) % 8);
    if (pad == 0) return 0;
    std::uint8_t* length = archive.data() + *record + kCommentLengthAt;
    const std::uint32_t comment = (length[0] | (length[1] << 8)) + pad;
    if (comment > kMaxCommentLength) throw EPackError("its comment is too long to be padded to a multiple of 8 bytes");
    length[0] = static_cast<std::uint8_t>(comment);
    length[1] = static_cast<std::uint8_t>(comment >> 8);
    archive.insert(archive.end(), pad, 0);
    return pad;
}

PackResult Pack(const std::string& program, const std::string& archive, const std::string& output,
                const std::optional<SignCommand>& sign) {
    std::vector<std::uint8_t> image = ReadFile(program);
    PackResult result;
    std::optional<SecurityEntry> security;
    try {
        result.imageLength = ImageLength(image.data(), image.size());
        security = FindSecurityEntry(image.data(), image.size());
    } catch (const EBadImage& error) {
        throw EPackError(program + ": " + error.what());
    }
    result.replacedBytes = image.size() - result.imageLength;
    image.resize(static_cast<std::size_t>(result.imageLength));
    // The certificate table was cut off with whatever else lay behind the image; an entry
    // left pointing there would claim a certificate inside the archive.
    if (security && (security->tableOffset != 0 || security->tableSize != 0)) {
        std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(security->at), 8, 0);
        result.signatureCleared = true;
    }

    std::vector<std::uint8_t> archiveBytes = ReadFile(archive);
    try {
        result.paddingBytes = PadArchive(archiveBytes, result.imageLength);
        result.archive = CheckArchive(archiveBytes);
    } catch (const Exception& error) {
        throw EPackError(archive + ": " + error.what());
    }

    StagedFile staged(output);
    staged.Write(image, archiveBytes);
    if (sign) {
        try {
            sign->Sign(staged.Path(), staged.Path(), fs::path(output).filename().string());
        } catch (const ESignError& error) {
            throw EPackError(error.what());
        }
        // The wizard finds its archive only when the table follows it directly.
        const std::vector<std::uint8_t> packed = ReadFile(staged.Path());
        const std::uint64_t unsignedSize = image.size() + archiveBytes.size();
        AppendedRange appended;
        try {
            appended = AppendedData(packed.data(), packed.size());
        } catch (const EBadImage& error) {
            throw EPackError(output + ": the signing command left no Windows program: " + error.what());
        }
        if (appended.start != result.imageLength || appended.end != unsignedSize ||
            !std::equal(archiveBytes.begin(), archiveBytes.end(),
                        packed.begin() + static_cast<std::ptrdiff_t>(appended.start)))
            throw EPackError(
                output +
                ": the signed program does not end with its certificate table right behind the archive, so the update program would not find the archive");
        result.signatureBytes = packed.size() - unsignedSize;
    }
    staged.Commit();
    return result;
}

}  // namespace pelorin
