#include "control/framework/PropertyPage.h"

#include "control/framework/Resources.h"

#include <cstring>

namespace kel::com {

PropertyPage::PropertyPage(const PropertyPageDescription& description) : description_(description) {}

PropertyPage::~PropertyPage() { Deactivate(); }

HRESULT PropertyPage::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPage)) {
        *object = static_cast<IPropertyPage*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG PropertyPage::AddRef() { return refs_.add(); }

ULONG PropertyPage::Release()
{
    const ULONG count = refs_.release();
    if (count == 0)
        delete this;
    return count;
}

HRESULT PropertyPage::SetPageSite(IPropertyPageSite* site)
{
    site_ = com_ptr<IPropertyPageSite>(site);
    return S_OK;
}

INT_PTR CALLBACK PropertyPage::dialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    // Nothing on the page reacts: it only shows its text.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

HRESULT PropertyPage::Activate(HWND parent, LPCRECT position, BOOL)
{
    if (!position)
        return E_POINTER;
    if (window_)
        return E_UNEXPECTED;
    const DLGTEMPLATE* dialog = loadDialogTemplate(description_.dialogId, description_.resourceLanguage);
    if (!dialog)
        return E_FAIL;
    window_ = CreateDialogIndirectParamW(Module::instance(), dialog, parent, dialogProc,
                                         reinterpret_cast<LPARAM>(this));
    if (!window_)
        return HRESULT_FROM_WIN32(GetLastError());
    return Move(position);
}

HRESULT PropertyPage::Deactivate()
{
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    return S_OK;
}

HRESULT PropertyPage::GetPageInfo(PROPPAGEINFO* info)
{
    if (!info)
        return E_POINTER;
    const std::wstring caption = loadResourceString(description_.captionId, description_.resourceLanguage);
    const DLGTEMPLATE* dialog = loadDialogTemplate(description_.dialogId, description_.resourceLanguage);
    const std::size_t bytes = (caption.size() + 1) * sizeof(wchar_t);
    auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!title)
        return E_OUTOFMEMORY;
    std::memcpy(title, caption.c_str(), bytes);
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = title;
    // Dialog units to pixels by the system's base units: the frame only
    // needs the size to lay out its tabs.
    const LONG units = GetDialogBaseUnits();
    info->size.cx = dialog ? MulDiv(dialog->cx, LOWORD(units), 4) : 0;
    info->size.cy = dialog ? MulDiv(dialog->cy, HIWORD(units), 8) : 0;
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

HRESULT PropertyPage::SetObjects(ULONG count, IUnknown** objects)
{
    if (count && !objects)
        return E_POINTER;
    return S_OK;  // the page maps no properties: nothing to keep
}

HRESULT PropertyPage::Show(UINT command)
{
    if (!window_)
        return E_UNEXPECTED;
    ShowWindow(window_, command);
    return S_OK;
}

HRESULT PropertyPage::Move(LPCRECT position)
{
    if (!position)
        return E_POINTER;
    if (!window_)
        return E_UNEXPECTED;
    MoveWindow(window_, position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
    return S_OK;
}

HRESULT PropertyPage::IsPageDirty() { return S_FALSE; }

HRESULT PropertyPage::Apply() { return S_OK; }

HRESULT PropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

HRESULT PropertyPage::TranslateAccelerator(MSG* message)
{
    if (!message)
        return E_POINTER;
    return window_ && IsDialogMessageW(window_, message) ? S_OK : S_FALSE;
}

}  // namespace kel::com
