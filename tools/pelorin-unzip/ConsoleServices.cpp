// Console stand-ins for the component's message boxes and dialogs: boxes are printed,
// questions read from standard input, and file or folder choosers are never offered.
#include "tools/pelorin-unzip/ConsoleServices.h"

#include <iostream>

namespace pelorin {

std::string AskLine(const std::string& question) {
    std::cerr << question << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cerr << "\n";
        return std::string();
    }
    return answer;
}

TMsgResult ConsoleServices::ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) {
    if (buttons == TMsgButtons::mbOK) {
        std::cerr << caption << ": " << text << "\n";
        return TMsgResult::mrOK;
    }
    const std::string answer = AskLine(caption + ": " + text + " [y/n] ");
    return (!answer.empty() && (answer[0] == 'y' || answer[0] == 'Y')) ? TMsgResult::mrYes : TMsgResult::mrNo;
}

std::optional<std::string> ConsoleServices::OpenFileDialog(const std::string&, const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsoleServices::BrowseForFolder(const std::string&) { return std::nullopt; }

}  // namespace pelorin
