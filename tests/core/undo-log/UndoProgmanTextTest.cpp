// The program manager's group description: only the character after the second comma
// past the quoted name counts, and a malformed answer is an error, never a read past its end.
#include <gtest/gtest.h>

#include "core/Exception.h"
#include "setup/install/UndoProgmanText.h"

namespace pelorin {
namespace {

TEST(ProgmanGroupAnswer, ItemCountDecidesWhetherTheGroupIsEmpty) {
    EXPECT_TRUE(ProgmanGroupIsEmpty("\"Tools\",C:\\WINDOWS\\TOOLS.GRP,0,0,0,0,0,0,0\r\n"));
    EXPECT_FALSE(ProgmanGroupIsEmpty("\"Tools\",C:\\WINDOWS\\TOOLS.GRP,3,0,0,0,0,0,0\r\n"));
    EXPECT_FALSE(ProgmanGroupIsEmpty("\"Tools\",C:\\WINDOWS\\TOOLS.GRP,10,0\r\n"));
    // Commas inside the quoted name do not count.
    EXPECT_TRUE(ProgmanGroupIsEmpty("\"A, B, C\",C:\\A.GRP,0"));
    // Nothing after the second comma: not known to be empty.
    EXPECT_FALSE(ProgmanGroupIsEmpty("\"Tools\",C:\\T.GRP,"));
}

TEST(ProgmanGroupAnswer, MissingQuotesOrCommasRaise) {
    for (const char* answer : {"", "\"Tools", "Tools,x,0", "\"Tools\"", "\"Tools\",C:\\T.GRP"}) {
        try {
            ProgmanGroupIsEmpty(answer);
            ADD_FAILURE() << answer;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "An error occured while trying to request data from Progman using DDE.");
        }
    }
}

}  // namespace
}  // namespace pelorin
