// RunEntry command lines (quoting, constants, the blank before empty parameters) and the
// failure message with the system's text.
#include <gtest/gtest.h>

#include "setup/RunCommand.h"

namespace pelorin {
namespace {

const DirConstants kDirs{"D:\\", "C:\\Program Files\\Widget", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"};

RunEntry Entry(const std::string& filename, const std::string& parameters) {
    RunEntry entry;
    entry.Filename = filename;
    entry.Parameters = parameters;
    return entry;
}

TEST(RunCommand, QuotesAnExpandedPathWithBlanksAndKeepsTheBlankBeforeEmptyParameters) {
    EXPECT_EQ(RunEntryCommandLine(Entry("{app}\\widget.exe", "/first {win}"), kDirs),
              "\"C:\\Program Files\\Widget\\widget.exe\" /first C:\\WINDOWS");
    EXPECT_EQ(RunEntryCommandLine(Entry("{sys}\\notepad.exe", ""), kDirs), "C:\\WINDOWS\\SYSTEM\\notepad.exe ");
    EXPECT_EQ(RunEntryCommandLine(Entry("{src}readme.exe", "\"{app}\\a b.txt\""), kDirs),
              "D:\\readme.exe \"C:\\Program Files\\Widget\\a b.txt\"");
}

TEST(RunCommand, FailureMessageCarriesTheCodeAndTheSystemTextWithoutItsLineBreak) {
    EXPECT_EQ(TrimSystemMessage("File not found.\r\n"), "File not found.");
    EXPECT_EQ(TrimSystemMessage(""), "");
    EXPECT_EQ(UnableToExecuteText("C:\\x.exe ", 2, "File not found."),
              "Unable to execute file:\r\nC:\\x.exe \r\n\r\nError #2: File not found.");
}

}  // namespace
}  // namespace pelorin
