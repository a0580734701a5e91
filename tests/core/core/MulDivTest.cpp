// MulDiv as the platform's function computes it: halves away from zero on both sides, and -1
// for a zero divisor or a result that does not fit.
#include <gtest/gtest.h>

#include "core/MulDiv.h"

namespace pelorin {
namespace {

TEST(MulDiv, MatchesThePlatformAtTheEdges) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);  // a half rounds away from zero
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(7, -3, 2), -11);  // -10.5
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 2), -1);  // does not fit
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);
}

}  // namespace
}  // namespace pelorin
