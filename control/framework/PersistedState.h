// The persistent state of a control: the version of its state and its extent.
// One layout for the byte-stream interfaces (stream, storage, memory) and one
// set of names for property bags; see docs/control.md for the byte layout.
#pragma once

#include <ocidl.h>

namespace kel::com {

class PersistedState {
public:
    // version, extent X, extent Y (HIMETRIC), stock-property mask.
    static constexpr ULONG kStreamSize = 16;

    PersistedState(DWORD version, SIZEL defaultExtent);

    void reset();
    DWORD version() const { return version_; }
    SIZEL extent() const { return extent_; }
    void setExtent(SIZEL extent) { extent_ = extent; }

    void toBytes(BYTE (&bytes)[kStreamSize]) const;
    // STG_E_READFAULT when fewer bytes than the layout are given, E_FAIL
    // when they do not describe a state of ours; the state then holds the
    // defaults.
    HRESULT fromBytes(const BYTE* bytes, ULONG size);

    HRESULT load(IStream* stream);
    HRESULT save(IStream* stream) const;

    // Names a missing or unreadable value takes its default; names we do not
    // know are never asked for.
    HRESULT load(IPropertyBag* bag, IErrorLog* log);
    HRESULT save(IPropertyBag* bag) const;

private:
    const DWORD ownVersion_;
    const SIZEL defaultExtent_;
    DWORD version_;
    SIZEL extent_;
};

}  // namespace kel::com
