// The control as a hostile web page meets it: every DISPID near the two real
// ones with every flag combination and odd arguments, odd safety options,
// random persistence streams and property bags, and IOleObject calls in an
// order no container uses. Every answer must be a proper result code, and the
// control must still give a right report afterwards.
#include "tests/control/ControlSupport.h"
#include "tests/control/SteadyReport.h"

#include <objsafe.h>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace kel::test {
namespace {

// An answer a caller can act on: success, or a failure code of the kinds
// IDispatch and the OLE interfaces document.
bool isProperAnswer(HRESULT hr)
{
    static const HRESULT kKnown[] = {
        S_OK,
        S_FALSE,
        E_NOTIMPL,
        E_NOINTERFACE,
        E_POINTER,
        E_FAIL,
        E_INVALIDARG,
        E_OUTOFMEMORY,
        E_UNEXPECTED,
        DISP_E_MEMBERNOTFOUND,
        DISP_E_BADPARAMCOUNT,
        DISP_E_NONAMEDARGS,
        DISP_E_PARAMNOTFOUND,
        DISP_E_TYPEMISMATCH,
        DISP_E_EXCEPTION,
        DISP_E_BADVARTYPE,
        DISP_E_UNKNOWNINTERFACE,
        DISP_E_OVERFLOW,
        STG_E_READFAULT,
        STG_E_INVALIDPOINTER,
        OLE_E_NOTRUNNING,
        OLE_E_NOCONNECTION,
        OLEOBJ_E_NOVERBS,
        OLEOBJ_S_INVALIDVERB,
        OLE_S_USEREG,
        OLE_E_ADVISENOTSUPPORTED,
        E_ABORT,
        STG_E_INVALIDFUNCTION,
        CO_E_NOTINITIALIZED,
    };
    for (HRESULT known : kKnown) {
        if (hr == known)
            return true;
    }
    return FAILED(hr) && HRESULT_FACILITY(hr) != 0;
}

// The argument values: integers around powers of two, strings from nothing to
// a megabyte, format strings, null pointers where a VARIANT may hold them.
class Arguments {
public:
    Arguments()
    {
        for (LONG value : {0L, 1L, -1L, 127L, 128L, 255L, 256L, 32767L, 32768L, 65535L, 65536L, LONG_MAX,
                           LONG_MIN, 0x7FFFFFFEL})
            add(VT_I4)->lVal = value;
        add(VT_I2)->iVal = SHRT_MIN;
        add(VT_UI1)->bVal = 255;
        add(VT_R8)->dblVal = 1e308;
        add(VT_BOOL)->boolVal = VARIANT_TRUE;
        add(VT_EMPTY);
        add(VT_NULL);
        add(VT_ERROR)->scode = DISP_E_PARAMNOTFOUND;
        add(VT_BSTR)->bstrVal = nullptr;
        add(VT_DISPATCH)->pdispVal = nullptr;
        add(VT_UNKNOWN)->punkVal = nullptr;
        add(VT_BYREF | VT_I4)->plVal = &byRefInt_;
        add(VT_BYREF | VT_VARIANT)->pvarVal = &byRefVariant_;
        for (std::size_t length : {std::size_t(0), std::size_t(1), std::size_t(259), std::size_t(260),
                                   std::size_t(261), std::size_t(65536), std::size_t(1) << 20})
            add(VT_BSTR)->bstrVal = SysAllocStringLen(std::wstring(length, L'A').c_str(), UINT(length));
        for (const wchar_t* text : {L"%s%s%s%s%n%n", L"%x%x%x%x", L"%999999999d", L"\xFFFF\xD800"})
            add(VT_BSTR)->bstrVal = SysAllocString(text);
    }
    ~Arguments()
    {
        for (VARIANT& value : values_)
            VariantClear(&value);
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    std::size_t size() const { return values_.size(); }
    // A copy, since a callee may change arguments passed by reference.
    VARIANT copyOf(std::size_t index) const
    {
        VARIANT copy;
        VariantInit(&copy);
        copy = values_[index % values_.size()];
        return copy;
    }

private:
    VARIANT* add(VARTYPE type)
    {
        values_.emplace_back();
        VariantInit(&values_.back());
        V_VT(&values_.back()) = type;
        return &values_.back();
    }

    std::vector<VARIANT> values_;
    LONG byRefInt_ = 42;
    VARIANT byRefVariant_ = {};
};

struct Outcome {
    HRESULT hr;
    bool resultProper;
};

Outcome invokeWith(IDispatch* dispatch, DISPID id, WORD flags, const Arguments& arguments, UINT count,
                   std::size_t first, UINT named, bool withPointers)
{
    VARIANT args[3];
    for (UINT i = 0; i < count; ++i)
        args[i] = arguments.copyOf(first + i * 7);
    DISPID names[3] = {DISPID_PROPERTYPUT, 0, -1};
    DISPPARAMS params = {count ? args : nullptr, named ? names : nullptr, count,
                         named < count ? named : count};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception = {};
    UINT argError = 0xFFFF;
    const HRESULT hr =
        dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, withPointers ? &result : nullptr,
                         withPointers ? &exception : nullptr, withPointers ? &argError : nullptr);
    bool proper = !withPointers || hr != S_OK || V_VT(&result) == VT_BSTR || V_VT(&result) == VT_EMPTY;
    VariantClear(&result);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return {hr, proper};
}

std::wstring briefReportOf(IDispatch* dispatch)
{
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    EXPECT_HR(S_OK, dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                                     nullptr, nullptr));
    std::wstring text = V_VT(&result) == VT_BSTR
                            ? std::wstring(V_BSTR(&result), SysStringLen(V_BSTR(&result)))
                            : L"(no text)";
    VariantClear(&result);
    return text;
}

