// In-place activation against a test container whose site records every
// call: windowed when the site offers no windowless activation, windowless
// when it does, and the property verb through the container's control site.
#include "tests/control/ControlSupport.h"

#include <olectl.h>

#include <string>
#include <vector>

namespace kel::test {
namespace {

constexpr RECT kPosition = {10, 10, 110, 60};

class RecordingSite final : public IOleClientSite, public IOleInPlaceSiteWindowless, public IOleControlSite {
public:
    RecordingSite(HWND window, bool offerWindowless) : window_(window), windowless_(offerWindowless) {}

    std::vector<std::string> calls;
    LONG references = 0;
    HRESULT propertyFrameAnswer = S_OK;

    bool called(const std::string& name) const
    {
        for (const std::string& call : calls) {
            if (call == name)
                return true;
        }
        return false;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
            *object = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (windowless_ &&
                 (IsEqualIID(iid, IID_IOleInPlaceSiteEx) || IsEqualIID(iid, IID_IOleInPlaceSiteWindowless)))
            *object = static_cast<IOleInPlaceSiteWindowless*>(this);
        else if (IsEqualIID(iid, IID_IOleControlSite))
            *object = static_cast<IOleControlSite*>(this);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return record("SaveObject"); }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return record("ShowObject"); }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        *window = window_;
        return record("GetWindow");
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return record("CanInPlaceActivate"); }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return record("OnInPlaceActivate"); }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return record("OnUIActivate"); }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO) override
    {
        *frame = nullptr;
        *document = nullptr;
        *position = kPosition;
        *clip = kPosition;
        return record("GetWindowContext");
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return record("OnUIDeactivate"); }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return record("OnInPlaceDeactivate"); }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceSiteEx, IOleInPlaceSiteWindowless
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override
    {
        *noRedraw = FALSE;
        return record(flags & ACTIVATE_WINDOWLESS ? "OnInPlaceActivateEx(windowless)"
                                                  : "OnInPlaceActivateEx(windowed)");
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL) override { return record("OnInPlaceDeactivateEx"); }
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override { return record("CanWindowlessActivate"); }
    HRESULT STDMETHODCALLTYPE GetCapture() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetCapture(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetFocus() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetFocus(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetDC(LPCRECT, DWORD, HDC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override
    {
        record("ShowPropertyFrame");
        return propertyFrameAnswer;
    }

private:
    HRESULT record(const char* name)
    {
        calls.push_back(name);
        return S_OK;
    }

    HWND window_;
    bool windowless_;
};

class Parent {
public:
    Parent()
    {
        window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    }
    ~Parent() { DestroyWindow(window_); }
    HWND handle() const { return window_; }

private:
    HWND window_;
};

TEST(Activation, WindowedWhenTheSiteOffersNoWindowlessActivation)
{
    Parent parent;
    ASSERT_NE(nullptr, parent.handle());
    RecordingSite site(parent.handle(), false);
    com_ptr<IOleObject> object = createControl<IOleObject>(IID_IOleObject);
    ASSERT_HR(S_OK, object->SetClientSite(&site));
    IOleClientSite* got = nullptr;
    ASSERT_HR(S_OK, object->GetClientSite(&got));
    EXPECT_EQ(static_cast<IOleClientSite*>(&site), got);
    EXPECT_EQ(2, site.references) << "the site handed out carries a reference of its own";
    got->Release();

    ASSERT_HR(S_OK, object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, parent.handle(), &kPosition));
    EXPECT_TRUE(site.called("CanInPlaceActivate"));
    EXPECT_TRUE(site.called("OnInPlaceActivate"));
    EXPECT_TRUE(site.called("GetWindowContext"));
    EXPECT_FALSE(site.called("OnUIActivate"));

    com_ptr<IOleInPlaceObject> inPlace;
    ASSERT_HR(S_OK, object.queryInterface(IID_IOleInPlaceObject, &inPlace));
    HWND own = nullptr;
    ASSERT_HR(S_OK, inPlace->GetWindow(&own));
    EXPECT_EQ(parent.handle(), GetParent(own));
    RECT area = {};
    GetWindowRect(own, &area);
    MapWindowPoints(nullptr, parent.handle(), reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(kPosition.left, area.left);
    EXPECT_EQ(kPosition.bottom, area.bottom);

    ASSERT_HR(S_OK, object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, parent.handle(), &kPosition));
    EXPECT_TRUE(site.called("OnUIActivate"));
    ASSERT_HR(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_TRUE(site.called("OnUIDeactivate"));
    EXPECT_TRUE(site.called("OnInPlaceDeactivate"));
    EXPECT_FALSE(IsWindow(own)) << "the control's window is gone";

    inPlace.reset();
    EXPECT_HR(S_OK, object->Close(OLECLOSE_NOSAVE));
    EXPECT_HR(S_OK, object->SetClientSite(nullptr));
    releaseLast(object);
    EXPECT_EQ(0, site.references);
}

TEST(Activation, WindowlessWhenTheSiteOffersIt)
{
    Parent parent;
    RecordingSite site(parent.handle(), true);
    com_ptr<IOleObject> object = createControl<IOleObject>(IID_IOleObject);
    ASSERT_HR(S_OK, object->SetClientSite(&site));
    ASSERT_HR(S_OK, object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, parent.handle(), &kPosition));
    EXPECT_TRUE(site.called("CanWindowlessActivate"));
    EXPECT_TRUE(site.called("OnInPlaceActivateEx(windowless)"));
    com_ptr<IOleInPlaceObjectWindowless> windowless;
    ASSERT_HR(S_OK, object.queryInterface(IID_IOleInPlaceObjectWindowless, &windowless));
    HWND own = reinterpret_cast<HWND>(0x1);
    EXPECT_HR(E_FAIL, windowless->GetWindow(&own));
    EXPECT_EQ(nullptr, own);
    LRESULT result = 1;
    EXPECT_HR(S_FALSE, windowless->OnWindowMessage(WM_LBUTTONDOWN, 0, 0, &result));

    // Active windowless, the control draws at its position when the
    // container gives no bounds.
    com_ptr<IViewObject> view;
    ASSERT_HR(S_OK, object.queryInterface(IID_IViewObject, &view));
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(200, 100, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 200, 100, BLACKNESS);
    EXPECT_HR(S_OK,
              view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, kPosition.left + 1, kPosition.top + 1));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, kPosition.left - 1, kPosition.top - 1));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    view.reset();
    windowless.reset();
    EXPECT_HR(S_OK, object->Close(OLECLOSE_NOSAVE));
    EXPECT_TRUE(site.called("OnInPlaceDeactivate"));
    EXPECT_HR(S_OK, object->SetClientSite(nullptr));
    releaseLast(object);
    EXPECT_EQ(0, site.references);
}

TEST(Activation, PropertyVerbAsksTheContainerFirst)
{
    Parent parent;
    RecordingSite site(parent.handle(), false);
    com_ptr<IOleObject> object = createControl<IOleObject>(IID_IOleObject);
    ASSERT_HR(S_OK, object->SetClientSite(&site));
    EXPECT_HR(S_OK, object->DoVerb(OLEIVERB_PROPERTIES, nullptr, &site, 0, parent.handle(), &kPosition));
    EXPECT_TRUE(site.called("ShowPropertyFrame"));
    site.calls.clear();
    EXPECT_HR(S_OK, object->DoVerb(1, nullptr, &site, 0, parent.handle(), &kPosition))
        << "verb 1, &Properties...";
    EXPECT_TRUE(site.called("ShowPropertyFrame"));
    EXPECT_HR(S_OK, object->SetClientSite(nullptr));
    releaseLast(object);
    EXPECT_EQ(0, site.references);
}

}  // namespace
}  // namespace kel::test
