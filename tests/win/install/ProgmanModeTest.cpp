// The group step without a program folder: program-manager commands through DDE to a scripted
// server, in order, with "[ReplaceItem(" allowed to go unprocessed; and the generation before
// Windows 4 (NT 3.51, emulated), which writes no uninstall key and has no program folder.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/install/InstallIcons.h"
#include "setup/install/InstallUninstall.h"
#include "tests/win/install/EngineFixture.h"

namespace pelorin::testing {
namespace {

std::vector<std::string> LogLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The scripted DDE server, started beside the test program and ended with the object.
class ScriptedServer {
public:
    ScriptedServer(const std::string& log, const std::string& rules) {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, sizeof self);
        std::string dir = self;
        dir = dir.substr(0, dir.find_last_of('\\'));
        std::string command = "\"" + dir + "\\..\\bin\\pelorin-ddeserver.exe\" --log \"" + log + "\" " + rules;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        process_.reset(pi.hProcess);
        thread_.reset(pi.hThread);
        threadId_ = pi.dwThreadId;
        for (int i = 0; i < 200 && !Ready(log); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~ScriptedServer() {
        if (!process_) return;
        ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        if (::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) ::TerminateProcess(process_.get(), 1);
    }
    bool Started() const { return process_.valid(); }

private:
    static bool Ready(const std::string& log) {
        const std::vector<std::string> lines = LogLines(log);
        return !lines.empty() && lines[0] == "READY";
    }
    KernelHandle process_, thread_;
    DWORD threadId_ = 0;
};

class ProgmanMode : public EngineFixture {};

TEST_F(ProgmanMode, CommandsAndRecordsInOrder) {
    const ProgramsFolderOverride noFolder("");
    const std::string log = root / "dde.log";
    const ScriptedServer server(log, "--execute \"[ReplaceItem(\" notprocessed");
    ASSERT_TRUE(server.Started());
    TIconsStep step{
        "My Group", {{"Tool", "{app}\\tool.exe", "-a", "{app}", "{app}\\i.ico", 2}}, true, "Test App", false};
    context.LogPath = Globals().AppDir + "\\REMOVE.LOG";
    CreateIcons(step, context);

    std::vector<std::string> commands;
    for (const std::string& line : LogLines(log))
        if (line.rfind("EXECUTE ", 0) == 0) commands.push_back(line.substr(line.find(' ', 8) + 1));
    const std::string app = Globals().AppDir, win = Globals().WinDir;
    EXPECT_EQ(commands, (std::vector<std::string>{
                            "[CreateGroup(\"My Group\")]",
                            "[ShowGroup(\"My Group\",1)]",
                            "[ReplaceItem(\"Tool\")]",
                            "[AddItem(" + app + "\\tool.exe -a,\"Tool\"," + app + "\\i.ico,2,,," + app + ")]",
                            "[ReplaceItem(\"Remove Test App\")]",
                            "[AddItem(" + win + "\\FERROW.EXE \"" + app + "\\REMOVE.LOG\" /U,\"Remove Test App\",,,,," +
                                win + ")]",
                        }));
    ASSERT_EQ(changes.Records().size(), 3u);
    EXPECT_EQ(changes.Records()[0].kind, ukProgman);
    EXPECT_EQ(changes.Records()[0].String(0), "My Group");
    EXPECT_EQ(changes.Records()[0].String(1), "");
    EXPECT_EQ(changes.Records()[2].String(1), "Remove Test App");
    EXPECT_EQ(progress.Pos, 2000);
}

TEST_F(ProgmanMode, AnUnprocessedAddItemFailsTheStep) {
    const ProgramsFolderOverride noFolder("");
    const std::string log = root / "dde.log";
    const ScriptedServer server(log, "--execute \"[AddItem(\" notprocessed");
    ASSERT_TRUE(server.Started());
    TIconsStep step{"My Group", {{"Tool", "t.exe", "", "", "", 0}}, false, "Test App", false};
    EXPECT_THROW(CreateIcons(step, context), Exception);
    EXPECT_EQ(changes.Records().size(), 1u);  // the group; the item was not added
}

TEST(ProgmanModeEmulated, Nt351) {
    if (InEmulatedRun()) GTEST_SKIP();
    EXPECT_EQ(RunSelfAs("nt351", "Nt351Run.*"), 0);
}

class Nt351Run : public EngineFixture {};

// Checked step by step: a whole run would talk to whatever program manager the session has.
TEST_F(Nt351Run, NoUninstallKeyAndNoProgramFolder) {
    if (!InEmulatedRun()) GTEST_SKIP() << "runs only in the emulated run";
    ASSERT_EQ(GetWindowsVersion().Major, 3);
    context.LogPath = Globals().AppDir + "\\REMOVE.LOG";
    RegisterUninstall(appVerName, context);
    EXPECT_TRUE(changes.Records().empty());
    KeyHandle key;
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(UninstallKey) + "\\" + appVerName + "_is1").c_str(), 0,
                              KEY_QUERY_VALUE, key.put()),
              ERROR_SUCCESS);
    EXPECT_EQ(GetProgramsFolder(false, false), "");  // so the group step asks the program manager
}

}  // namespace
}  // namespace pelorin::testing
