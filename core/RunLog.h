// The plain-text log of an unattended or logged run (the /LOG switch of the setup program and
// the uninstaller): one time-stamped line per event, on disk as soon as it is written.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace pelorin {

class TRunLog {
public:
    // Creates the file (an existing one is replaced). False, with the log closed, when it
    // cannot be created.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // One line: the local time to the millisecond, two blanks and the text; line ends inside
    // the text continue the entry on indented lines. Nothing happens while the log is closed.
    void Line(const std::string& text);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
};

}  // namespace pelorin
