// Message boxes of the fuzz targets: Yes/No questions get No, the others OK.
// Nothing is printed: the fuzzer's output stays readable.
#include "QuietServices.h"

namespace pelorin::fuzz {

TMsgResult QuietServices::ShowMessageBox(const std::string& /*text*/, const std::string& /*caption*/,
                                         TMsgButtons buttons) {
    return buttons == TMsgButtons::mbYesNo ? TMsgResult::mrNo : TMsgResult::mrOK;
}

}  // namespace pelorin::fuzz
