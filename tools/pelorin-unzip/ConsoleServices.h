// The operating system's services for a console program: message boxes become lines on
// standard error, and yes/no questions are asked on the terminal (no answer means no).
#pragma once

#include "platform/SystemServices.h"

namespace pelorin {

class ConsoleServices : public SystemServices {
public:
    TMsgResult ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& initialDir) override;
    std::optional<std::string> BrowseForFolder(const std::string& initialDir) override;
};

// Reads one answer line from standard input after showing the question on standard error;
// empty when input has ended.
std::string AskLine(const std::string& question);

}  // namespace pelorin
