// Reading bytes without the stream library: a source interface with file and memory sources,
// and whole files read or written in one call. Keeps the programs free of iostreams and locales.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pelorin {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to size bytes to buffer and returns how many; fewer only at the end of the
    // data or when reading failed (see Failed).
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // True once a read failed for another reason than the end of the data.
    virtual bool Failed() const { return false; }
};

// Bytes in memory owned by the caller, which keeps them alive while the source is read.
class MemoryByteSource final : public ByteSource {
public:
    MemoryByteSource(const void* data, std::size_t size)
        : next_(static_cast<const unsigned char*>(data)), left_(size) {}
    std::size_t Read(void* buffer, std::size_t size) override;

private:
    const unsigned char* next_;
    std::size_t left_;
};

// A file opened for reading in binary mode and closed with the source.
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const std::string& path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::size_t Read(void* buffer, std::size_t size) override;
    bool Failed() const override;

private:
    std::FILE* file_;
};

// The whole file in bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// What reading a whole file came to, for callers that tell the two failures apart.
enum class FileRead { Done, CannotOpen, CannotRead };
FileRead ReadBinaryFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// The lines of a text file without their line ends (LF or CR LF); a last line without a line end
// counts too. False when the file cannot be opened or read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Creates or replaces the file with exactly these bytes; false on any failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace pelorin
