// Services for the fuzz targets: the real file system, message boxes answered without a word.
// Every other service is the system's own.
#pragma once

#include "platform/SystemServices.h"

namespace pelorin::fuzz {

class QuietServices : public SystemServices {
public:
    TMsgResult ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) override;
};

}  // namespace pelorin::fuzz
