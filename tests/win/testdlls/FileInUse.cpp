// FileInUse: an open handle without FILE_SHARE_WRITE or FILE_SHARE_DELETE, which makes
// DeleteFile, MoveFile and writers fail with a sharing violation.
#include "tests/win/testdlls/FileInUse.h"

namespace pelorin::testing {

FileInUse::FileInUse(const std::string& path)
    : handle_(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}

}  // namespace pelorin::testing
