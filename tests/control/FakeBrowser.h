// A browser as a page's site offers it through IServiceProvider: it knows
// the page's URL and nothing else; any other call fails the test.
#pragma once

#include <exdisp.h>

#include <string>
#include <utility>

namespace kel::test {

class FakeBrowser final : public IWebBrowser2 {
public:
    explicit FakeBrowser(std::wstring url) : url_(std::move(url)) {}
    FakeBrowser(const FakeBrowser&) = delete;
    FakeBrowser& operator=(const FakeBrowser&) = delete;

    ULONG references() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;

    // IDispatch and the rest of the browser: not expected.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return unexpected("GetTypeInfoCount"); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override
    {
        return unexpected("GetTypeInfo");
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return unexpected("GetIDsOfNames");
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return unexpected("Invoke");
    }
    HRESULT STDMETHODCALLTYPE GoBack() override { return unexpected("GoBack"); }
    HRESULT STDMETHODCALLTYPE GoForward() override { return unexpected("GoForward"); }
    HRESULT STDMETHODCALLTYPE GoHome() override { return unexpected("GoHome"); }
    HRESULT STDMETHODCALLTYPE GoSearch() override { return unexpected("GoSearch"); }
    HRESULT STDMETHODCALLTYPE Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override
    {
        return unexpected("Navigate");
    }
    HRESULT STDMETHODCALLTYPE Refresh() override { return unexpected("Refresh"); }
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT*) override { return unexpected("Refresh2"); }
    HRESULT STDMETHODCALLTYPE Stop() override { return unexpected("Stop"); }
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return unexpected("get_Application"); }
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return unexpected("get_Parent"); }
    HRESULT STDMETHODCALLTYPE get_Container(IDispatch**) override { return unexpected("get_Container"); }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch**) override { return unexpected("get_Document"); }
    HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL*) override
    {
        return unexpected("get_TopLevelContainer");
    }
    HRESULT STDMETHODCALLTYPE get_Type(BSTR*) override { return unexpected("get_Type"); }
    HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return unexpected("get_Left"); }
    HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return unexpected("put_Left"); }
    HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return unexpected("get_Top"); }
    HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return unexpected("put_Top"); }
    HRESULT STDMETHODCALLTYPE get_Width(LONG*) override { return unexpected("get_Width"); }
    HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return unexpected("put_Width"); }
    HRESULT STDMETHODCALLTYPE get_Height(LONG*) override { return unexpected("get_Height"); }
    HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return unexpected("put_Height"); }
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR*) override { return unexpected("get_LocationName"); }
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL*) override { return unexpected("get_Busy"); }
    HRESULT STDMETHODCALLTYPE Quit() override { return unexpected("Quit"); }
    HRESULT STDMETHODCALLTYPE ClientToWindow(int*, int*) override { return unexpected("ClientToWindow"); }
    HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return unexpected("PutProperty"); }
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return unexpected("GetProperty"); }
    HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return unexpected("get_Name"); }
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR*) override { return unexpected("get_HWND"); }
    HRESULT STDMETHODCALLTYPE get_FullName(BSTR*) override { return unexpected("get_FullName"); }
    HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return unexpected("get_Path"); }
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL*) override { return unexpected("get_Visible"); }
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL) override { return unexpected("put_Visible"); }
    HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL*) override { return unexpected("get_StatusBar"); }
    HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return unexpected("put_StatusBar"); }
    HRESULT STDMETHODCALLTYPE get_StatusText(BSTR*) override { return unexpected("get_StatusText"); }
    HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return unexpected("put_StatusText"); }
    HRESULT STDMETHODCALLTYPE get_ToolBar(int*) override { return unexpected("get_ToolBar"); }
    HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return unexpected("put_ToolBar"); }
    HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL*) override { return unexpected("get_MenuBar"); }
    HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return unexpected("put_MenuBar"); }
    HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL*) override { return unexpected("get_FullScreen"); }
    HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return unexpected("put_FullScreen"); }
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override
    {
        return unexpected("Navigate2");
    }
    HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF*) override
    {
        return unexpected("QueryStatusWB");
    }
    HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override
    {
        return unexpected("ExecWB");
    }
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override
    {
        return unexpected("ShowBrowserBar");
    }
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE*) override { return unexpected("get_ReadyState"); }
    HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL*) override { return unexpected("get_Offline"); }
    HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override { return unexpected("put_Offline"); }
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL*) override { return unexpected("get_Silent"); }
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return unexpected("put_Silent"); }
    HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL*) override
    {
        return unexpected("get_RegisterAsBrowser");
    }
    HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override
    {
        return unexpected("put_RegisterAsBrowser");
    }
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL*) override
    {
        return unexpected("get_RegisterAsDropTarget");
    }
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override
    {
        return unexpected("put_RegisterAsDropTarget");
    }
    HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL*) override
    {
        return unexpected("get_TheaterMode");
    }
    HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override { return unexpected("put_TheaterMode"); }
    HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL*) override { return unexpected("get_AddressBar"); }
    HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return unexpected("put_AddressBar"); }
    HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL*) override { return unexpected("get_Resizable"); }
    HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return unexpected("put_Resizable"); }

private:
    static HRESULT unexpected(const char* method);

    std::wstring url_;
    ULONG references_ = 0;  // the test owns the object: it lives on its stack
};

}  // namespace kel::test
