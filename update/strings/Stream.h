// TStream: the byte stream base with reading, writing and seeking, and the checked
// ReadBuffer and WriteBuffer that raise a stream error when fewer bytes move.
#pragma once

#include <cstddef>
#include <cstdint>

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

    std::int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soFromBeginning); }

    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
};

// The target of a seek in a stream of the given size and position; raises the stream
// errors for an unknown origin or a target before the start.
std::int64_t SeekTarget(std::int64_t offset, int origin, std::int64_t position, std::int64_t size);

}  // namespace pelorin
