// The script of the test DDE server: which answer each command or request gets.
// Parsed from the server's command line; see main.cpp for the syntax.
#pragma once

#include <string>
#include <vector>

namespace pelorin::ddeserver {

enum class ExecuteResult { Ack, NotProcessed };

struct ExecuteRule {
    std::string Prefix;  // matches every command that starts with it
    ExecuteResult Result = ExecuteResult::Ack;
    unsigned DelayMs = 0;
};

struct RequestRule {
    std::string Item;  // compared without regard to case, as DDE names are
    bool Answers = true;
    std::string Text;
    unsigned DelayMs = 0;
};

struct Script {
    std::string Service = "PROGMAN";
    std::string Topic = "PROGMAN";
    std::string LogFile;
    unsigned LifetimeSeconds = 120;
    std::vector<ExecuteRule> Executes;
    std::vector<RequestRule> Requests;
};

// Raises Exception with a usage hint on a malformed command line.
Script ParseScript(const std::vector<std::string>& args);

// The first rule that fits, or the default: commands are acknowledged at once,
// requests of unknown items get no data.
ExecuteRule FindExecuteRule(const Script& script, const std::string& command);
RequestRule FindRequestRule(const Script& script, const std::string& item);

}  // namespace pelorin::ddeserver
