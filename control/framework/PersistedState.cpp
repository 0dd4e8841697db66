#include "control/framework/PersistedState.h"

namespace kel::com {

namespace {

// We have no stock properties; a state that says it carries some was
// written by another control.
constexpr DWORD kNoStockProperties = 0;

const wchar_t kVersionName[] = L"_Version";
const wchar_t kExtentXName[] = L"_ExtentX";
const wchar_t kExtentYName[] = L"_ExtentY";
const wchar_t kStockPropsName[] = L"_StockProps";

void putLong(BYTE* at, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD getLong(const BYTE* at)
{
    return DWORD(at[0]) | DWORD(at[1]) << 8 | DWORD(at[2]) << 16 | DWORD(at[3]) << 24;
}

// The value under name as a 32-bit integer, when the bag has one.
bool readLong(IPropertyBag* bag, const wchar_t* name, IErrorLog* log, LONG* value)
{
    VARIANT read;
    VariantInit(&read);
    V_VT(&read) = VT_I4;
    if (FAILED(bag->Read(name, &read, log)))
        return false;
    VARIANT converted;
    VariantInit(&converted);
    const bool ok = SUCCEEDED(VariantChangeType(&converted, &read, 0, VT_I4));
    VariantClear(&read);
    if (ok)
        *value = V_I4(&converted);
    return ok;
}

HRESULT writeLong(IPropertyBag* bag, const wchar_t* name, LONG value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return bag->Write(name, &v);
}

}  // namespace

PersistedState::PersistedState(DWORD version, SIZEL defaultExtent)
    : ownVersion_(version), defaultExtent_(defaultExtent), version_(version), extent_(defaultExtent)
{
}

void PersistedState::reset()
{
    version_ = ownVersion_;
    extent_ = defaultExtent_;
}

void PersistedState::toBytes(BYTE (&bytes)[kStreamSize]) const
{
    putLong(bytes, version_);
    putLong(bytes + 4, static_cast<DWORD>(extent_.cx));
    putLong(bytes + 8, static_cast<DWORD>(extent_.cy));
    putLong(bytes + 12, kNoStockProperties);
}

HRESULT PersistedState::fromBytes(const BYTE* bytes, ULONG size)
{
    reset();
    if (!bytes || size < kStreamSize)
        return STG_E_READFAULT;
    const DWORD version = getLong(bytes);
    const auto cx = static_cast<LONG>(getLong(bytes + 4));
    const auto cy = static_cast<LONG>(getLong(bytes + 8));
    // Any minor version of our own major version reads the same layout.
    if (HIWORD(version) != HIWORD(ownVersion_) || cx < 0 || cy < 0 ||
        getLong(bytes + 12) != kNoStockProperties)
        return E_FAIL;
    version_ = version;
    extent_ = SIZEL{cx, cy};
    return S_OK;
}

HRESULT PersistedState::load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    BYTE bytes[kStreamSize];
    ULONG read = 0;
    const HRESULT hr = stream->Read(bytes, kStreamSize, &read);
    if (FAILED(hr)) {
        reset();
        return hr;
    }
    return fromBytes(bytes, read);
}

HRESULT PersistedState::save(IStream* stream) const
{
    if (!stream)
        return E_POINTER;
    BYTE bytes[kStreamSize];
    toBytes(bytes);
    ULONG written = 0;
    const HRESULT hr = stream->Write(bytes, kStreamSize, &written);
    if (FAILED(hr))
        return hr;
    return written == kStreamSize ? S_OK : STG_E_WRITEFAULT;
}

HRESULT PersistedState::load(IPropertyBag* bag, IErrorLog* log)
{
    if (!bag)
        return E_POINTER;
    reset();
    LONG value = 0;
    if (readLong(bag, kVersionName, log, &value) && HIWORD(static_cast<DWORD>(value)) == HIWORD(ownVersion_))
        version_ = static_cast<DWORD>(value);
    if (readLong(bag, kExtentXName, log, &value) && value >= 0)
        extent_.cx = value;
    if (readLong(bag, kExtentYName, log, &value) && value >= 0)
        extent_.cy = value;
    return S_OK;
}

HRESULT PersistedState::save(IPropertyBag* bag) const
{
    if (!bag)
        return E_POINTER;
    HRESULT hr = writeLong(bag, kVersionName, static_cast<LONG>(version_));
    if (SUCCEEDED(hr))
        hr = writeLong(bag, kExtentXName, extent_.cx);
    if (SUCCEEDED(hr))
        hr = writeLong(bag, kExtentYName, extent_.cy);
    if (SUCCEEDED(hr))
        hr = writeLong(bag, kStockPropsName, static_cast<LONG>(kNoStockProperties));
    return hr;
}

}  // namespace kel::com
