// The file and memory sources over the C library's files, and the whole-file helpers.
// Binary mode throughout: no byte is translated on the way in or out.
#include "core/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace pelorin {

std::size_t MemoryByteSource::Read(void* buffer, std::size_t size) {
    const std::size_t n = std::min(size, left_);
    if (n > 0) {
        std::memcpy(buffer, next_, n);
        next_ += n;
        left_ -= n;
    }
    return n;
}

FileByteSource::FileByteSource(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

FileByteSource::~FileByteSource() {
    if (file_) std::fclose(file_);
}

std::size_t FileByteSource::Read(void* buffer, std::size_t size) {
    if (!file_ || size == 0) return 0;
    return std::fread(buffer, 1, size, file_);
}

bool FileByteSource::Failed() const { return !file_ || std::ferror(file_) != 0; }

namespace {

template <class Bytes>
FileRead ReadWhole(const std::string& path, Bytes& bytes) {
    FileByteSource file(path);
    if (!file.IsOpen()) return FileRead::CannotOpen;
    bytes.clear();
    char buffer[16384];
    for (;;) {
        const std::size_t n = file.Read(buffer, sizeof buffer);
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) break;
    }
    return file.Failed() ? FileRead::CannotRead : FileRead::Done;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) { return ReadWhole(path, bytes) == FileRead::Done; }

FileRead ReadBinaryFile(const std::string& path, std::vector<std::uint8_t>& bytes) { return ReadWhole(path, bytes); }

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string text;
    if (!ReadFileBytes(path, text)) return false;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos) end = text.size();
        if (end > begin && text[end - 1] == '\r') --end;
        lines.push_back(text.substr(begin, end - begin));
        begin = next;
    }
    return true;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace pelorin
