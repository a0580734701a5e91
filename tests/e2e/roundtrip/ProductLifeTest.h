// What every test of a package's whole life shares: a work folder for the product and a
// temporary folder, both left out of the machine's snapshots, and where FERROW.EXE lands.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/roundtrip/SystemState.h"
#include "tests/support/ScratchDir.h"

namespace pelorin::e2e {

class ProductLifeTest : public ::testing::Test {
protected:
    // stem names the work folder; the temporary folder is stem + "-tmp".
    explicit ProductLifeTest(const std::string& stem)
        : work_(stem), temp_(stem + "-tmp"), skip_{LongPath(work_.Path()), LongPath(temp_.Path())} {}

    testing::ScratchDir work_;
    testing::ScratchDir temp_;
    std::vector<std::string> skip_;
    const std::string ferrow_ = WindowsDir() + "\\FERROW.EXE";
};

}  // namespace pelorin::e2e
