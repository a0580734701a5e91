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
    // Digits by hand: the runtime's formatted printing would add tens of kilobytes to a program.
    std::string text;
    const auto put = [&text](long value, int width, char after) {
        std::string digits = std::to_string(value);
        if (digits.size() < static_cast<std::size_t>(width)) digits.insert(0, width - digits.size(), '0');
        text += digits;
        if (after) text += after;
    };
    put(local.tm_year + 1900L, 4, '-');
    put(local.tm_mon + 1L, 2, '-');
    put(local.tm_mday, 2, ' ');
    put(local.tm_hour, 2, ':');
    put(local.tm_min, 2, ':');
    put(local.tm_sec, 2, '.');
    put(static_cast<long>(millis), 3, '\0');
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
