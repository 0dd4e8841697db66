// A generic IEnumXxx over a snapshot of items. Each item handed out is a
// copy the caller owns (interface pointers AddRef'ed, strings duplicated),
// as the policy says.
#pragma once

#include "control/framework/ClassFactory.h"
#include "control/framework/Module.h"

#include <objbase.h>

#include <memory>
#include <new>
#include <vector>

namespace kel::com {

template <class Interface, class Item, class Policy>
class Enumerator final : public Interface {
public:
    // Makes an enumerator over copies of items[0..count).
    static HRESULT create(const Item* items, std::size_t count, Interface** out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        auto shared = std::shared_ptr<Items>(new (std::nothrow) Items, deleteItems);
        if (!shared)
            return E_OUTOFMEMORY;
        try {
            shared->reserve(count);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        for (std::size_t i = 0; i < count; ++i) {
            Item copy{};
            const HRESULT hr = Policy::copy(&copy, items[i]);
            if (FAILED(hr))
                return hr;
            shared->push_back(copy);  // capacity reserved: cannot throw
        }
        auto* created = new (std::nothrow) Enumerator(std::move(shared), 0);
        if (!created)
            return E_OUTOFMEMORY;
        *out = created;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG count = refs_.release();
        if (count == 0)
            delete this;
        return count;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Item* out, ULONG* fetched) override
    {
        if (!out || (wanted != 1 && !fetched))
            return E_POINTER;
        ULONG done = 0;
        while (done < wanted && position_ < items_->size()) {
            const HRESULT hr = Policy::copy(&out[done], (*items_)[position_]);
            if (FAILED(hr)) {
                while (done > 0)
                    Policy::destroy(&out[--done]);
                return hr;
            }
            ++done;
            ++position_;
        }
        if (fetched)
            *fetched = done;
        return done == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        const std::size_t left = items_->size() - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Interface** out) override
    {
        if (!out)
            return E_POINTER;
        *out = new (std::nothrow) Enumerator(items_, position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    using Items = std::vector<Item>;

    static void deleteItems(Items* items)
    {
        if (!items)
            return;
        for (Item& item : *items)
            Policy::destroy(&item);
        delete items;
    }

    Enumerator(std::shared_ptr<Items> items, std::size_t position)
        : items_(std::move(items)), position_(position)
    {
    }
    ~Enumerator() = default;

    ModuleLock moduleLock_;
    RefCount refs_;
    std::shared_ptr<Items> items_;  // shared by clones
    std::size_t position_;
};

}  // namespace kel::com
