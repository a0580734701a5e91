// pelorin-pack [--sign COMMAND] UPDATE.EXE ARCHIVE.ZIP OUTPUT.EXE: makes an update program that
// carries the archive. Exit status 0 on success, 1 when an input is refused or the output fails, 2 on misuse.
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "tools/pelorin-pack/Packer.h"

namespace {

constexpr const char* kUsage =
    "usage: pelorin-pack [--sign COMMAND] UPDATE.EXE ARCHIVE.ZIP OUTPUT.EXE\n"
    "  --sign COMMAND  signs the finished program: COMMAND runs through the shell with %1\n"
    "                  replaced by the unsigned file and %2 by the signed file to write\n"
    "                  (without %2 it signs %1 in place)\n";

int Misuse(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "pelorin-pack: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::optional<pelorin::SignCommand> sign;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sign") {
            if (i + 1 >= argc) return Misuse("option --sign needs a command");
            try {
                sign.emplace(argv[++i]);
            } catch (const pelorin::Exception& error) {
                return Misuse(error.what());
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Misuse("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 3) return Misuse("");
    try {
        const pelorin::PackResult result = pelorin::Pack(files[0], files[1], files[2], sign);
        if (result.replacedBytes > 0) {
            std::printf("replaced %llu bytes appended to %s\n", static_cast<unsigned long long>(result.replacedBytes),
                        files[0].c_str());
        }
        std::printf("%s: %d entries, %lld bytes unpacked, archive at offset %llu", files[2].c_str(),
                    result.archive.entries, static_cast<long long>(result.archive.uncompressedBytes),
                    static_cast<unsigned long long>(result.imageLength));
        if (sign) std::printf(", signed (%llu bytes)", static_cast<unsigned long long>(result.signatureBytes));
        std::printf("\n");
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelorin-pack: %s\n", error.what());
        return 1;
    }
}
