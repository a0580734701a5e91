// The loop behind OsFile's reads and writes on every system: a transfer of count bytes in as
// many steps as the system needs, stopping early when a step moves nothing.
#pragma once

#include <cstddef>

namespace pelorin {

// step(done, left) moves up to left bytes at offset done and returns how many it moved.
template <class Step>
std::size_t TransferAll(std::size_t count, Step step) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t moved = step(done, count - done);
        if (moved == 0) break;
        done += moved;
    }
    return done;
}

}  // namespace pelorin