TEST(Hostile, EveryDispidFlagAndArgumentGetsAProperAnswer)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(dispatch);
    const Arguments arguments;
    std::vector<DISPID> ids;
    for (DISPID id = -10; id <= 10; ++id)
        ids.push_back(id);
    for (DISPID id : std::initializer_list<DISPID>{100, 0x10000, 0x7FFFFFFF, LONG_MIN, -1000000})
        ids.push_back(id);
    unsigned calls = 0, successes = 0;
    std::size_t next = 0;
    for (DISPID id : ids) {
        for (WORD flags = 0; flags < 16; ++flags) {
            // The real members run a whole report; fewer argument shapes for them.
            const UINT shapes = (id == 1 || id == 2) ? 3 : 12;
            for (UINT shape = 0; shape < shapes; ++shape, next += 5) {
                const UINT count = shape % 4;
                const UINT named = shape / 4 % 3;
                const bool withPointers = shape % 2 == 0;
                Outcome outcome =
                    invokeWith(dispatch.get(), id, flags, arguments, count, next, named, withPointers);
                ++calls;
                successes += outcome.hr == S_OK;
                EXPECT_TRUE(isProperAnswer(outcome.hr))
                    << "id " << id << " flags " << flags << " " << count << " args, " << named << " named: 0x"
                    << std::hex << outcome.hr;
                EXPECT_TRUE(outcome.resultProper) << "id " << id << " flags " << flags << ": not a text";
            }
        }
    }
    std::printf("%u calls, %u succeeded\n", calls, successes);
    EXPECT_EQ(steadyPart(expectedReport(false)), steadyPart(briefReportOf(dispatch.get())));
    releaseLast(dispatch);
}

TEST(Hostile, EveryLengthOfStringArgumentToTheRealMembers)
{
    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(dispatch);
    const Arguments arguments;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        VARIANT arg = arguments.copyOf(i);
        DISPPARAMS params = {&arg, nullptr, 1, 0};
        const HRESULT hr = dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                            nullptr, nullptr, nullptr);
        EXPECT_TRUE(isProperAnswer(hr)) << "argument " << i << ": 0x" << std::hex << hr;
    }
    EXPECT_EQ(steadyPart(expectedReport(false)), steadyPart(briefReportOf(dispatch.get())));
    releaseLast(dispatch);
}

