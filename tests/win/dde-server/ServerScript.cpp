// Parses the test DDE server's command line into its script and picks the rule
// that answers a given command or request.
#include "tests/win/dde-server/ServerScript.h"

#include <cctype>
#include "core/Exception.h"

namespace pelorin::ddeserver {

namespace {

// Arguments are read front to back; a missing one is a usage error.
class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
    bool done() const { return next_ >= args_.size(); }
    std::string take(const char* what) {
        if (done()) throw Exception(std::string("missing ") + what);
        return args_[next_++];
    }
    // An optional trailing delay: a plain number that is not the next option.
    unsigned takeDelay() {
        if (done() || args_[next_].empty() || !std::isdigit(static_cast<unsigned char>(args_[next_][0]))) return 0;
        return static_cast<unsigned>(std::stoul(take("delay")));
    }

private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

ExecuteResult ParseResult(const std::string& word) {
    if (word == "ack") return ExecuteResult::Ack;
    if (word == "notprocessed") return ExecuteResult::NotProcessed;
    throw Exception("unknown execute result: " + word);
}

// "\r" and "\n" in a request text stand for carriage return and line feed.
std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
            out += text[++i] == 'r' ? '\r' : '\n';
            continue;
        }
        out += text[i];
    }
    return out;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

Script ParseScript(const std::vector<std::string>& args) {
    Script script;
    ArgReader in(args);
    while (!in.done()) {
        const std::string option = in.take("option");
        if (option == "--service") {
            script.Service = in.take("service name");
        } else if (option == "--topic") {
            script.Topic = in.take("topic name");
        } else if (option == "--log") {
            script.LogFile = in.take("log file");
        } else if (option == "--lifetime") {
            script.LifetimeSeconds = static_cast<unsigned>(std::stoul(in.take("lifetime")));
        } else if (option == "--execute") {
            ExecuteRule rule;
            rule.Prefix = in.take("command prefix");
            rule.Result = ParseResult(in.take("execute result"));
            rule.DelayMs = in.takeDelay();
            script.Executes.push_back(rule);
        } else if (option == "--request") {
            RequestRule rule;
            rule.Item = in.take("item name");
            const std::string text = in.take("request text");
            rule.Answers = text != "-none-";
            rule.Text = rule.Answers ? Unescape(text) : std::string();
            rule.DelayMs = in.takeDelay();
            script.Requests.push_back(rule);
        } else {
            throw Exception("unknown option: " + option);
        }
    }
    return script;
}

ExecuteRule FindExecuteRule(const Script& script, const std::string& command) {
    for (const ExecuteRule& rule : script.Executes)
        if (command.compare(0, rule.Prefix.size(), rule.Prefix) == 0) return rule;
    return ExecuteRule{};
}

RequestRule FindRequestRule(const Script& script, const std::string& item) {
    for (const RequestRule& rule : script.Requests)
        if (SameName(rule.Item, item)) return rule;
    RequestRule none;
    none.Item = item;
    none.Answers = false;
    return none;
}

}  // namespace pelorin::ddeserver
