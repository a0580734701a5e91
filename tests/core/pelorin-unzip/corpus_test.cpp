// Extracts archives made by independent tools with pelorin-unzip and with Info-ZIP unzip
// and compares the trees byte for byte; damaged archives must fail cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

using pelorin::testing::ReadText;
using pelorin::testing::WriteText;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// Runs a shell command; returns its exit status.
int Shell(const std::string& command) {
    const int raw = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 255;
}

// Runs a shell command and keeps what it writes to standard output; returns its exit status.
int Capture(const std::string& command, std::string& output, bool keepErrors = false) {
    FILE* pipe = popen((command + (keepErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    if (pipe == nullptr) return 255;
    output.clear();
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int raw = pclose(pipe);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 255;
}

std::string Tool() { return std::string(std::getenv("PELORIN_BINARY_DIR")) + "/bin/pelorin-unzip"; }

// What Info-ZIP unzip writes to standard output, without its two-line warning about bytes in
// front of the archive, which pelorin-unzip puts on standard error as a note.
std::string WithoutExtraBytesWarning(std::string output) {
    const std::string last = "(attempting to process anyway)\n";
    const std::size_t at = output.find("warning [");
    const std::size_t end = output.find(last, at);
    if (at != std::string::npos && end != std::string::npos) output.erase(at, end + last.size() - at);
    return output;
}

// Every regular file below root with its contents, by relative path.
std::vector<std::pair<std::string, std::string>> Tree(const fs::path& root) {
    std::vector<std::pair<std::string, std::string>> files;
    if (!fs::exists(root)) return files;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        if (item.is_regular_file()) files.emplace_back(fs::relative(item.path(), root).string(), ReadText(item.path()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

class UnzipCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        work_ = scratch_.Path();
        src_ = work_ / "src";
        std::mt19937 random(7);
        std::string noise(300000, '\0');
        for (char& c : noise) c = static_cast<char>(random());
        std::string text;
        for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + " of some compressible text\n";
        WriteText(src_ / "data/noise.bin", noise);
        WriteText(src_ / "data/text.txt", text);
        WriteText(src_ / "data/deeper/small.txt", "small\n");
        WriteText(src_ / "empty.txt", "");
        WriteText(src_ / "Mixed Case Name.TXT", "blank and case\n");
    }

    // Makes an archive of the source tree with a shell command run in the source folder.
    fs::path Make(const std::string& name, const std::string& command) {
        const fs::path archive = work_ / name;
        EXPECT_EQ(0, Shell("cd " + Quote(src_.string()) + " && " + command + " " + Quote(archive.string()) + " ."))
            << command;
        return archive;
    }

    int Ours(const fs::path& archive, const std::string& options, const fs::path& out,
             const std::string& patterns = "") {
        return Shell(Quote(Tool()) + " -q " + options + " " + Quote(archive.string()) + " " + patterns + " -d " +
                     Quote(out.string()));
    }

    // unzipStatus: 1 where Info-ZIP unzip warns of a program in front of the archive.
    void ExpectSameAsUnzip(const fs::path& archive, const std::string& options = "", bool sameNames = true,
                           int unzipStatus = 0) {
        const fs::path ours = work_ / (archive.filename().string() + ".ours");
        const fs::path theirs = work_ / (archive.filename().string() + ".theirs");
        ASSERT_EQ(0, Ours(archive, "-o " + options, ours)) << archive;
        ASSERT_EQ(unzipStatus,
                  Shell("unzip -qq -o " + options + " " + Quote(archive.string()) + " -d " + Quote(theirs.string())));
        auto expected = Tree(theirs);
        auto actual = Tree(ours);
        EXPECT_FALSE(expected.empty());
        if (!sameNames) {
            // Names in the OEM character set come out in different character sets; compare contents.
            for (auto* files : {&expected, &actual}) {
                for (auto& file : *files) file.first.clear();
                std::sort(files->begin(), files->end());
            }
        }
        EXPECT_TRUE(actual == expected) << archive;
    }

    // A program with an archive appended: pelorin-unzip -t passes where Info-ZIP unzip finds no
    // error in the data (with status 1, its warning about the program), and lists it alike.
    void ExpectTestAndListingsAsUnzip(const fs::path& program) {
        const std::string name = Quote(program.string());
        std::string ours;
        std::string theirs;
        EXPECT_EQ(0, Capture(Quote(Tool()) + " -t " + name, ours)) << ours;
        EXPECT_NE(ours.find("No errors detected in compressed data of"), std::string::npos) << ours;
        EXPECT_EQ(1, Capture("unzip -t " + name, theirs)) << theirs;
        EXPECT_NE(theirs.find("No errors detected in compressed data of"), std::string::npos) << theirs;
        Capture("{ " + Quote(Tool()) + " -t " + name + " >/dev/null; }", ours, true);
        EXPECT_NE(ours.find("extra bytes at beginning"), std::string::npos) << ours;
        for (const char* option : {"-l", "-v"}) {
            EXPECT_EQ(0, Capture(Quote(Tool()) + " " + option + " " + name, ours));
            Capture(std::string("unzip ") + option + " " + name, theirs);
            EXPECT_EQ(ours, WithoutExtraBytesWarning(theirs)) << option;
        }
    }

    pelorin::testing::ScratchDir scratch_{"pelorin-unzip-corpus"};
    fs::path work_;
    fs::path src_;
};

TEST_F(UnzipCorpus, MatchesUnzipOnArchivesOfIndependentTools) {
    ExpectSameAsUnzip(Make("stored.zip", "zip -q -r -0"));
    ExpectSameAsUnzip(Make("fast.zip", "zip -q -r -1"));
    ExpectSameAsUnzip(Make("best.zip", "zip -q -r -9"));
    ExpectSameAsUnzip(Make("sevenzip.zip", "7z a -bd -tzip -mx=9"));
    ExpectSameAsUnzip(Make("crypt.zip", "zip -q -r -P secret"), "-P secret");
    ExpectSameAsUnzip(Make("crypt7z.zip", "7z a -bd -tzip -psecret -mem=ZipCrypto"), "-P secret");
    const fs::path commented = Make("commented.zip", "echo 'archive comment' | zip -q -r -z");
    ExpectSameAsUnzip(commented);
}

TEST_F(UnzipCorpus, ReadsArchivesAppendedToAStubAndSplitArchives) {
    const fs::path plain = Make("plain.zip", "zip -q -r");
    const fs::path stubbed = work_ / "stubbed.exe";
    WriteText(stubbed, std::string(20000, 'M') + ReadText(plain));
    const fs::path out = work_ / "stubbed.out";
    EXPECT_EQ(0, Ours(stubbed, "-o", out));
    EXPECT_TRUE(Tree(out) == Tree(src_));

    // Info-ZIP unzip cannot read split archives; compare with the source instead.
    const fs::path split = Make("split.zip", "zip -q -r -s 64k");
    ASSERT_TRUE(fs::exists(work_ / "split.z01"));
    const fs::path splitOut = work_ / "split.out";
    EXPECT_EQ(0, Ours(split, "-o", splitOut));
    EXPECT_TRUE(Tree(splitOut) == Tree(src_));
}

TEST_F(UnzipCorpus, LegacyMethodsFromOtherEncoders) {
    const fs::path fixtures = fs::path(std::getenv("PELORIN_SOURCE_DIR")) / "tests/fixtures/zip-legacy";
    for (const char* name :
         {"cc-SHRUNK.ZIP", "cc-imploding-4Kdict-2trees.zip", "cc-imploding-8Kdict-3trees.zip", "sc-shrink.zip"}) {
        ExpectSameAsUnzip(fixtures / name);
    }
    ExpectSameAsUnzip(fixtures / "sc-implode.zip", "", false);
    // Nothing independent decodes reduced entries here: their stored CRC-32 is the check.
    for (const char* name : {"sc-reduce1.zip", "sc-reduce2.zip", "sc-reduce3.zip", "sc-reduce4.zip"}) {
        EXPECT_EQ(0, Shell(Quote(Tool()) + " -t " + Quote((fixtures / name).string()))) << name;
    }
}

TEST_F(UnzipCorpus, RefusesWhatItCannotExtractAndKeepsGoing) {
    // Deflate64 is a method the component does not know: counted as failed, nothing left.
    const fs::path deflate64 = Make("deflate64.zip", "7z a -bd -tzip -mm=Deflate64");
    const fs::path out = work_ / "d64.out";
    EXPECT_EQ(1, Ours(deflate64, "-o", out));
    EXPECT_FALSE(fs::exists(out / "data/text.txt"));

    const fs::path crypt = Make("wrongpw.zip", "zip -q -r -P secret");
    EXPECT_EQ(1, Ours(crypt, "-o -P wrong", work_ / "wrongpw.out"));
    EXPECT_EQ(11, Ours(crypt, "-o -P secret", work_ / "nomatch.out", "nothing-matches"));
    EXPECT_EQ(9, Shell(Quote(Tool()) + " " + Quote((work_ / "missing.zip").string())));
    EXPECT_EQ(10, Shell(Quote(Tool()) + " -x"));
}

TEST_F(UnzipCorpus, DamagedArchivesFailCleanly) {
    const fs::path good = Make("good.zip", "zip -q -r -0");
    const std::string bytes = ReadText(good);

    // A flipped byte inside the stored data of text.txt: that file fails its CRC and is removed.
    std::string damaged = bytes;
    const std::size_t at = damaged.find("line 100 of");
    ASSERT_NE(at, std::string::npos);
    damaged[at] ^= 0x20;
    const fs::path bad = work_ / "badcrc.zip";
    WriteText(bad, damaged);
    const fs::path out = work_ / "badcrc.out";
    EXPECT_EQ(1, Ours(bad, "-o", out));
    EXPECT_FALSE(fs::exists(out / "data/text.txt"));
    EXPECT_TRUE(fs::exists(out / "data/deeper/small.txt"));
    EXPECT_EQ(1, Shell(Quote(Tool()) + " -t " + Quote(bad.string())));

    // Cut short at many places: never a crash (status 2 or 1, not a signal).
    for (const std::size_t cut : {std::size_t{10}, bytes.size() / 3, bytes.size() / 2, bytes.size() - 30}) {
        const fs::path truncated = work_ / ("cut" + std::to_string(cut) + ".zip");
        WriteText(truncated, bytes.substr(0, cut));
        const int status = Ours(truncated, "-o", work_ / "cut.out");
        EXPECT_TRUE(status == 1 || status == 2) << "cut at " << cut << " gave " << status;
    }

    // A central directory of garbage.
    std::string garbage = bytes;
    const std::size_t central = garbage.rfind("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    for (std::size_t i = central + 4; i < central + 40; ++i) garbage[i] = static_cast<char>(0xA5);
    const fs::path scrambled = work_ / "scrambled.zip";
    WriteText(scrambled, garbage);
    const int status = Ours(scrambled, "-o", work_ / "scrambled.out");
    EXPECT_TRUE(status == 0 || status == 1 || status == 2) << status;
}

// -t decodes in memory: run in a folder that is both the temporary and the current folder and
// cannot be written, it passes, and the folder stays empty with its old time (root may write
// anywhere, but not without changing that time).
TEST_F(UnzipCorpus, TestingWritesNothing) {
    const fs::path archive = Make("tested.zip", "zip -q -r");
    const fs::path locked = work_ / "locked";
    fs::create_directory(locked);
    const fs::file_time_type old = fs::last_write_time(locked) - std::chrono::hours(1);
    fs::last_write_time(locked, old);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    std::string out;
    EXPECT_EQ(0, Capture("cd " + Quote(locked.string()) + " && TMPDIR=" + Quote(locked.string()) + " " + Quote(Tool()) +
                             " -t " + Quote(archive.string()),
                         out));
    EXPECT_NE(out.find("    testing: data/noise.bin"), std::string::npos) << out;
    EXPECT_NE(out.find("No errors detected in compressed data of"), std::string::npos) << out;
    EXPECT_TRUE(fs::is_empty(locked));
    EXPECT_TRUE(fs::last_write_time(locked) == old);
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(UnzipCorpus, PatternsJunkPathsAndOverwriteChoices) {
    const fs::path archive = Make("select.zip", "zip -q -r");
    const fs::path out = work_ / "select.out";
    EXPECT_EQ(0, Ours(archive, "-o", out, "'data/*.TXT'"));
    EXPECT_TRUE(fs::exists(out / "data/text.txt"));
    EXPECT_TRUE(fs::exists(out / "data/deeper/small.txt"));
    EXPECT_FALSE(fs::exists(out / "data/noise.bin"));

    const fs::path flat = work_ / "flat.out";
    EXPECT_EQ(0, Ours(archive, "-o -j", flat));
    EXPECT_TRUE(fs::exists(flat / "small.txt"));
    EXPECT_FALSE(fs::exists(flat / "data"));

    WriteText(flat / "small.txt", "mine\n");
    EXPECT_EQ(1, Ours(archive, "-n -j", flat));
    EXPECT_EQ("mine\n", ReadText(flat / "small.txt"));
    EXPECT_EQ(0, Ours(archive, "-o -j", flat));
    EXPECT_EQ("small\n", ReadText(flat / "small.txt"));
}

}  // namespace

namespace {

TEST_F(UnzipCorpus, PipeWritesTheBytesAndNothingElseAsUnzipDoes) {
    const fs::path archive = Make("pipe.zip", "zip -q -r");
    const fs::path crypt = Make("pipecrypt.zip", "zip -q -r -P secret");
    const std::string a = Quote(archive.string());
    for (const std::string& selection :
         {a, a + " 'data/*'", a + " -x '*.bin' 'data/deeper/*'", "-P secret " + Quote(crypt.string()) + " 'data/*'"}) {
        std::string ours;
        std::string theirs;
        EXPECT_EQ(0, Capture(Quote(Tool()) + " -p " + selection, ours)) << selection;
        EXPECT_EQ(0, Capture("unzip -p " + selection, theirs)) << selection;
        EXPECT_FALSE(ours.empty()) << selection;
        EXPECT_TRUE(ours == theirs) << selection << ": " << ours.size() << " bytes against " << theirs.size();
    }

    // A damaged entry: its bytes still come out (they are gone before the checksum is known),
    // the report goes to standard error and the status says something failed.
    std::string damaged = ReadText(Make("pipebad.zip", "zip -q -r -0"));
    damaged[damaged.find("line 100 of")] ^= 0x20;
    const fs::path bad = work_ / "pipebad2.zip";
    WriteText(bad, damaged);
    std::string out;
    EXPECT_EQ(1, Capture(Quote(Tool()) + " -p " + Quote(bad.string()) + " data/text.txt", out));
    EXPECT_EQ(out.size(), ReadText(src_ / "data/text.txt").size());
    EXPECT_EQ(out.find("bad CRC"), std::string::npos);
    std::string both;
    Capture(Quote(Tool()) + " -p " + Quote(bad.string()) + " data/text.txt", both, true);
    EXPECT_NE(both.find("bad CRC"), std::string::npos);
}

TEST_F(UnzipCorpus, ExclusionsAsUnzipTakesThem) {
    const fs::path archive = Make("exclude.zip", "zip -q -r");
    const std::string args = Quote(archive.string()) + " -x '*.bin' 'Mixed*' -d ";
    const fs::path ours = work_ / "exclude.ours";
    const fs::path theirs = work_ / "exclude.theirs";
    ASSERT_EQ(0, Shell(Quote(Tool()) + " -q -o " + args + Quote(ours.string())));
    ASSERT_EQ(0, Shell("unzip -qq -o " + args + Quote(theirs.string())));
    EXPECT_TRUE(Tree(ours) == Tree(theirs));
    EXPECT_FALSE(fs::exists(ours / "data/noise.bin"));
    EXPECT_TRUE(fs::exists(ours / "data/text.txt"));
    EXPECT_EQ(10, Shell(Quote(Tool()) + " " + Quote(archive.string()) + " -x"));
}

TEST_F(UnzipCorpus, ListingsMatchUnzipLineForLine) {
    fs::remove(src_ / "data/noise.bin");  // incompressible data is rated differently
    const fs::path archive = Make("list.zip", "zip -q -r");
    const fs::path fast = Make("listfast.zip", "zip -q -r -1");
    for (const fs::path& file : {archive, fast}) {
        for (const char* option : {"-l", "-v"}) {
            std::string ours;
            std::string theirs;
            EXPECT_EQ(0, Capture(Quote(Tool()) + " " + option + " " + Quote(file.string()), ours));
            EXPECT_EQ(0, Capture(std::string("unzip ") + option + " " + Quote(file.string()), theirs));
            EXPECT_EQ(ours, theirs) << option;
        }
    }
}

TEST_F(UnzipCorpus, ArchiveAppendedToAProgramWithSignaturesInItsCode) {
    // The program of tests/core/unzip/DecoyProgram.c holds the three record signatures.
    const std::string program = ReadText(fs::path(std::getenv("PELORIN_BINARY_DIR")) / "tests/unzip-decoy");
    ASSERT_NE(program.find("fake.txt"), std::string::npos);
    const fs::path appended = work_ / "appended.exe";
    WriteText(appended, program + ReadText(Make("appended.zip", "zip -q -r")));
    ExpectSameAsUnzip(appended, "", true, 1);
    fs::remove(src_ / "data/noise.bin");  // incompressible data is rated differently in listings
    const fs::path listed = work_ / "listed.exe";
    WriteText(listed, program + ReadText(Make("listed.zip", "zip -q -r")));
    ExpectTestAndListingsAsUnzip(listed);
}

// The update wizard of the Windows tree beside this one (scripts/build makes both) packed with
// the sample archive, as it is and signed.
TEST_F(UnzipCorpus, PackedUpdateProgramsPassAsUnzipPassesThem) {
    const fs::path binary = std::getenv("PELORIN_BINARY_DIR");
    const fs::path wizard = binary.parent_path() / "win64/bin/update.exe";
    if (!fs::exists(wizard)) GTEST_SKIP() << "no " << wizard << ": build the win64 tree beside this one";
    const fs::path sample = work_ / "sample";
    const fs::path script = fs::path(std::getenv("PELORIN_SOURCE_DIR")) / "examples/update/build-sample.sh";
    ASSERT_EQ(0, Shell("sh " + Quote(script.string()) + " " + Quote(sample.string()) + " " + Quote(wizard.string()) +
                       " " + Quote((binary / "bin/pelorin-pack").string())));
    const fs::path packed = sample / "tzarnix-update.exe";
    ExpectTestAndListingsAsUnzip(packed);

    if (Shell("command -v osslsigncode") != 0) GTEST_SKIP() << "osslsigncode is not installed";
    const std::string key = Quote((work_ / "key.pem").string());
    const std::string cert = Quote((work_ / "cert.pem").string());
    ASSERT_EQ(0, Shell("openssl req -x509 -newkey rsa:2048 -nodes -keyout " + key + " -out " + cert +
                       " -days 30 -subj /CN=Test"));
    const fs::path signedProgram = work_ / "signed.exe";
    ASSERT_EQ(0, Shell("osslsigncode sign -certs " + cert + " -key " + key + " -n Name -in " + Quote(packed.string()) +
                       " -out " + Quote(signedProgram.string())));
    // The certificate table follows the archive's end record.
    ASSERT_GT(fs::file_size(signedProgram), fs::file_size(packed) + 1000);
    ExpectTestAndListingsAsUnzip(signedProgram);
}

TEST_F(UnzipCorpus, HelpAndVersionGoToStandardOutput) {
    std::string help;
    EXPECT_EQ(0, Capture(Quote(Tool()) + " -h", help));
    EXPECT_NE(help.find("usage: pelorin-unzip"), std::string::npos);
    std::string longHelp;
    EXPECT_EQ(0, Capture(Quote(Tool()) + " --help", longHelp));
    EXPECT_EQ(help, longHelp);
    std::string version;
    EXPECT_EQ(0, Capture(Quote(Tool()) + " --version", version));
    EXPECT_EQ(version.rfind("pelorin-unzip ", 0), 0u) << version;
    std::string bare;
    EXPECT_EQ(0, Capture(Quote(Tool()) + " -v", bare));
    EXPECT_EQ(bare, version);
}

}  // namespace
