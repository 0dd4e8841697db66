// A real container: Wine's ATL control host creates the control by its
// ProgID in a window, activates it and lets it paint; the painted pixels
// are checked and kept as a screenshot (KEL_SCREENSHOT_PATH).
#include "tests/control/ControlSupport.h"
#include "tests/control/ScopedPolicy.h"

#include <objsafe.h>
#include <servprov.h>

#include <cstdio>
#include <iterator>
#include <vector>

namespace kel::test {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 160;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

using AxWinInit = BOOL(WINAPI*)();
using AxCreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

template <class F>
F entry(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void pumpMessages(int milliseconds)
{
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// The window's client area as 32-bit pixels, top row first.
class Capture {
public:
    explicit Capture(HWND window)
    {
        HDC windowDc = GetDC(window);
        dc_ = CreateCompatibleDC(windowDc);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        BitBlt(dc_, 0, 0, kWidth, kHeight, windowDc, 0, 0, SRCCOPY);
        ReleaseDC(window, windowDc);
        GdiFlush();
    }
    ~Capture()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF at(int x, int y) const
    {
        const DWORD pixel = bits_[y * kWidth + x];
        return RGB((pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff);
    }
    bool save(const wchar_t* path) const
    {
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof info;
        info.biWidth = kWidth;
        info.biHeight = -kHeight;
        info.biPlanes = 1;
        info.biBitCount = 32;
        const DWORD imageSize = kWidth * kHeight * 4;
        file.bfType = 0x4d42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + imageSize;
        FILE* out = _wfopen(path, L"wb");
        if (!out)
            return false;
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(bits_, imageSize, 1, out);
        return std::fclose(out) == 0;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

class HostWindow {
public:
    HostWindow()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KelTestHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOPMOST, L"KelTestHost", L"Kel", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                  kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HWND handle() const { return window_; }

private:
    HWND window_;
};

// The control as Wine's ATL hosts it in a window, created by its ProgID,
// activated and painted.
com_ptr<IUnknown> hostedByAtl(HWND window)
{
    using Entry = HRESULT(STDAPICALLTYPE*)();
    com_ptr<IUnknown> control;
    EXPECT_HR(S_OK, entry<Entry>(kelModule(), "DllRegisterServer")());
    HMODULE atl = LoadLibraryW(L"atl.dll");
    EXPECT_NE(nullptr, atl) << "Wine's atl.dll";
    auto init = entry<AxWinInit>(atl, "AtlAxWinInit");
    auto create = entry<AxCreateControl>(atl, "AtlAxCreateControl");
    auto getControl = entry<AxGetControl>(atl, "AtlAxGetControl");
    // Wine's AtlAxWinInit answers FALSE once its window class is registered.
    static const bool initialised = init && init();
    if (!initialised || !create || !getControl) {
        ADD_FAILURE() << "AtlAxWinInit, AtlAxCreateControl, AtlAxGetControl";
        return control;
    }
    com_ptr<IUnknown> container;
    EXPECT_HR(S_OK, create(L"KEL.KelCtrl.1", window, nullptr, container.put()));
    pumpMessages(300);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(300);
    EXPECT_HR(S_OK, getControl(window, control.put()));
    return control;
}

// A window of the test's with the control that Wine's ATL hosts in it.
class Host : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, host.handle());
        control = hostedByAtl(host.handle());
        ASSERT_TRUE(control);
    }

    HostWindow host;
    com_ptr<IUnknown> control;
};

TEST_F(Host, AtlHostsTheControlAndItPaints)
{
    com_ptr<IOleInPlaceObject> inPlace;
    ASSERT_HR(S_OK, control.queryInterface(IID_IOleInPlaceObject, &inPlace));
    HWND own = nullptr;
    const bool windowed = SUCCEEDED(inPlace->GetWindow(&own));
    std::printf("the control is active in place %s\n", windowed ? "with its own window" : "windowless");
    if (windowed) {
        EXPECT_TRUE(IsWindowVisible(own));
    }

    Capture capture(host.handle());
    EXPECT_TRUE(capture.save(KEL_SCREENSHOT_PATH));
    for (POINT corner :
         {POINT{1, 1}, POINT{kWidth - 2, 1}, POINT{1, kHeight - 2}, POINT{kWidth - 2, kHeight - 2}}) {
        EXPECT_EQ(kWhite, capture.at(corner.x, corner.y)) << "corner " << corner.x << "," << corner.y;
    }
    EXPECT_EQ(kBlack, capture.at(0, kHeight / 2)) << "the ellipse touches the left side";
    EXPECT_EQ(kBlack, capture.at(kWidth - 1, kHeight / 2)) << "and the right side";
    EXPECT_EQ(kBlack, capture.at(kWidth / 2, 0)) << "and the top";
    EXPECT_EQ(kWhite, capture.at(kWidth / 2, kHeight / 2)) << "white inside";

    // The property page, shown in the same window.
    com_ptr<IPropertyPage> page;
    ASSERT_HR(S_OK, CoCreateInstance(kPropPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                     page.put_void()));
    const RECT area = {0, 0, kWidth, kHeight};
    ASSERT_HR(S_OK, page->Activate(host.handle(), &area, FALSE));
    HWND pageWindow = FindWindowExW(host.handle(), nullptr, nullptr, nullptr);
    HWND text = nullptr;
    for (HWND child = pageWindow; child && !text; child = GetWindow(child, GW_HWNDNEXT))
        text = FindWindowExW(child, nullptr, L"Static", nullptr);
    ASSERT_NE(nullptr, text) << "the page's static text";
    wchar_t caption[128] = {};
    GetWindowTextW(text, caption, std::size(caption));
    EXPECT_STREQ(L"TODO: Place controls to manipulate properties of Kel Control on this dialog.", caption);
    EXPECT_TRUE(GetWindowLongW(text, GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(0xFFFF, GetDlgCtrlID(text)) << "no identifier (-1 in the template's 16 bits)";
    EXPECT_HR(S_OK, page->Deactivate());
    releaseLast(page);
}

// What Wine's ATL offers a control it hosts: a client site that names no
// page (no service provider, no container moniker), so even a policy that
// allows no page leaves the control scriptable there.
TEST_F(Host, WinesAtlSiteNamesNoPage)
{
    ScopedPolicy allowsNoPage(L"");
    com_ptr<IOleObject> object;
    ASSERT_HR(S_OK, control.queryInterface(IID_IOleObject, &object));
    com_ptr<IOleClientSite> site;
    ASSERT_HR(S_OK, object->GetClientSite(site.put()));
    ASSERT_TRUE(site) << "ATL gives its control a client site";
    com_ptr<IServiceProvider> services;
    EXPECT_HR(E_NOINTERFACE, site.queryInterface(IID_IServiceProvider, &services));
    com_ptr<IMoniker> moniker;
    EXPECT_HR(E_NOTIMPL, site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, moniker.put()));
    com_ptr<IObjectSafety> safety;
    ASSERT_HR(S_OK, control.queryInterface(IID_IObjectSafety, &safety));
    EXPECT_HR(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                      INTERFACESAFE_FOR_UNTRUSTED_CALLER));
}

}  // namespace
}  // namespace kel::test
