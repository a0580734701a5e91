// Fuzzes LoadSetupDescription on whole description files, written to a temporary
// file as start-up does. Only the documented failures may come out.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "setup/LoadSetup.h"
#include "setup/ZStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/fuzz_load_setup." + std::to_string(getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    pelorin::SetupData out;
    try {
        pelorin::LoadSetupDescription(path, out, {});
    } catch (const pelorin::ESetupIncompatible&) {
    } catch (const pelorin::ESetupCorrupted&) {
    } catch (const pelorin::EReadError&) {}
    return 0;
}
