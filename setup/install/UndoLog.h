// The undo log REMOVE.LOG: a 78-byte header, then every record as a 15-byte head and its data.
// Writing reproduces the layout byte for byte; reading rejects damaged or truncated logs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ByteSource.h"
#include "core/Exception.h"
#include "setup/install/UndoChanges.h"

namespace pelorin {

constexpr char UndoLogMagic[] = "zfw102bs";  // first 8 bytes, no terminator in the file
constexpr std::size_t UndoLogHeaderSize = 78;
constexpr std::size_t UndoRecordHeadSize = 15;
constexpr std::size_t UndoLogTitleMax = 63;

// A log that cannot be written, opened or trusted.
class EUndoLogError : public Exception {
public:
    explicit EUndoLogError(const std::string& message) : Exception(message) {}
};

// The 78-byte header: signature (8 bytes), count modulo 65536, title cut to 63, common-group flag.
std::string EncodeUndoLogHeader(const char* magic, const std::string& title, std::uint8_t commonGroup,
                                std::size_t recordCount);
// One record: 8 zero bytes, value, kind, length, data (cut to MaxUndoDataLength).
std::string EncodeUndoRecord(const UndoRecord& record);
// The exact bytes of the log for `changes`.
std::string EncodeUndoLog(const TUndoChanges& changes);
// Creates (or replaces) the file and writes the log; the file is closed on every way out.
void WriteUndoLog(const std::string& path, const TUndoChanges& changes);

// Reads a log from the source. The header's 16-bit count is taken modulo 65536, so a log
// of more records than that still reads whole; anything malformed raises EUndoLogError.
// Memory grows with the bytes actually read, never with what the header claims.
TUndoChanges DecodeUndoLog(ByteSource& in);
TUndoChanges DecodeUndoLog(const std::string& bytes);
// Opens and reads the file at `path`; the error message names the file.
TUndoChanges LoadUndoLog(const std::string& path);

}  // namespace pelorin
