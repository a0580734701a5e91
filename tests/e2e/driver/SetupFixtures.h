// Distribution folders for tests of the setup program: a description turned into
// PELORIN.DLL (also damaged on purpose) beside a copy of pelorin.exe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/Struct.h"

namespace pelorin::e2e {

// A small valid description: names filled in, every list empty, accepted on
// Windows 95 4.0 and NT 4.0 and later.
SetupData MinimalSetup();

// The description file's bytes for data.
std::vector<std::uint8_t> DescriptionBytes(const SetupData& data);

// A resource-only library for this program's machine holding bytes as RCDATA id.
std::vector<std::uint8_t> ResourceLibrary(const std::vector<std::uint8_t>& bytes, std::uint32_t id = 102);

// folder\pelorin.exe (copied from the build tree) and, unless dll is empty,
// folder\PELORIN.DLL with those bytes.
void WriteDistribution(const std::string& folder, const std::vector<std::uint8_t>& dll);

}  // namespace pelorin::e2e
