// One generic class factory, driven by a table of the classes a module serves.
#pragma once

#include "control/framework/Module.h"

#include <objbase.h>

#include <atomic>
#include <cstddef>
#include <new>

namespace kel::com {

// A class the module serves: how to make one and how to (un)register it.
struct ClassEntry {
    const CLSID* clsid;
    HRESULT (*create)(REFIID iid, void** object);
    HRESULT (*registerClass)();
    HRESULT (*unregisterClass)();
};

// Creation in the usual shape: a new object with count 1, asked for the
// interface, then released, so a failed query destroys it again.
template <class T>
HRESULT createObject(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    T* created = new (std::nothrow) T();
    if (!created)
        return E_OUTOFMEMORY;
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

// The one reference count of an object.
class RefCount {
public:
    ULONG add() { return ++count_; }
    ULONG release() { return --count_; }

private:
    std::atomic<ULONG> count_{1};
};

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}

    // DllGetClassObject over a table.
    static HRESULT getClassObject(const ClassEntry* table, std::size_t count, REFCLSID clsid, REFIID iid,
                                  void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~ClassFactory() = default;

    ModuleLock moduleLock_;
    RefCount refs_;
    const ClassEntry& entry_;
};

}  // namespace kel::com
