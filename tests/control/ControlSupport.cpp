#include "tests/control/ControlSupport.h"

#include "report/Report.h"

#include <cstdio>
#include <iterator>

namespace kel::test {

namespace {

// COM for the test thread, before any test runs.
struct OleForTests {
    OleForTests() { OleInitialize(nullptr); }
} oleForTests;

}  // namespace

void PrintTo(const Hr& hr, std::ostream* out)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr.value));
    *out << text;
}

std::wstring modulePath()
{
    std::wstring path = KEL_MODULE_PATH;
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path;
}

HMODULE kelModule()
{
    static HMODULE module = LoadLibraryW(modulePath().c_str());
    return module;
}

HRESULT createFromModule(REFCLSID clsid, REFIID iid, void** object)
{
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    HMODULE module = kelModule();
    if (!module)
        return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!get)
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    com_ptr<IClassFactory> factory;
    HRESULT hr = get(clsid, IID_IClassFactory, factory.put_void());
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, iid, object);
}

DWORD runProcess(const std::wstring& commandLine, std::string* output)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (output && !CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return ~DWORD(0);
    if (readEnd)
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;
    const BOOL started =
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    const DWORD startError = GetLastError();
    if (writeEnd)
        CloseHandle(writeEnd);
    if (!started) {
        ADD_FAILURE() << "cannot start " << std::string(commandLine.begin(), commandLine.end()) << ": error "
                      << startError;
        if (readEnd)
            CloseHandle(readEnd);
        return ~DWORD(0);
    }
    if (output) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
            output->append(buffer, read);
        CloseHandle(readEnd);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = ~DWORD(0);
    if (!GetExitCodeProcess(process.hProcess, &code))
        ADD_FAILURE() << "no exit code: error " << GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

DWORD regsvr32(bool unregister)
{
    return runProcess(std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + L"\"" + modulePath() +
                      L"\"");
}

std::wstring expectedReport(bool detail)
{
    std::u16string text;
    EXPECT_TRUE(runReport(detail ? ReportKind::Detail : ReportKind::Brief, &text));
    return std::wstring(text.begin(), text.end());
}

std::wstring toWide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    if (length)
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], length);
    return wide;
}

std::string withoutCarriageReturns(const std::string& text)
{
    std::string lines;
    for (char c : text) {
        if (c != '\r')
            lines += c;
    }
    return lines;
}

std::wstring guidText(REFGUID guid)
{
    wchar_t buffer[40];
    StringFromGUID2(guid, buffer, std::size(buffer));
    return buffer;
}

bool classesKeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace kel::test
