// TControl: a child window of a form with bounds, caption, visibility and a repaint-on-set rule.
// Concrete controls pick the window class and styles; the form routes commands back to them.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/Handles.h"
#include "ui/Component.h"

namespace pelorin {

class TForm;

class TControl : public TComponent {
public:
    struct Bounds {
        int Left = 0, Top = 0, Width = 0, Height = 0;
    };

    ~TControl() override;

    HWND Handle() const { return handle_.get(); }
    const Bounds& GetBounds() const { return bounds_; }
    void SetBounds(const Bounds& bounds);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Paints the control now instead of waiting for the message loop.
    void Repaint() const;

    // Called by the parent form for WM_COMMAND notifications of this control.
    virtual void Command(WORD notification);

    // Destroys the window and creates it again with the current styles, under the current
    // parent; bounds, caption, visibility and enabling carry over. Controls keep their other
    // state across it through DestroyingWindow and WindowCreated.
    void RecreateWnd();
    // Moves the control to another form; its window is re-created there.
    void SetParent(TForm& parent);
    TForm& Parent() const { return *parent_; }

    static TControl* FromHandle(HWND wnd);

protected:
    TControl(TForm& parent, const char* windowClass, DWORD style, const Bounds& bounds, DWORD exStyle = 0);

    // The whole work of a setter of a drawn property: the new value, then a repaint.
    template <class T>
    void SetAndRepaint(T& property, const T& value) {
        property = value;
        Repaint();
    }
    // The caption and the window's text, without the repaint of SetCaption.
    void SetCaptionOnly(const std::string& caption);

    // Window styles used by the next creation (RecreateWnd); WS_CHILD and WS_VISIBLE are added.
    DWORD Style() const { return style_; }
    DWORD ExStyle() const { return exStyle_; }
    void SetStyles(DWORD style, DWORD exStyle);

    // Hooks around a re-creation: before the old window goes, after the new one exists.
    virtual void DestroyingWindow() {}
    virtual void WindowCreated() {}

private:
    void CreateHandle(bool shown);

    TForm* parent_;
    std::string windowClass_;
    DWORD style_;
    DWORD exStyle_;
    WindowHandle handle_;
    Bounds bounds_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace pelorin
