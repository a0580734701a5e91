// The authoring tool's error: a problem with the project or its inputs, located by
// file, line and field so the author can find it at once.
#pragma once

#include <string>

#include "core/Exception.h"

namespace pelorin {

class BuildError : public Exception {
public:
    // line 0 and an empty field are left out of the message.
    BuildError(const std::string& file, int line, const std::string& field, const std::string& problem);
    explicit BuildError(const std::string& problem);

    const std::string& File() const { return file_; }
    int Line() const { return line_; }
    const std::string& Field() const { return field_; }

private:
    std::string file_;
    int line_ = 0;
    std::string field_;
};

}  // namespace pelorin
