// The wizard's answer checks against drives and boxes the test controls: every refusal in its
// order and text, the write-backs into the edit, the two questions; and the page placeholders.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "setup/wizard/WizardRules.h"
#include "setup/wizard/WizardTexts.h"

namespace pelorin {
namespace {

class FakeDrives : public IDriveQuery {
public:
    std::map<std::string, std::uint64_t> free;  // by root as asked
    std::vector<std::string> existing;
    std::vector<std::string> asked;
    std::optional<std::uint64_t> FreeBytes(const std::string& root) override {
        asked.push_back(root);
        const auto found = free.find(root);
        if (found == free.end()) return std::nullopt;
        return found->second;
    }
    bool DirExists(const std::string& path) override {
        for (const auto& dir : existing)
            if (dir == path) return true;
        return false;
    }
};

class RecordingSite : public IAnswerSite {
public:
    std::string answer;
    std::vector<std::string> boxes;  // "W:text" or "Q:caption:text:default"
    bool reply = true;
    void SetAnswer(const std::string& text) override { answer = text; }
    void Warning(const std::string& text) override { boxes.push_back("W:" + text); }
    bool Question(const std::string& text, const std::string& caption, bool defaultNo) override {
        boxes.push_back("Q:" + caption + ":" + text + (defaultNo ? ":No" : ":Yes"));
        return reply;
    }
};

const std::string kUnc =
    "W:Setup Wizard cannot install to a UNC pathname. If you are trying to install to a network, you will need to map a network drive.";
const std::string kFullPath = "W:You must enter a full path with drive letter; for example:\r\nC:\\ZEL";
const std::string kDirChars =
    "W:The directory name cannot include any of the following characters after the colon:\r\n\r\n/ : * ? \" < > | ,";
const std::string kNoDrive = "W:The drive you selected does not exist. Please select another.";

struct DestinationTest : ::testing::Test {
    FakeDrives drives;
    RecordingSite site;
    void SetUp() override { drives.free = {{"C:\\", 100u << 20}, {"c:\\", 100u << 20}}; }
    bool Check(const std::string& typed, std::int32_t size = 1000) {
        return CheckDestination(typed, size, drives, site);
    }
};

TEST_F(DestinationTest, RefusalsComeInOrderWithTheirTexts) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\A\\\\B", kUnc},         // two backslashes anywhere, even after the drive
        {"\\\\server\\share", kUnc},  // UNC is told before the full-path rule
        {"C:\\", kFullPath},          // a bare root is three characters
        {"C;\\Program", kFullPath},   // semicolon for the colon
        {"C:Program", kFullPath},    {"C:\\Program Files\\X,Y", kDirChars},
        {"C:\\A:B", kDirChars},      {"C:\\A?*", kDirChars},
        {"1:\\Program", kNoDrive},  // a digit is no drive letter
        {"Q:\\Program", kNoDrive},  // a letter without a drive
        {"Q:\\A,B", kDirChars},     // characters are checked before the drive
    };
    for (const auto& [typed, box] : cases) {
        site.boxes.clear();
        EXPECT_FALSE(Check(typed)) << typed;
        ASSERT_EQ(site.boxes.size(), 1u) << typed;
        EXPECT_EQ(site.boxes[0], box) << typed;
    }
}

TEST_F(DestinationTest, AcceptedPathsAreTrimmedAndLoseOneTrailingBackslash) {
    EXPECT_TRUE(Check("  C:\\A\t"));
    EXPECT_EQ(site.answer, "C:\\A");
    EXPECT_TRUE(Check("C:\\A\\"));
    EXPECT_EQ(site.answer, "C:\\A");
    EXPECT_TRUE(Check("c:\\Lower"));  // upper-cased for the test only
    EXPECT_EQ(site.answer, "c:\\Lower");
    EXPECT_EQ(drives.asked.back(), "c:\\");
    EXPECT_TRUE(site.boxes.empty());
    // A refusal leaves the trimmed text in the edit.
    EXPECT_FALSE(Check("  C:\\A,B  "));
    EXPECT_EQ(site.answer, "C:\\A,B");
}

