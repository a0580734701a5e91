// The runtime's error throws as the wizards define them: a bad index or length in the standard
// containers reaches the programs' handlers of std::exception with the runtime's own text.
#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

namespace {

std::string CaughtText(void (*fault)()) {
    try {
        fault();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "nothing raised";
}

TEST(RuntimeThrows, ContainerFaultsAreCaughtAsPlainErrorsWithTheRuntimeText) {
    EXPECT_NE(CaughtText([] {
                  const std::string text = "abc";
                  (void)text.at(7);
              }).find("basic_string"),
              std::string::npos);
    EXPECT_NE(CaughtText([] {
                  std::vector<int> list;
                  list.reserve(list.max_size() + 1);
              }).find("vector::reserve"),
              std::string::npos);
    EXPECT_EQ(CaughtText([] { std::__throw_bad_alloc(); }), std::bad_alloc().what());
}

}  // namespace
