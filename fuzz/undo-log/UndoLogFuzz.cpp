// libFuzzer target for the REMOVE.LOG reader. A log it accepts must encode back to the
// input bytes, apart from the reserved bytes and padding that the reader ignores.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/install/UndoLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    pelorin::TUndoChanges changes;
    try {
        changes = pelorin::DecodeUndoLog(bytes);
    } catch (const pelorin::EUndoLogError&) {
        return 0;
    }
    const std::string again = pelorin::EncodeUndoLog(changes);
    if (again.size() != size) std::abort();
    if (again.compare(0, 11, bytes, 0, 11) != 0) std::abort();
    if (pelorin::DecodeUndoLog(again).Records().size() != changes.Records().size()) std::abort();
    for (const pelorin::UndoRecord& record : changes.Records()) {
        for (std::size_t i = 0; i < 4; ++i) (void)record.String(i);
    }
    return 0;
}
