// Writes the seed corpus of the image reader's fuzz target with the tool's own
// library writer: make_seeds <corpus-pe_image dir>.
#include <fstream>
#include <string>
#include <vector>

#include "core/LittleEndian.h"
#include "tools/pelorin-build/ResourceDll.h"

using namespace pelorin;

namespace {

void Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A version resource with nothing but its root key and fixed block (version 1.2.3.4).
std::vector<std::uint8_t> VersionBlock() {
    std::vector<std::uint8_t> out;
    AppendLE16(out, 92);
    AppendLE16(out, 52);
    AppendLE16(out, 0);
    for (const char c : std::string("VS_VERSION_INFO")) AppendLE16(out, static_cast<std::uint8_t>(c));
    AppendLE16(out, 0);
    AppendLE16(out, 0);  // padding to the 4-byte boundary at 40
    const std::uint32_t fixed[13] = {0xFEEF04BDu, 0x10000, 0x10002, 0x30004, 0x10002, 0x30004, 0x3F, 0, 4, 1, 0, 0, 0};
    for (const std::uint32_t word : fixed) AppendLE32(out, word);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    ResourceDllContent description;
    description.data = {'z', 'l', 'b', 0x1a, 1, 2, 3};
    for (const Machine machine : {Machine::Amd64, Machine::I386}) {
        description.machine = machine;
        Save(dir + "/rcdata-" + MachineName(machine), MakeResourceDll(description));
    }
    ResourceDllContent version;
    version.type = 16;
    version.id = 1;
    version.language = 0x409;
    version.data = VersionBlock();
    Save(dir + "/version-amd64", MakeResourceDll(version));
    version.machine = Machine::I386;
    Save(dir + "/version-i386", MakeResourceDll(version));
    return 0;
}
