// TRunLog: lines stamped with the local time, continuation lines indented, each flushed at
// once so that a run that is killed keeps its log up to the last event.
#include "core/RunLog.h"

#include <chrono>
#include <ctime>

namespace pelorin {
namespace {

std::string TimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
    return text;
}

}  // namespace

bool TRunLog::Open(const std::string& path) {
    file_.reset(std::fopen(path.c_str(), "wb"));
    path_ = file_ ? path : std::string();
    return IsOpen();
}

void TRunLog::Line(const std::string& text) {
    if (!file_) return;
    const std::string stamp = TimeStamp();
    std::string entry = stamp + "  ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') continue;
        if (c == '\n') {
            // Blank lines inside a message (a box's paragraphs) are kept as one continuation.
            if (i + 1 < text.size() && text[i + 1] != '\n' && text[i + 1] != '\r')
                entry += "\r\n" + std::string(stamp.size() + 2, ' ');
            continue;
        }
        entry += c;
    }
    entry += "\r\n";
    std::fwrite(entry.data(), 1, entry.size(), file_.get());
    std::fflush(file_.get());
}

}  // namespace pelorin
