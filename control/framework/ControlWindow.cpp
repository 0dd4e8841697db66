#include "control/framework/ControlWindow.h"

#include "control/framework/Module.h"

namespace kel::com {

namespace {

const wchar_t kWindowClass[] = L"KelControlWindow";

bool registerWindowClass(WNDPROC procedure)
{
    WNDCLASSW existing;
    if (GetClassInfoW(Module::instance(), kWindowClass, &existing))
        return true;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Module::instance();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassW(&windowClass) != 0;
}

}  // namespace

bool ControlWindow::create(HWND parent, const RECT& position, IViewObject* view)
{
    destroy();
    if (!registerWindowClass(windowProc))
        return false;
    view_ = view;
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left,
                              position.top, position.right - position.left, position.bottom - position.top,
                              parent, nullptr, Module::instance(), this);
    return window_ != nullptr;
}

void ControlWindow::destroy()
{
    if (window_) {
        HWND window = window_;
        window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    view_ = nullptr;
}

void ControlWindow::move(const RECT& position)
{
    if (window_)
        MoveWindow(window_, position.left, position.top, position.right - position.left,
                   position.bottom - position.top, TRUE);
}

void ControlWindow::show(bool visible)
{
    if (window_)
        ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void ControlWindow::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (dc && view_) {
        RECT client;
        GetClientRect(window_, &client);
        const RECTL bounds = {client.left, client.top, client.right, client.bottom};
        view_->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    }
    EndPaint(window_, &ps);
}

LRESULT CALLBACK ControlWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->paint();
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;  // the drawing fills the whole window
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kel::com