TEST(Hostile, SafetyOptionsWithOddArguments)
{
    com_ptr<IObjectSafety> safety = createControl<IObjectSafety>(IID_IObjectSafety);
    ASSERT_TRUE(safety);
    DWORD supported = 0, enabled = 0;
    const IID odd = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    for (const IID* iid : {&IID_IDispatch, &IID_IUnknown, &IID_NULL, &odd, &IID_IPersistStreamInit}) {
        EXPECT_TRUE(isProperAnswer(safety->GetInterfaceSafetyOptions(*iid, nullptr, nullptr)));
        EXPECT_TRUE(isProperAnswer(safety->GetInterfaceSafetyOptions(*iid, &supported, nullptr)));
        EXPECT_TRUE(isProperAnswer(safety->GetInterfaceSafetyOptions(*iid, nullptr, &enabled)));
        for (DWORD mask : {0u, 1u, 2u, 3u, 4u, 0x80000000u, 0xFFFFFFFFu}) {
            for (DWORD options : {0u, 1u, 2u, 3u, 0xFFFFFFFFu})
                EXPECT_TRUE(isProperAnswer(safety->SetInterfaceSafetyOptions(*iid, mask, options)))
                    << std::hex << mask << " " << options;
        }
    }
    com_ptr<IDispatch> dispatch;
    ASSERT_HR(S_OK, safety->QueryInterface(IID_IDispatch, dispatch.put_void()));
    EXPECT_EQ(steadyPart(expectedReport(false)), steadyPart(briefReportOf(dispatch.get())));
}

com_ptr<IStream> streamOf(const std::vector<BYTE>& bytes)
{
    com_ptr<IStream> stream;
    EXPECT_HR(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
    ULONG written = 0;
    if (!bytes.empty())
        stream->Write(bytes.data(), ULONG(bytes.size()), &written);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

TEST(Hostile, StreamLoadOfRandomAndTruncatedStreams)
{
    com_ptr<IPersistStreamInit> persist = createControl<IPersistStreamInit>(IID_IPersistStreamInit);
    ASSERT_TRUE(persist);
    // A stream the control saved itself, then cut short at every length.
    com_ptr<IStream> saved = streamOf({});
    EXPECT_TRUE(isProperAnswer(persist->InitNew()));
    ASSERT_HR(S_OK, persist->Save(saved.get(), TRUE));
    STATSTG stat = {};
    saved->Stat(&stat, STATFLAG_NONAME);
    std::vector<BYTE> whole(size_t(stat.cbSize.QuadPart));
    LARGE_INTEGER start = {};
    saved->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!whole.empty())
        saved->Read(whole.data(), ULONG(whole.size()), &read);
    std::mt19937 random(9);
    for (std::size_t length = 0; length <= whole.size() + 64; ++length) {
        std::vector<BYTE> bytes(whole.begin(), whole.begin() + std::min(length, whole.size()));
        while (bytes.size() < length)
            bytes.push_back(BYTE(random()));
        com_ptr<IPersistStreamInit> fresh = createControl<IPersistStreamInit>(IID_IPersistStreamInit);
        com_ptr<IStream> stream = streamOf(bytes);
        const HRESULT hr = fresh->Load(stream.get());
        EXPECT_TRUE(isProperAnswer(hr)) << length << " bytes: 0x" << std::hex << hr;
    }
    for (int round = 0; round < 200; ++round) {
        std::vector<BYTE> bytes(random() % 300);
        for (BYTE& b : bytes)
            b = BYTE(random());
        com_ptr<IStream> stream = streamOf(bytes);
        const HRESULT hr = persist->Load(stream.get());
        EXPECT_TRUE(isProperAnswer(hr)) << "random stream: 0x" << std::hex << hr;
    }
    EXPECT_TRUE(isProperAnswer(persist->Load(nullptr)));
    com_ptr<IDispatch> dispatch;
    ASSERT_HR(S_OK, persist->QueryInterface(IID_IDispatch, dispatch.put_void()));
    EXPECT_EQ(steadyPart(expectedReport(false)), steadyPart(briefReportOf(dispatch.get())));
}

// A property bag that answers every read with one odd VARIANT or a failure.
class OddBag : public IPropertyBag {
public:
    // Each mode answers Read in its own odd way.
    static constexpr int kModes = 7;

    explicit OddBag(int mode) : mode_(mode) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT* value, IErrorLog*) override
    {
        ++reads;
        if (!value)
            return E_POINTER;
        switch (mode_ % kModes) {
        case 0:
            return E_FAIL;
        case 1:
            return E_INVALIDARG;
        case 2:
            V_VT(value) = VT_BSTR;
            V_BSTR(value) = SysAllocStringLen(std::wstring(1 << 20, L'x').c_str(), 1 << 20);
            return S_OK;
        case 3:
            V_VT(value) = VT_BSTR;
            V_BSTR(value) = nullptr;
            return S_OK;
        case 4:
            V_VT(value) = VT_I4;
            V_I4(value) = LONG_MIN;
            return S_OK;
        case 5:
            V_VT(value) = VT_DISPATCH;
            V_DISPATCH(value) = nullptr;
            return S_OK;
        default:
            V_VT(value) = VT_R8;
            V_R8(value) = -0.0;
            return S_OK;
        }
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return S_OK; }
    int reads = 0;

private:
    int mode_;
};

