// Draws "[#####     ]  50%" with a carriage return so that it overwrites itself, and
// erases it before other output and at the end.
#include "tools/pelorin-unzip/ProgressBar.h"

#include <cstdio>
#include <string>
#ifdef _WIN32
#include <io.h>
#define PELORIN_ISATTY _isatty
#define PELORIN_FILENO _fileno
#else
#include <unistd.h>
#define PELORIN_ISATTY isatty
#define PELORIN_FILENO fileno
#endif

namespace pelorin {

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar() : enabled_(PELORIN_ISATTY(PELORIN_FILENO(stderr)) != 0) {}

ProgressBar::~ProgressBar() { Clear(); }

void ProgressBar::Show(int percent) {
    if (!enabled_ || percent == shown_) return;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    shown_ = percent;
    const int filled = percent * kWidth / 100;
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, ' ');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::Clear() {
    if (!drawn_) return;
    std::fprintf(stderr, "\r%*s\r", kWidth + 8, "");
    std::fflush(stderr);
    drawn_ = false;
    shown_ = -1;
}

}  // namespace pelorin
