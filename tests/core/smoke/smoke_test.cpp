#include <gtest/gtest.h>
#include <zlib.h>
#include "core/Exception.h"
TEST(Smoke, Works) { EXPECT_STREQ(zlibVersion(), ZLIB_VERSION); EXPECT_THROW(throw pelorin::EAbort(), pelorin::Exception); }
