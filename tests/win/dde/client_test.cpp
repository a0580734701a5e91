// TDDE against the scripted DDE server: processed and refused commands, late answers,
// requested texts, and the failure to reach a server that is not there.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "setup/install/DdeHandles.h"
#include "setup/install/ProgmanCommands.h"
#include "tests/win/dde/ChildProcess.h"

namespace pelorin {
namespace {

using testing::ChildProcess;

// Longer than the client waits for any answer; the server is busy until then.
constexpr DWORD LateMs = 8500;
constexpr DWORD LateServerBusyMs = LateMs - TDDE::TransactionTimeout + 700;

// Names of our own: Wine's program manager takes up every conversation on the topic
// "PROGMAN", whatever service is asked for.
std::string ServiceName() { return "PelorinScripted" + std::to_string(::GetCurrentProcessId()); }
std::string TopicName() { return "PelorinTopic" + std::to_string(::GetCurrentProcessId()); }

std::string LogPath() {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "pelorin-dde-" + std::to_string(::GetCurrentProcessId()) + ".log";
}

std::string ReadLog() {
    std::ifstream in(LogPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Expects the call to raise EDDEError with exactly this message.
template <typename Call>
void ExpectDdeError(const std::string& message, Call call) {
    try {
        call();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const EDDEError& e) {
        EXPECT_EQ(message, e.what());
    }
}

class ScriptedServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::DeleteFileA(LogPath().c_str());
        const std::string command =
            "\"" + testing::ProgramFolder() + "..\\bin\\pelorin-ddeserver.exe\"" + " --service " + ServiceName() +
            " --topic " + TopicName() + " --log \"" + LogPath() + "\"" + " --execute [Refuse notprocessed" +
            " --execute [Late ack " + std::to_string(LateMs) +
            " --request GROUPS \"Accessories\\r\\nFull Group\\r\\n\"" +
            " --request \"Full Group\" \"\\\"Full Group\\\",C:\\WINDOWS\\FULLGROU.GRP,2,0,0,0,0\"" +
            " --request Silent -none-" + " --request Late \"late text\" " + std::to_string(LateMs);
        server_ = std::make_unique<ChildProcess>(command);
        ASSERT_TRUE(testing::WaitForService(ServiceName(), TopicName(), 15000)) << "scripted server did not answer";
    }
    static void TearDownTestSuite() {
        server_.reset();
        ::DeleteFileA(LogPath().c_str());
    }

    // One conversation at a time: Wine refuses a second one between the same
    // instance and server while the first is open.
    DdeConversation Open() const { return DdeConversation(dde_, dde_.Connect(service_.get(), topic_.get())); }

    // Requests end their conversation: Wine's DDE servers follow the data of a
    // request with a stray acknowledgement that the conversation's next
    // transaction would take for its own answer.
    std::string RequestText(const std::string& item) const {
        const DdeConversation conversation = Open();
        const DdeStringHandle name(dde_, dde_.CreateStringHandle(item));
        const DdeRequestData answer(dde_, dde_.Request(conversation.get(), name.get(), CF_TEXT));
        return TextOf(answer.get());
    }

    static std::unique_ptr<ChildProcess> server_;
    const TDDE dde_;
    const DdeStringHandle service_{dde_, dde_.CreateStringHandle(ServiceName())};
    const DdeStringHandle topic_{dde_, dde_.CreateStringHandle(TopicName())};
};

std::unique_ptr<ChildProcess> ScriptedServer::server_;

TEST_F(ScriptedServer, ProcessedCommandArrivesWithItsTerminatingZero) {
    const DdeConversation conversation = Open();
    const std::string command = CreateGroupCommand("Tools (32-bit)");
    EXPECT_TRUE(dde_.Execute(conversation.get(), command, false));
    EXPECT_TRUE(dde_.Execute(conversation.get(), command, true));
    EXPECT_NE(std::string::npos,
              ReadLog().find("EXECUTE " + std::to_string(command.size() + 1) + " " + command + "\r\n"));
}

TEST_F(ScriptedServer, CommandNotProcessedRaisesUnlessTolerated) {
    const DdeConversation conversation = Open();
    ExpectDdeError("DDE: Command was not successful",
                   [&] { dde_.Execute(conversation.get(), "[Refuse(\"Group\")]", false); });
    EXPECT_FALSE(dde_.Execute(conversation.get(), "[Refuse(\"Group\")]", true));
    // The refusal is not held against the next command.
    EXPECT_TRUE(dde_.Execute(conversation.get(), "[ShowGroup(\"Group\",1)]", false));
}

TEST_F(ScriptedServer, RequestsHandOutTheServersText) {
    EXPECT_EQ("Accessories\r\nFull Group\r\n", RequestText(ProgmanGroupsItem));
    // A group that still holds items: the count after the second comma is not 0.
    EXPECT_EQ("\"Full Group\",C:\\WINDOWS\\FULLGROU.GRP,2,0,0,0,0", RequestText("full group"));

    const DdeConversation conversation = Open();
    const DdeStringHandle name(dde_, dde_.CreateStringHandle(ProgmanGroupsItem));
    const DdeRequestData answer(dde_, dde_.Request(conversation.get(), name.get(), CF_TEXT));
    EXPECT_EQ(sizeof "Accessories\r\nFull Group\r\n", answer.get().Size);
    EXPECT_NE(nullptr, answer.get().Handle);
}

TEST_F(ScriptedServer, RequestWithoutDataRaisesWithItsCode) {
    ExpectDdeError("DDE: Error during request transaction (code: 16393)", [&] { RequestText("Silent"); });
    ExpectDdeError("DDE: Error during request transaction (code: 16393)", [&] { RequestText("No such item"); });
}

TEST_F(ScriptedServer, ConversationEndsWhenAnOperationFails) {
    {
        const DdeConversation conversation = Open();
        EXPECT_THROW(dde_.Execute(conversation.get(), "[Refuse()]", false), EDDEError);
    }
    ::Sleep(300);
    EXPECT_NE(std::string::npos, ReadLog().find("EXECUTE 11 [Refuse()]\r\nDISCONNECT\r\n"));
}

// A late answer is one of the other failures of an execute: it carries the library's code.
TEST_F(ScriptedServer, ExecuteGivesUpAfterTheTimeout) {
    const DdeConversation conversation = Open();
    const DWORD start = ::GetTickCount();
    ExpectDdeError("DDE: Error during execute transaction (code: 16389)",
                   [&] { dde_.Execute(conversation.get(), "[Late()]", true); });
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, TDDE::TransactionTimeout - 500);
    EXPECT_LT(waited, TDDE::TransactionTimeout + 1500);
    ::Sleep(LateServerBusyMs);
}

TEST_F(ScriptedServer, RequestGivesUpAfterTheTimeout) {
    const DWORD start = ::GetTickCount();
    ExpectDdeError("DDE: Error during request transaction (code: 16386)", [&] { RequestText("Late"); });
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, TDDE::TransactionTimeout - 500);
    EXPECT_LT(waited, TDDE::TransactionTimeout + 1500);
    ::Sleep(LateServerBusyMs);
}

TEST(NoServer, ConnectFailsWithTheLibrarysCode) {
    const TDDE dde;
    const DdeStringHandle none(dde, dde.CreateStringHandle("PelorinNobodyServesThis"));
    ExpectDdeError("DDE: Unable to establish DDE connection (code: 16394)",
                   [&] { dde.Connect(none.get(), none.get()); });
}

}  // namespace
}  // namespace pelorin
