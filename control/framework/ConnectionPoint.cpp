#include "control/framework/ConnectionPoint.h"

#include "control/framework/Enumerator.h"

#include <olectl.h>

namespace kel::com {

namespace {

struct ConnectionCopy {
    static HRESULT copy(CONNECTDATA* to, const CONNECTDATA& from)
    {
        *to = from;
        to->pUnk->AddRef();
        return S_OK;
    }
    static void destroy(CONNECTDATA* item) { item->pUnk->Release(); }
};

using ConnectionEnumerator = Enumerator<IEnumConnections, CONNECTDATA, ConnectionCopy>;

}  // namespace

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& owner, const IID& iid) : owner_(owner), iid_(iid)
{
}

ConnectionPoint::~ConnectionPoint() { disconnectAll(); }

void ConnectionPoint::disconnectAll()
{
    for (IUnknown*& sink : slots_) {
        if (sink) {
            IUnknown* old = sink;
            sink = nullptr;
            old->Release();
        }
    }
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return owner_.AddRef(); }

ULONG ConnectionPoint::Release() { return owner_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** owner)
{
    if (!owner)
        return E_POINTER;
    *owner = &owner_;
    owner_.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    if (!sink)
        return E_POINTER;
    IUnknown* events = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&events))) || !events)
        return CONNECT_E_CANNOTCONNECT;
    std::size_t slot = 0;
    while (slot < slots_.size() && slots_[slot])
        ++slot;
    if (slot == slots_.size()) {
        try {
            slots_.push_back(nullptr);
        } catch (const std::bad_alloc&) {
            events->Release();
            return E_OUTOFMEMORY;
        }
    }
    slots_[slot] = events;
    *cookie = static_cast<DWORD>(slot + 1);
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie)
{
    if (cookie == 0 || cookie > slots_.size() || !slots_[cookie - 1])
        return CONNECT_E_NOCONNECTION;
    IUnknown* sink = slots_[cookie - 1];
    slots_[cookie - 1] = nullptr;
    sink->Release();
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (!connections)
        return E_POINTER;
    *connections = nullptr;
    std::vector<CONNECTDATA> live;
    try {
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (slots_[i])
                live.push_back(CONNECTDATA{slots_[i], static_cast<DWORD>(i + 1)});
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return ConnectionEnumerator::create(live.data(), live.size(), connections);
}

}  // namespace kel::com
