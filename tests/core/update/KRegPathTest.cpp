// The backslash helpers on the folder names the update wizard handles.
#include <gtest/gtest.h>

#include "update/KReg.h"

namespace pelorin::kreg {
namespace {

TEST(KRegPathTest, AddsAndRemovesOneTrailingBackslash) {
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(AddBackslash("C:\\TZarnix"), "C:\\TZarnix\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(RemoveBackslash("C:\\"), "C:");
    EXPECT_EQ(RemoveBackslash("C:\\TZarnix\\\\"), "C:\\TZarnix\\");
    EXPECT_EQ(RemoveBackslash("C:\\TZarnix"), "C:\\TZarnix");
    EXPECT_EQ(RemoveBackslash(""), "");
}

}  // namespace
}  // namespace pelorin::kreg
