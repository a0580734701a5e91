// Shared fixtures of the setup core tests: a description that uses every record
// kind, and small file helpers working in the test's current folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/Struct.h"

namespace pelorin::test {

// Every record kind at least once, texts at full capacity included, and a license.
SetupData SampleSetupData();

// Bytes with long repeats and some noise: compresses well but not trivially.
std::vector<std::uint8_t> MixedBytes(std::size_t size, std::uint32_t seed);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool FileExists(const std::string& path);

}  // namespace pelorin::test
