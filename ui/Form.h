// TForm: a top-level window that holds controls, with caption, client size, centring, the close
// protocol (close query, then close), its palette and system-menu entries.
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
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

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

    // Show makes the form visible in its window state (default wsNormal) and activates it.
    void Show();
    void Hide();
    // Paints the form now instead of waiting for the message loop.
    void Repaint();
    bool Visible() const;
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);

    // Runs the close query and, when it allows, OnClose and hides the form. Closing the
    // application's main form ends the application. True when closed.
    bool Close();

    // The control that Escape presses (a button with its Cancel property set), and the one that
    // Enter presses (a button with its Default property set).
    void SetCancelControl(TControl* control) { cancelControl_ = control; }
    void SetDefaultControl(TControl* control) { defaultControl_ = control; }

    // The palette that is realised for this form when it becomes active, when the platform asks
    // for a new palette and after another window changed the system palette. Default: none.
    virtual HPALETTE GetPalette() { return nullptr; }

    // Appends an entry to the window's system menu; an empty caption appends a separator with
    // that identifier. The command arrives as WM_SYSCOMMAND with wParam = id.
    void AppendSystemMenuItem(UINT id, const std::string& caption);

    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnClose;

    static TForm* FromHandle(HWND wnd);

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Selects and realises GetPalette() (as a background palette when asked); false without one.
    bool RealizeOwnPalette(bool background);

    WindowHandle handle_;
    std::string caption_;
    TControl* cancelControl_ = nullptr;
    TControl* defaultControl_ = nullptr;
    TWindowState windowState_ = wsNormal;
};

}  // namespace pelorin
