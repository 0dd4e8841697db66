// A small C++ automation client: creates the control by its ProgID, finds
// the methods by name and prints the report asked for ("brief" or "detail").
//   automation-client.exe [brief|detail]
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool detail = argc > 1 && std::strcmp(argv[1], "detail") == 0;
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    int status = 1;
    CLSID clsid;
    IDispatch* kel = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"KEL.KelCtrl.1", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&kel)))) {
        LPOLESTR name = const_cast<LPOLESTR>(detail ? L"GetDetailInfo" : L"GetBriefInfo");
        DISPID id = 0;
        DISPPARAMS none = {};
        VARIANT result;
        VariantInit(&result);
        HRESULT hr = kel->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        if (SUCCEEDED(hr))
            hr = kel->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, nullptr,
                             nullptr);
        if (SUCCEEDED(hr) && V_VT(&result) == VT_BSTR) {
            // The report is UTF-16; print it in the console's code page.
            const int bytes = WideCharToMultiByte(CP_ACP, 0, V_BSTR(&result), SysStringLen(V_BSTR(&result)),
                                                  nullptr, 0, nullptr, nullptr);
            char* text = new char[bytes + 1];
            WideCharToMultiByte(CP_ACP, 0, V_BSTR(&result), SysStringLen(V_BSTR(&result)), text, bytes,
                                nullptr, nullptr);
            std::fwrite(text, 1, bytes, stdout);
            delete[] text;
            status = 0;
        } else {
            std::fprintf(stderr, "the call failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        }
        VariantClear(&result);
        kel->Release();
    } else {
        std::fprintf(stderr, "KEL.KelCtrl.1 is not registered (regsvr32 Kel.ocx)\n");
    }
    CoUninitialize();
    return status;
}
