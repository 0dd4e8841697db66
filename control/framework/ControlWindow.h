// The child window of a control activated in place with a window of its own:
// it paints by asking the control's view to draw into the window.
#pragma once

#include <oleidl.h>

namespace kel::com {

class ControlWindow {
public:
    ControlWindow() = default;
    ~ControlWindow() { destroy(); }
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    // view is not referenced: the control owns this window and outlives it.
    bool create(HWND parent, const RECT& position, IViewObject* view);
    void destroy();
    void move(const RECT& position);
    void show(bool visible);
    HWND handle() const { return window_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    HWND window_ = nullptr;
    IViewObject* view_ = nullptr;
};

}  // namespace kel::com
