// The processor a Windows image is built for, as stored in its file header;
// the resource library is written for the machine of the setup program it ships with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelorin {

enum class Machine : std::uint16_t {
    I386 = 0x014C,
    Amd64 = 0x8664,
};

inline std::string MachineName(Machine machine) { return machine == Machine::I386 ? "i386" : "amd64"; }

// Accepts "i386"/"x86" and "amd64"/"x64".
inline std::optional<Machine> ParseMachine(const std::string& name) {
    if (name == "i386" || name == "x86") return Machine::I386;
    if (name == "amd64" || name == "x64") return Machine::Amd64;
    return std::nullopt;
}

}  // namespace pelorin
