// TStream: the byte stream base with reading, writing and seeking, and the checked
// ReadBuffer and WriteBuffer that raise a stream error when fewer bytes move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "update/strings/Persistent.h"

namespace pelorin {

constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

class TStream : public TObject {
public:
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;
    virtual std::int64_t Size();
    // Why the last Write moved fewer bytes than asked, in the system's words; empty when unknown.
    virtual std::string WriteFailure() const { return std::string(); }

    std::int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soFromBeginning); }

    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
};

// The target of a seek in a stream of the given size and position; raises the stream
// errors for an unknown origin or a target before the start.
std::int64_t SeekTarget(std::int64_t offset, int origin, std::int64_t position, std::int64_t size);

// The stream error of a write that came back short, naming the cause when the stream knows it.
[[noreturn]] void RaiseWriteError(const TStream& stream);

}  // namespace pelorin