TEST(Hostile, PropertyBagLoadOfOddBags)
{
    com_ptr<IPersistPropertyBag> persist = createControl<IPersistPropertyBag>(IID_IPersistPropertyBag);
    ASSERT_TRUE(persist);
    EXPECT_TRUE(isProperAnswer(persist->Load(nullptr, nullptr)));
    for (int mode = 0; mode < OddBag::kModes; ++mode) {
        OddBag bag(mode);
        const HRESULT hr = persist->Load(&bag, nullptr);
        EXPECT_TRUE(isProperAnswer(hr)) << "mode " << mode << ": 0x" << std::hex << hr;
        EXPECT_TRUE(isProperAnswer(persist->Save(&bag, TRUE, TRUE)));
    }
    com_ptr<IDispatch> dispatch;
    ASSERT_HR(S_OK, persist->QueryInterface(IID_IDispatch, dispatch.put_void()));
    EXPECT_EQ(steadyPart(expectedReport(false)), steadyPart(briefReportOf(dispatch.get())));
}

TEST(Hostile, OleObjectCallsOutOfOrder)
{
    com_ptr<IOleObject> ole = createControl<IOleObject>(IID_IOleObject);
    ASSERT_TRUE(ole);
    RECT rect = {0, 0, 100, 100};
    MSG message = {};
    // -7 is the properties verb; 7 and -100 are verbs nobody defined.
    for (LONG verb : std::initializer_list<LONG>{OLEIVERB_PRIMARY, OLEIVERB_SHOW, OLEIVERB_OPEN,
                                                 OLEIVERB_HIDE, OLEIVERB_UIACTIVATE, OLEIVERB_INPLACEACTIVATE,
                                                 OLEIVERB_DISCARDUNDOSTATE, -7, 7, -100}) {
        EXPECT_TRUE(isProperAnswer(ole->DoVerb(verb, nullptr, nullptr, 0, nullptr, nullptr))) << verb;
        EXPECT_TRUE(isProperAnswer(ole->DoVerb(verb, &message, nullptr, -1, nullptr, &rect))) << verb;
    }
    SIZEL size = {};
    EXPECT_TRUE(isProperAnswer(ole->GetExtent(DVASPECT_CONTENT, &size)));
    EXPECT_TRUE(isProperAnswer(ole->GetExtent(DVASPECT_ICON, &size)));
    SIZEL huge = {LONG_MAX, LONG_MIN};
    EXPECT_TRUE(isProperAnswer(ole->SetExtent(DVASPECT_CONTENT, &huge)));
    EXPECT_TRUE(isProperAnswer(ole->Close(OLECLOSE_NOSAVE)));
    EXPECT_TRUE(isProperAnswer(ole->Close(OLECLOSE_SAVEIFDIRTY)));
    EXPECT_TRUE(isProperAnswer(ole->SetClientSite(nullptr)));
    com_ptr<IOleClientSite> site;
    EXPECT_TRUE(isProperAnswer(ole->GetClientSite(site.put())));
    DWORD connection = 0;
    EXPECT_TRUE(isProperAnswer(ole->Unadvise(12345)));
    EXPECT_TRUE(isProperAnswer(ole->Unadvise(0)));
    EXPECT_TRUE(isProperAnswer(ole->Advise(nullptr, &connection)));
    DWORD status = 0;
    EXPECT_TRUE(isProperAnswer(ole->GetMiscStatus(DVASPECT_CONTENT, &status)));
    EXPECT_TRUE(isProperAnswer(ole->SetHostNames(nullptr, nullptr)));
    EXPECT_TRUE(isProperAnswer(ole->Update()));
    EXPECT_TRUE(isProperAnswer(ole->IsUpToDate()));
    com_ptr<IDispatch> dispatch;
    ASSERT_HR(S_OK, ole->QueryInterface(IID_IDispatch, dispatch.put_void()));
    EXPECT_EQ(steadyPart(expectedReport(false)), steadyPart(briefReportOf(dispatch.get())));
    dispatch.reset();
    EXPECT_TRUE(isProperAnswer(ole->Close(OLECLOSE_NOSAVE)));
}

}  // namespace
}  // namespace kel::test
