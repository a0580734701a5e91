// A one-line progress bar on standard error, drawn only when standard error is a terminal
// and only when the shown percentage changes.
#pragma once

namespace pelorin {

class ProgressBar {
public:
    ProgressBar();
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Show(int percent);
    // Clears the bar so that a following line starts clean.
    void Clear();

private:
    bool enabled_;
    bool drawn_ = false;
    int shown_ = -1;
};

}  // namespace pelorin
