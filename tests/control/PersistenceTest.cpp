// The version and the extent survive every persistence interface; bags
// without our names or with names we do not know give the defaults; broken
// streams fail with an error code and leave the control usable.
#include "tests/control/ControlSupport.h"

#include <iterator>
#include <map>
#include <string>

namespace kel::test {
namespace {

constexpr SIZEL kDefaultExtent = {2646, 1323};
constexpr SIZEL kChangedExtent = {4000, 3000};

com_ptr<IPersistStreamInit> controlWithExtent(SIZEL extent)
{
    com_ptr<IPersistStreamInit> control = createControl<IPersistStreamInit>(IID_IPersistStreamInit);
    EXPECT_HR(S_OK, control->InitNew());
    com_ptr<IOleObject> object;
    EXPECT_HR(S_OK, control.queryInterface(IID_IOleObject, &object));
    EXPECT_HR(S_OK, object->SetExtent(DVASPECT_CONTENT, &extent));
    return control;
}

SIZEL extentOf(IUnknown* control)
{
    com_ptr<IOleObject> object;
    SIZEL extent = {-1, -1};
    EXPECT_HR(S_OK, control->QueryInterface(IID_IOleObject, object.put_void()));
    EXPECT_HR(S_OK, object->GetExtent(DVASPECT_CONTENT, &extent));
    return extent;
}

void expectExtent(SIZEL expected, IUnknown* control)
{
    const SIZEL got = extentOf(control);
    EXPECT_EQ(expected.cx, got.cx);
    EXPECT_EQ(expected.cy, got.cy);
}

com_ptr<IStream> memoryStream(const BYTE* bytes, ULONG size)
{
    com_ptr<IStream> stream;
    EXPECT_HR(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
    ULONG written = 0;
    if (size) {
        EXPECT_HR(S_OK, stream->Write(bytes, size, &written));
    }
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

// A property bag as a page's <param> elements make one: names to texts.
class TestBag final : public IPropertyBag {
public:
    std::map<std::wstring, VARIANT> values;

    ~TestBag()
    {
        for (auto& entry : values)
            VariantClear(&entry.second);
    }
    void putText(const wchar_t* name, const wchar_t* text)
    {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(text);
        values[name] = v;
    }
    LONG longValue(const wchar_t* name)
    {
        auto found = values.find(name);
        EXPECT_NE(values.end(), found) << "no value written under this name";
        if (found == values.end())
            return -1;
        EXPECT_EQ(VT_I4, V_VT(&found->second));
        return V_I4(&found->second);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override
    {
        auto found = values.find(name);
        if (found == values.end())
            return E_INVALIDARG;
        VariantInit(value);
        return VariantCopy(value, &found->second);
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override
    {
        VARIANT copy;
        VariantInit(&copy);
        HRESULT hr = VariantCopy(&copy, value);
        if (SUCCEEDED(hr)) {
            VariantClear(&values[name]);
            values[name] = copy;
        }
        return hr;
    }
};

TEST(Persistence, StreamRoundTripAndItsLayout)
{
    com_ptr<IPersistStreamInit> source = controlWithExtent(kChangedExtent);
    EXPECT_HR(S_OK, source->IsDirty());
    ULARGE_INTEGER size = {};
    EXPECT_HR(S_OK, source->GetSizeMax(&size));
    EXPECT_EQ(16u, size.QuadPart);
    com_ptr<IStream> stream = memoryStream(nullptr, 0);
    ASSERT_HR(S_OK, source->Save(stream.get(), TRUE));
    EXPECT_HR(S_FALSE, source->IsDirty());

    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(16u, stat.cbSize.QuadPart);
    BYTE bytes[16] = {};
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes, sizeof bytes, &read);
    const BYTE expected[] = {0x00, 0x00, 0x01, 0x00, 0xa0, 0x0f, 0x00, 0x00,
                             0xb8, 0x0b, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    static_assert(std::size(expected) == std::size(bytes), "the whole stream is compared");
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(expected[i], bytes[i]) << "byte " << i;

    com_ptr<IPersistStreamInit> target = createControl<IPersistStreamInit>(IID_IPersistStreamInit);
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    EXPECT_HR(S_OK, target->Load(stream.get()));
    expectExtent(kChangedExtent, target.get());
    releaseLast(source);
    releaseLast(target);
}

TEST(Persistence, TruncatedOrCorruptStreamsFailAndTheControlStaysUsable)
{
    struct Case {
        const char* what;
        BYTE bytes[16];
        ULONG size;
        HRESULT result;
    };
    const Case cases[] = {
        {"empty", {}, 0, STG_E_READFAULT},
        {"truncated", {0x00, 0x00, 0x01, 0x00, 0xa0, 0x0f}, 6, STG_E_READFAULT},
        {"another major version", {0x00, 0x00, 0x02, 0x00}, 16, E_FAIL},
        {"negative extent", {0x00, 0x00, 0x01, 0x00, 0xff, 0xff, 0xff, 0xff}, 16, E_FAIL},
        {"stock properties we do not have", {0x00, 0x00, 0x01, 0x00, 1, 0, 0, 0, 1, 0, 0, 0, 1}, 16, E_FAIL},
    };
    for (const Case& c : cases) {
        com_ptr<IPersistStreamInit> control = controlWithExtent(kChangedExtent);
        com_ptr<IStream> stream = memoryStream(c.bytes, c.size);
        EXPECT_HR(c.result, control->Load(stream.get())) << c.what;
        expectExtent(kDefaultExtent, control.get());
        com_ptr<IStream> again = memoryStream(nullptr, 0);
        EXPECT_HR(S_OK, control->Save(again.get(), TRUE)) << c.what << ": still usable";
        releaseLast(control);
    }
}

TEST(Persistence, MemoryRoundTripAndShortBuffers)
{
    com_ptr<IPersistStreamInit> source = controlWithExtent(kChangedExtent);
    com_ptr<IPersistMemory> memory;
    ASSERT_HR(S_OK, source.queryInterface(IID_IPersistMemory, &memory));
    ULONG size = 0;
    EXPECT_HR(S_OK, memory->GetSizeMax(&size));
    EXPECT_EQ(16u, size);
    BYTE buffer[16] = {};
    EXPECT_HR(STG_E_MEDIUMFULL, memory->Save(buffer, TRUE, 15));
    ASSERT_HR(S_OK, memory->Save(buffer, TRUE, 16));

    com_ptr<IPersistMemory> target = createControl<IPersistMemory>(IID_IPersistMemory);
    EXPECT_HR(STG_E_READFAULT, target->Load(buffer, 15));
    EXPECT_HR(S_OK, target->Load(buffer, 16));
    expectExtent(kChangedExtent, target.get());
    memory.reset();
    releaseLast(source);
    releaseLast(target);
}

TEST(Persistence, StorageRoundTrip)
{
    com_ptr<ILockBytes> bytes;
    ASSERT_HR(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put()));
    com_ptr<IStorage> storage;
    ASSERT_HR(S_OK, StgCreateDocfileOnILockBytes(
                        bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.put()));
    com_ptr<IPersistStreamInit> source = controlWithExtent(kChangedExtent);
    com_ptr<IPersistStorage> persist;
    ASSERT_HR(S_OK, source.queryInterface(IID_IPersistStorage, &persist));
    ASSERT_HR(S_OK, persist->Save(storage.get(), FALSE));
    EXPECT_HR(S_OK, persist->SaveCompleted(nullptr));
    CLSID written = CLSID_NULL;
    EXPECT_HR(S_OK, ReadClassStg(storage.get(), &written));
    EXPECT_TRUE(IsEqualCLSID(kControlClsid, written));

    com_ptr<IPersistStorage> target = createControl<IPersistStorage>(IID_IPersistStorage);
    EXPECT_HR(S_OK, target->Load(storage.get()));
    expectExtent(kChangedExtent, target.get());

    com_ptr<IStorage> empty;
    ASSERT_HR(S_OK, StgCreateDocfileOnILockBytes(
                        bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, empty.put()));
    EXPECT_HR(STG_E_FILENOTFOUND, target->Load(empty.get()));
    expectExtent(kDefaultExtent, target.get());
    persist.reset();
    releaseLast(source);
    releaseLast(target);
}

TEST(Persistence, PropertyBagNamesRoundTrip)
{
    com_ptr<IPersistStreamInit> source = controlWithExtent(kChangedExtent);
    com_ptr<IPersistPropertyBag> persist;
    ASSERT_HR(S_OK, source.queryInterface(IID_IPersistPropertyBag, &persist));
    TestBag bag;
    ASSERT_HR(S_OK, persist->Save(&bag, TRUE, TRUE));
    EXPECT_EQ(0x00010000, bag.longValue(L"_Version"));
    EXPECT_EQ(4000, bag.longValue(L"_ExtentX"));
    EXPECT_EQ(3000, bag.longValue(L"_ExtentY"));
    EXPECT_EQ(0, bag.longValue(L"_StockProps"));
    EXPECT_EQ(4u, bag.values.size());

    com_ptr<IPersistPropertyBag> target = createControl<IPersistPropertyBag>(IID_IPersistPropertyBag);
    EXPECT_HR(S_OK, target->Load(&bag, nullptr));
    expectExtent(kChangedExtent, target.get());
    persist.reset();
    releaseLast(source);
    releaseLast(target);
}

TEST(Persistence, PageParamsAsTextAndUnknownNames)
{
    TestBag page;
    page.putText(L"_Version", L"65536");
    page.putText(L"_ExtentX", L"5292");
    page.putText(L"_ExtentY", L"2646");
    page.putText(L"_StockProps", L"0");
    page.putText(L"Colour", L"blue");
    com_ptr<IPersistPropertyBag> control = createControl<IPersistPropertyBag>(IID_IPersistPropertyBag);
    EXPECT_HR(S_OK, control->InitNew());
    EXPECT_HR(S_OK, control->Load(&page, nullptr));
    expectExtent(SIZEL{5292, 2646}, control.get());

    TestBag foreign;
    foreign.putText(L"Width", L"100");
    foreign.putText(L"_ExtentX", L"not a number");
    EXPECT_HR(S_OK, control->Load(&foreign, nullptr));
    expectExtent(kDefaultExtent, control.get());
    releaseLast(control);
}

}  // namespace
}  // namespace kel::test
