// Common controls of the window layer: TProgressBar and TAnimate.
// Setters store the value and repaint at once.
#pragma once

#include "ui/Control.h"

namespace pelorin {

class TProgressBar : public TControl {
public:
    TProgressBar(TForm& parent, const Bounds& bounds);

    // Defaults: Min 0, Max 100, Position 0.
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);

private:
    void ApplyRange();
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

// Plays a clip of the system's shell library (the copy-file clip and its kin).
class TAnimate : public TControl {
public:
    TAnimate(TForm& parent, const Bounds& bounds);

    // The clip's resource number in the shell library; 0 (default) means none.
    void SetCommonAVI(int resourceId);
    // The last frame played; 0 (default) plays the whole clip.
    void SetStopFrame(int frame) { stopFrame_ = frame; }
    int StopFrame() const { return stopFrame_; }
    // Starts or stops the clip, repeating without end. False when no clip could be opened.
    bool SetActive(bool active);
    bool Active() const { return active_; }

private:
    ModuleHandle shell_;
    bool opened_ = false;
    bool active_ = false;
    int stopFrame_ = 0;
};

}  // namespace pelorin
