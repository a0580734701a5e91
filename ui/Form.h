// TForm: a top-level window that holds controls, with caption, client size, centring and the
// close protocol (close query, then close); Escape presses the button marked Cancel.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/win/Handles.h"
#include "ui/Component.h"
#include "ui/Events.h"

namespace pelorin {

class TControl;

enum TFormBorderStyle { bsSizeable, bsDialog };

class TForm : public TComponent {
public:
    // The window is created hidden; ownerWindow may be null for a form that stands alone.
    explicit TForm(HWND ownerWindow, TFormBorderStyle borderStyle = bsSizeable);
    ~TForm() override;

    HWND Handle() const { return handle_.get(); }

    // Creates a control owned by this form and placed on it.
    template <typename T, typename... Args>
    T& Add(Args&&... args) {
        return Own<T>(*this, std::forward<Args>(args)...);
    }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetClientSize(int width, int height);
    SIZE ClientSize() const;
    void CenterOnScreen();

    void Show();
    void Hide();
    bool Visible() const;

    // Runs the close query and, when it allows, OnClose and hides the form. True when closed.
    bool Close();

    // The control that Escape presses (a button with its Cancel property set).
    void SetCancelControl(TControl* control) { cancelControl_ = control; }

    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnClose;

    static TForm* FromHandle(HWND wnd);

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    WindowHandle handle_;
    std::string caption_;
    TControl* cancelControl_ = nullptr;
};

}  // namespace pelorin