TEST_F(DestinationTest, NotEnoughSpaceAsksWithKilobyteFigures) {
    drives.free["D:\\"] = 1000000;
    site.reply = false;
    EXPECT_FALSE(Check("D:\\App", 1500000));
    ASSERT_EQ(site.boxes.size(), 1u);
    EXPECT_EQ(site.boxes[0],
              "Q:Not Enough Disk Space:Setup Wizard requires at least 1464 KB of free space to install, but the "
              "selected drive only has 976 KB available.\r\n\r\nDo you want to continue anyway?:No");
    site.reply = true;
    EXPECT_TRUE(Check("D:\\App", 1500000));
    // Exactly enough is enough.
    site.boxes.clear();
    EXPECT_TRUE(Check("D:\\App", 1000000));
    EXPECT_TRUE(site.boxes.empty());
}

TEST_F(DestinationTest, LargeDrivesAndLargeInstallationsCompareWithoutWrapping) {
    drives.free["E:\\"] = (std::uint64_t{5} << 32) + 100;  // would wrap to 100 bytes in 32 bits
    EXPECT_TRUE(Check("E:\\App", 1 << 30));
    EXPECT_TRUE(site.boxes.empty());
    // A size of 3 GB reads as negative when signed; it is compared and shown unsigned.
    drives.free["F:\\"] = std::uint64_t{2} << 30;
    site.reply = false;
    EXPECT_FALSE(Check("F:\\App", static_cast<std::int32_t>(0xC0000000u)));
    ASSERT_EQ(site.boxes.size(), 1u);
    EXPECT_NE(site.boxes[0].find("at least 3145728 KB"), std::string::npos);
    EXPECT_NE(site.boxes[0].find("only has 2097152 KB"), std::string::npos);
}

TEST_F(DestinationTest, ExistingDirectoryAsksAfterTheSpaceQuestion) {
    drives.free["D:\\"] = 10;
    drives.existing = {"D:\\Old"};
    EXPECT_TRUE(Check("D:\\Old\\", 5000));
    ASSERT_EQ(site.boxes.size(), 2u);
    EXPECT_EQ(site.boxes[0].rfind("Q:Not Enough Disk Space:", 0), 0u);
    EXPECT_EQ(site.boxes[1],
              "Q:Directory Exists:Setup Wizard has detected that the directory D:\\Old already exists.\r\n\r\nWould "
              "you like to install your software to that directory anyway?:Yes");
    site.reply = false;
    site.boxes.clear();
    EXPECT_FALSE(Check("D:\\Old", 1));
    EXPECT_EQ(site.boxes.size(), 1u);
}

TEST(GroupCheck, RefusesEmptyAndForbiddenNamesAndStoresTrimmed) {
    RecordingSite site;
    EXPECT_TRUE(CheckGroup("  My Group \t", site));
    EXPECT_EQ(site.answer, "My Group");
    EXPECT_FALSE(CheckGroup("   ", site));
    EXPECT_EQ(site.boxes.back(), "W:You must choose a group name.");
    EXPECT_EQ(site.answer, "");
    for (const char* name : {"A/B", "A\\B", "A:B", "A,B", "A|B", "\"A\""}) {
        site.boxes.clear();
        EXPECT_FALSE(CheckGroup(name, site)) << name;
        ASSERT_EQ(site.boxes.size(), 1u);
        EXPECT_EQ(site.boxes[0],
                  "W:The group name cannot include any of the following characters:\r\n\r\n\\ / : * ? \" < > | ,");
    }
}

TEST(Placeholders, ReplacedInOrderAndEscapedForRichText) {
    EXPECT_EQ(ReplacePlaceholders("[name] is [name/ver], [kb] KB", "Zel", "Zel 2.0", 1500000),
              "Zel is Zel 2.0, 1464 KB");
    EXPECT_EQ(ReplacePlaceholders("[kb]", "", "", -1500), "-1");  // truncates toward zero
    EXPECT_EQ(ReplacePlaceholders("{\\b [name]}", "C{++}\\X", "", 0), "{\\b C\\{++\\}\\\\X}");
    for (int page = 0; page < 6; ++page) {
        const std::string& text = WizardPageText(page);
        EXPECT_EQ(text.rfind("{\\rtf1", 0), 0u) << page;
        EXPECT_NE(text.find("[name"), std::string::npos) << page;
    }
}

TEST(TrimControls, RemovesCodesUpToBlankAtBothEnds) {
    EXPECT_EQ(TrimControls(std::string("\x01\t A B \r\n", 9)), "A B");
    EXPECT_EQ(TrimControls(" \x1f "), "");
    EXPECT_EQ(TrimControls("\xe9x\xe9"), "\xe9x\xe9");  // 8-bit letters stay
}

}  // namespace
}  // namespace pelorin
