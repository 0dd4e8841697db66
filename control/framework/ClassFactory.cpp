#include "control/framework/ClassFactory.h"

namespace kel::com {

HRESULT ClassFactory::getClassObject(const ClassEntry* table, std::size_t count, REFCLSID clsid, REFIID iid,
                                     void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsEqualCLSID(clsid, *table[i].clsid)) {
            ClassFactory* factory = new (std::nothrow) ClassFactory(table[i]);
            if (!factory)
                return E_OUTOFMEMORY;
            const HRESULT hr = factory->QueryInterface(iid, object);
            factory->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() { return refs_.add(); }

ULONG ClassFactory::Release()
{
    const ULONG count = refs_.release();
    if (count == 0)
        delete this;
    return count;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    // None of our objects can be aggregated.
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return entry_.create(iid, object);
}

HRESULT ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        Module::lock();
    else
        Module::unlock();
    return S_OK;
}

}  // namespace kel::com
