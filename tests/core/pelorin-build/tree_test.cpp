// Folder trees in [File] blocks and the folders a package records: what one block expands
// into and in which order, what stops the build, and the [Dir] entries the tool adds.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/core/pelorin-build/StoredFile.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/Distribution.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

const std::string kSetup = "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\n";  // lines 1-4

// A project folder with a tree whose names sort differently bytewise, without regard to
// case, and with "/" in place of "\": "Zeta" before "docs", "docsA.txt" before "docs\".
class Tree : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"tree/readme.txt", "tree/App.EXE", "tree/notes.bak", "tree/Zeta.txt", "tree/docsA.txt", "tree/docs/B.txt",
              "tree/docs/guide.txt", "tree/docs/readme.txt", "tree/docs/old/2019.txt", "tree/drafts/x.txt"})
            testing::WriteText(dir_ / name, std::string("contents of ") + name);
    }

    SetupData Build(const std::string& records, const std::string& out = "out") {
        testing::WriteText(dir_ / "p.pelproj", kSetup + records);
        BuildOptions options{dir_ / "p.pelproj", dir_ / out, "", true, Machine::Amd64, "", false, std::nullopt};
        BuildDistribution(options);
        return LoadDescriptionFrom(dir_ / out + "/PELORIN.DLL");
    }

    // The error of a project that must not build: "line: field: problem".
    std::string Failure(const std::string& records) {
        try {
            Build(records, "failed");
        } catch (const BuildError& error) {
            EXPECT_TRUE(testing::ListFolder(dir_ / "failed").empty());
            return std::to_string(error.Line()) + ": " + error.Field() + ": " + error.what();
        }
        return "built";
    }

    static std::vector<std::string> Destinations(const SetupData& data) {
        std::vector<std::string> names;
        for (const FileEntry& entry : data.FileEntries) names.push_back(entry.DestName);
        return names;
    }

    static std::vector<std::string> Dirs(const SetupData& data) {
        std::vector<std::string> names;
        for (const DirEntry& entry : data.DirEntries) names.push_back(entry.DirName);
        return names;
    }

    ScratchDir dir_;
};

