// pelorin-pack UPDATE.EXE ARCHIVE.ZIP OUTPUT.EXE: makes an update program that carries the
// archive. Exit status 0 on success, 1 when an input is refused or the output fails, 2 on misuse.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/pelorin-pack/Packer.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: pelorin-pack UPDATE.EXE ARCHIVE.ZIP OUTPUT.EXE\n");
        return 2;
    }
    try {
        const pelorin::PackResult result = pelorin::Pack(argv[1], argv[2], argv[3]);
        if (result.replacedBytes > 0) {
            std::printf("replaced %llu bytes appended to %s\n", static_cast<unsigned long long>(result.replacedBytes),
                        argv[1]);
        }
        std::printf("%s: %d entries, %lld bytes unpacked, archive at offset %llu\n", argv[3], result.archive.entries,
                    static_cast<long long>(result.archive.uncompressedBytes),
                    static_cast<unsigned long long>(result.imageLength));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelorin-pack: %s\n", error.what());
        return 1;
    }
}
