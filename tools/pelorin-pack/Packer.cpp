// Packing: reads both inputs whole, cuts the program at the end of its image, checks the
// archive and writes the result beside the output under a temporary name, renamed at the end.
#include "tools/pelorin-pack/Packer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "update/ImageLength.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EPackError(path + ": cannot be opened");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EPackError(path + ": cannot be read");
    return bytes;
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

    void Write(const std::uint8_t* image, std::size_t imageLength, const std::vector<std::uint8_t>& archive) {
        std::ofstream out(temporary_, std::ios::binary | std::ios::trunc);
        if (!out) throw EPackError(final_ + ": cannot be written");
        out.write(reinterpret_cast<const char*>(image), static_cast<std::streamsize>(imageLength));
        out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
        out.close();
        if (!out) throw EPackError(final_ + ": cannot be written (disk full?)");
    }

    void Commit() {
        std::error_code error;
        fs::rename(temporary_, final_, error);
        if (error && fs::exists(final_)) {
            // Some systems refuse to rename over an existing file.
            fs::remove(final_, error);
            fs::rename(temporary_, final_, error);
        }
        if (error) throw EPackError(final_ + ": cannot be put in place: " + error.message());
        committed_ = true;
    }

private:
    std::string final_;
    std::string temporary_;
    bool committed_ = false;
};

}  // namespace

PackResult Pack(const std::string& program, const std::string& archive, const std::string& output) {
    const std::vector<std::uint8_t> programBytes = ReadFile(program);
    PackResult result;
    try {
        result.imageLength = ImageLength(programBytes.data(), programBytes.size());
    } catch (const EBadImage& error) {
        throw EPackError(program + ": " + error.what());
    }
    result.replacedBytes = programBytes.size() - result.imageLength;

    const std::vector<std::uint8_t> archiveBytes = ReadFile(archive);
    try {
        result.archive = CheckArchive(archiveBytes);
    } catch (const EArchiveRefused& error) {
        throw EPackError(archive + ": " + error.what());
    }

    StagedFile staged(output);
    staged.Write(programBytes.data(), static_cast<std::size_t>(result.imageLength), archiveBytes);
    staged.Commit();
    return result;
}

}  // namespace pelorin