TEST_F(Tree, WildcardsSelectFilesOfOneFolderAsWindowsMatchesThem) {
    const SetupData data = Build(
        "[File]\nSource = tree\\*.txt\nDestDir = {app}\\T\\\nCopyMode = never-replace\nFlags = confirm-overwrite\n"
        "[File]\nSource = tree/*.exe\nDestDir = {app}\n"
        "[File]\nSource = tree\\r?adme.*\nDestDir = {win}\n");
    EXPECT_EQ(Destinations(data),
              (std::vector<std::string>{"{app}\\T\\Zeta.txt", "{app}\\T\\docsA.txt", "{app}\\T\\readme.txt",
                                        "{app}\\App.EXE", "{win}\\readme.txt"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(data.FileEntries[i].CopyMode, cmNeverReplace) << i;
        EXPECT_EQ(data.FileEntries[i].Flags, FileEntry::ConfirmOverwrite) << i;
    }
    EXPECT_EQ(data.FileEntries[3].CopyMode, cmNormal);
    EXPECT_EQ(testing::ReadStoredFile(dir_ / "out/PELORIN.DAT", data.FileEntries[1]),
              testing::ReadBytes(dir_ / "tree/docsA.txt"));
    // The same source in two entries is stored once.
    EXPECT_EQ(data.FileEntries[4].DataOffset, data.FileEntries[2].DataOffset);
}

TEST_F(Tree, RecurseKeepsTheFoldersInBytewiseOrderAndRecordsThem) {
    const SetupData data = Build(
        "[Dir]\nDirName = {app}\\Data\n[File]\nSource = tree\\*\nDestDir = {app}\\Data\nFlags = recurse shared\n");
    const std::vector<std::string> expected = {"{app}\\Data\\App.EXE",          "{app}\\Data\\Zeta.txt",
                                               "{app}\\Data\\docsA.txt",        "{app}\\Data\\docs\\B.txt",
                                               "{app}\\Data\\docs\\guide.txt",  "{app}\\Data\\docs\\old\\2019.txt",
                                               "{app}\\Data\\docs\\readme.txt", "{app}\\Data\\drafts\\x.txt",
                                               "{app}\\Data\\notes.bak",        "{app}\\Data\\readme.txt"};
    EXPECT_EQ(Destinations(data), expected);
    for (const FileEntry& entry : data.FileEntries) EXPECT_EQ(entry.Flags, FileEntry::SharedFile) << entry.DestName;
    EXPECT_EQ(testing::ReadStoredFile(dir_ / "out/PELORIN.DAT", data.FileEntries[5]),
              testing::ReadBytes(dir_ / "tree/docs/old/2019.txt"));
    // The project's own folder first, then the ones the files need, parents before children.
    EXPECT_EQ(Dirs(data), (std::vector<std::string>{"{app}\\Data", "{app}\\Data\\docs", "{app}\\Data\\docs\\old",
                                                    "{app}\\Data\\drafts"}));

    // A pattern in the last part applies at every depth.
    const SetupData readmes = Build("[File]\nSource = tree\\README.*\nDestDir = {app}\nFlags = recurse\n");
    EXPECT_EQ(Destinations(readmes), (std::vector<std::string>{"{app}\\docs\\readme.txt", "{app}\\readme.txt"}));
}

TEST_F(Tree, ExcludesTakeNamesAtAnyDepthPathsFromTheTopAndWholeFolders) {
    const SetupData data = Build(
        "[File]\nSource = tree\\*\nDestDir = {app}\nFlags = recurse\n"
        "Excludes = *.bak | docs\\old |\\readme.txt| DRAFTS/* | *\\g*.txt\n");
    EXPECT_EQ(Destinations(data), (std::vector<std::string>{"{app}\\App.EXE", "{app}\\Zeta.txt", "{app}\\docsA.txt",
                                                            "{app}\\docs\\B.txt", "{app}\\docs\\readme.txt"}));
    // Wildcards stay within one name: "d*.txt" is no "docs\B.txt" and no "drafts\x.txt".
    const std::vector<std::string> named =
        Destinations(Build("[File]\nSource = tree\\*\nDestDir = {app}\nFlags = recurse\nExcludes = d*.txt\n"));
    EXPECT_EQ(named.size(), 9u);
    EXPECT_EQ(std::count(named.begin(), named.end(), "{app}\\docsA.txt"), 0);
    EXPECT_EQ(std::count(named.begin(), named.end(), "{app}\\drafts\\x.txt"), 1);
}

TEST_F(Tree, AnEmptySelectionStopsTheBuildUnlessAllowed) {
    EXPECT_EQ(Failure("[File]\nSource = tree\\*.none\nDestDir = {app}\n"),
              "6: Source: " + (dir_ / "p.pelproj") +
                  ":6: Source: no file matches tree\\*.none; add the flag allow-empty if that is expected");
    const std::string excluded =
        Failure("[File]\nSource = tree\\*.txt\nDestDir = {app}\nFlags = recurse\nExcludes = *\n");
    EXPECT_NE(excluded.find("no file matches tree\\*.txt or its subfolders once Excludes are applied"),
              std::string::npos)
        << excluded;
    const SetupData data = Build(
        "[File]\nSource = tree\\*.none\nDestDir = {app}\\None\nFlags = allow-empty\n"
        "[File]\nSource = tree\\Zeta.txt\nDestName = {app}\\z.txt\n");
    EXPECT_EQ(Destinations(data), std::vector<std::string>{"{app}\\z.txt"});
    EXPECT_TRUE(data.DirEntries.empty());
}

TEST_F(Tree, ANameThatDoesNotFitWindowsNamesTheLineAndTheFile) {
    // 53 characters of folder: "docsA.txt" still fits (63), "docs\B.txt" does not.
    const std::string folder = "{app}\\" + std::string(47, 'f');
    EXPECT_EQ(Failure("[File]\nSource = tree\\*\nFlags = recurse\nDestDir = " + folder + "\n"),
              "8: DestDir: " + (dir_ / "p.pelproj") + ":8: DestDir: " + folder +
                  "\\docs\\B.txt (docs\\B.txt) is 64 characters long, more than DestName's capacity of 63");

#ifndef _WIN32
    // A name that the building machine holds and Windows does not.
    testing::WriteText(dir_ / "odd/sub/a:b.txt", "x");
    const std::string odd = Failure("[File]\nSource = odd\\*\nDestDir = {app}\nFlags = recurse\n");
    EXPECT_NE(odd.find(":6: Source: sub\\a:b.txt: \"a:b.txt\" is not a file or folder name that Windows can hold"),
              std::string::npos)
        << odd;
#endif
}

TEST_F(Tree, TwoBlocksThatNameOneDestinationAreRefusedWithBothLines) {
    // An explicit block, then a tree going to the same place spelt otherwise.
    EXPECT_EQ(Failure("[File]\nSource = tree\\readme.txt\nDestName = {app}\\T\\README.TXT\n"
                      "[File]\nSource = tree\\*.txt\nDestDir = {app}/t\n"),
              "10: DestDir: " + (dir_ / "p.pelproj") +
                  ":10: DestDir: {app}/t\\readme.txt (readme.txt) is also the destination of the [File] at line 7; "
                  "Windows does not tell the two names apart");
    // Two trees.
    const std::string trees = Failure(
        "[File]\nSource = tree\\docs\\*\nDestDir = {app}\nFlags = recurse\n"
        "[File]\nSource = tree\\*.txt\nDestDir = {APP}\n");
    EXPECT_NE(trees.find(":11: DestDir: \"{APP}\" is not expanded"), std::string::npos) << trees;
    const std::string both = Failure(
        "[File]\nSource = tree\\docs\\*\nDestDir = {app}\nFlags = recurse\n"
        "[File]\nSource = tree\\*.txt\nDestDir = {app}\\\n");
    EXPECT_NE(both.find(":11: DestDir: {app}\\readme.txt (readme.txt) is also the destination of readme.txt of the "
                        "folder tree at line 7"),
              std::string::npos)
        << both;
    // Two blocks of their own stay allowed, as they always were.
    EXPECT_EQ(Destinations(Build("[File]\nSource = tree\\Zeta.txt\nDestName = {app}\\z\n"
                                 "[File]\nSource = tree\\readme.txt\nDestName = {app}\\Z\n")),
              (std::vector<std::string>{"{app}\\z", "{app}\\Z"}));
}

// What would otherwise be ignored, or read as a literal name, is refused.
TEST_F(Tree, KeysThatDoNotBelongTogetherAreRefused) {
    struct Case {
        std::string records;  // from line 5
        std::string located;  // ":line: field: problem"
    };
    const Case cases[] = {
        {"[File]\nSource = tree\\*.txt\nDestName = {app}\\x\n", ":6: Source: a pattern needs DestDir"},
        {"[File]\nSource = tree\\readme.txt\nDestName = {app}\\x\nFlags = recurse\n",
         ":8: Flags: recurse and allow-empty are used only together with DestDir"},
        {"[File]\nSource = tree\\readme.txt\nDestName = {app}\\x\nExcludes = *.bak\n",
         ":8: Excludes: used only together with DestDir"},
        {"[File]\nSource = t*\\*.txt\nDestDir = {app}\n", ":6: Source: wildcards are allowed only in the last part"},
        {"[File]\nSource = tree\\*\nDestDir = {app}\nExcludes = *.bak||x\n",
         ":8: Excludes: the pattern \"\" names no file; patterns are separated by |"},
        {"[File]\nSource = tree\\*\nDestDir = {app}\nExcludes = a:b\n",
         ":8: Excludes: the pattern \"a:b\" holds a character"},
    };
    for (const Case& test : cases) {
        const std::string message = Failure(test.records);
        EXPECT_NE(message.find(test.located), std::string::npos) << message;
    }
}

TEST_F(Tree, EveryFolderTheFilesNeedBecomesADirEntryOnce) {
    const SetupData data = Build(
        "[Dir]\nDirName = {app}\\data\\\n"
        "[File]\nSource = tree\\readme.txt\nDestName = {app}\\Data\\r.txt\n"
        "[File]\nSource = tree\\readme.txt\nDestName = {app}\\bin\\tools\\t.exe\n"
        "[File]\nSource = tree\\readme.txt\nDestName = {win}\\Help/h.txt\n"
        "[File]\nSource = tree\\readme.txt\nDestName = {app}\\BIN\\other.exe\n"
        "[File]\nSource = tree\\readme.txt\nDestName = {app}\\top.txt\n"
        "[File]\nSource = tree\\readme.txt\nDestName = C:\\Fixed\\f.txt\n"
        "[File]\nSource = tree\\readme.txt\nDestName = {app}\\..\\up\\u.txt\n"
        "[File]\nSource = tree\\docs\\*\nDestDir = {sys}\\Demo\nFlags = recurse\n");
    EXPECT_EQ(Dirs(data), (std::vector<std::string>{"{app}\\data\\", "{app}\\bin", "{app}\\bin\\tools", "{win}\\Help",
                                                    "{sys}\\Demo", "{sys}\\Demo\\old"}));
    std::ostringstream dump;
    DumpDescription(data, dump);
    EXPECT_NE(dump.str().find("[DirEntry 6]\n  DirName              = \"{sys}\\Demo\\old\""), std::string::npos)
        << dump.str();

    // A folder that DirName cannot hold is named with the line of the file that needs it.
    const std::string deep = "{app}\\" + std::string(40, 'd') + "\\" + std::string(4, 'e');
    EXPECT_EQ(Failure("[File]\nSource = tree\\readme.txt\nDestName = " + deep + "\\r.txt\n"),
              "7: DestName: " + (dir_ / "p.pelproj") + ":7: DestName: the folder " + deep +
                  " is 51 characters long; its [Dir] entry holds 47, so setup could not record it for uninstalling");
}

}  // namespace
}  // namespace pelorin
