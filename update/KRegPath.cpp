// The backslash helpers of KReg: portable, so the wizard's folder rules build natively too.
// Neither looks at drive roots: "C:\" loses its backslash like any other path.
#include "update/KReg.h"

namespace pelorin::kreg {

std::string AddBackslash(const std::string& path) {
    if (path.empty() || path.back() == '\\') return path;
    return path + '\\';
}

std::string RemoveBackslash(const std::string& path) {
    if (path.empty() || path.back() != '\\') return path;
    return path.substr(0, path.size() - 1);
}

}  // namespace pelorin::kreg
