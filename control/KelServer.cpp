#include "control/KelServer.h"

#include "control/CKelCtrl.h"
#include "control/CKelPropPage.h"
#include "control/CatHelp.h"
#include "control/KelGuids.h"
#include "control/KelTypeLibrary.h"
#include "control/framework/ClassFactory.h"

#include <olectl.h>

#include <iterator>
#include <mutex>
#include <new>

namespace kel {

namespace {

const com::ClassEntry kClasses[] = {
    {&kControlClsid, CKelCtrl::create, CKelCtrl::registerClass, CKelCtrl::unregisterClass},
    {&kPropPageClsid, CKelPropPage::create, CKelPropPage::registerClass, CKelPropPage::unregisterClass},
};

// The platform's categories that tell a browser it may script the control
// and initialise it from a page without asking.
constexpr CATID kSafeForScripting = com::guidFromText("7DD95801-9882-11CF-9FA9-00AA006C42C4");
constexpr CATID kSafeForInitializing = com::guidFromText("7DD95802-9882-11CF-9FA9-00AA006C42C4");

std::mutex& registrationLock()
{
    static std::mutex lock;
    return lock;
}

// The categories manager is a COM object: make sure COM is up on this
// thread for the time of the call, whatever the caller did.
class ComScope {
public:
    ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (initialized_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    const bool initialized_;
};

HRESULT forEachClass(HRESULT (*com::ClassEntry::*operation)())
{
    std::lock_guard<std::mutex> guard(registrationLock());
    for (const com::ClassEntry& entry : kClasses) {
        if (FAILED((entry.*operation)()))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

void reportIfFailed(HRESULT hr, const char* message)
{
    if (FAILED(hr))
        OutputDebugStringA(message);
}

}  // namespace

HRESULT getKelClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    return com::ClassFactory::getClassObject(kClasses, std::size(kClasses), clsid, iid, object);
}

HRESULT canUnloadKelServer()
{
    if (com::Module::isLocked())
        return S_FALSE;
    kelTypeLibrary().release();
    return S_OK;
}

HRESULT registerKelServer()
{
    try {
        ComScope com;
        if (FAILED(kelTypeLibrary().registerFromModule()))
            return SELFREG_E_TYPELIB;
        const HRESULT hr = forEachClass(&com::ClassEntry::registerClass);
        if (FAILED(hr))
            return hr;
        reportIfFailed(registerCategory(kSafeForScripting, L"Controls that are safely scriptable"),
                       "Failed to create component category (scriptable)!\n");
        reportIfFailed(
            registerCategory(kSafeForInitializing, L"Controls safely initializable from persistent data"),
            "Failed to create component category (persistence)!\n");
        reportIfFailed(addClassToCategory(kControlClsid, kSafeForScripting),
                       "Failed to register control as safe for scripting!\n");
        reportIfFailed(addClassToCategory(kControlClsid, kSafeForInitializing),
                       "Failed to register control as safe for initializing!\n");
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT unregisterKelServer()
{
    try {
        ComScope com;
        if (FAILED(kelTypeLibrary().unregister()))
            return SELFREG_E_TYPELIB;
        const HRESULT hr = forEachClass(&com::ClassEntry::unregisterClass);
        if (FAILED(hr))
            return hr;
        // Other controls may belong to the categories: they stay.
        removeClassFromCategory(kControlClsid, kSafeForScripting);
        removeClassFromCategory(kControlClsid, kSafeForInitializing);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace kel
