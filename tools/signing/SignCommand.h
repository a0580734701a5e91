// The tools' signing command: a command line of the user's with %1 for the unsigned file and
// %2 for the signed file to write, run through the system's shell on a private copy.
#pragma once

#include <string>

#include "core/Exception.h"

namespace pelorin {

// The signing command failed, or wrote no signed file; the message names command and file.
class ESignError : public Exception {
public:
    using Exception::Exception;
};

class SignCommand {
public:
    // pattern names the unsigned file as %1 and, unless the command signs that file in place,
    // the signed file to write as %2. Raises Exception when %1 is missing.
    explicit SignCommand(std::string pattern);

    const std::string& Pattern() const { return pattern_; }
    bool InPlace() const { return inPlace_; }

    // The command line for these files: %1 and %2 replaced by the paths quoted for the shell.
    std::string CommandLine(const std::string& input, const std::string& output) const;

    // Signs a copy of input, named name for the command, in a private folder and writes the
    // signed bytes to output (which may be input itself). Raises ESignError naming the
    // command and name when the command fails or leaves no file or an empty one; output is
    // then untouched. Only a failed write of output itself can leave it half written, so
    // callers give a staged file. The private folder goes in every case.
    void Sign(const std::string& input, const std::string& output, const std::string& name) const;

private:
    std::string pattern_;
    bool inPlace_ = false;
};

// path quoted as one argument for the shell std::system uses: single quotes on POSIX,
// double quotes on Windows (where paths cannot contain them).
std::string QuoteForShell(const std::string& path);

}  // namespace pelorin
