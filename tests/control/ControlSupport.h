// What the control tests share: Kel.ocx loaded straight from the build,
// HRESULT checks that print hex, child processes with their output, and the
// machine's own report to compare with.
#pragma once

#include "control/KelGuids.h"
#include "control/framework/ComPtr.h"

#include <gtest/gtest.h>

#include <ocidl.h>
#include <windows.h>

#include <ostream>
#include <string>

namespace kel::test {

using com::com_ptr;

// An HRESULT that prints as 0x%08lx when a check fails.
struct Hr {
    HRESULT value;
    bool operator==(const Hr& other) const { return value == other.value; }
    bool operator!=(const Hr& other) const { return value != other.value; }
};
void PrintTo(const Hr& hr, std::ostream* out);

#define EXPECT_HR(expected, call) EXPECT_EQ(::kel::test::Hr{expected}, ::kel::test::Hr{call})
#define ASSERT_HR(expected, call) ASSERT_EQ(::kel::test::Hr{expected}, ::kel::test::Hr{call})

// The module under test, as the build made it (KEL_MODULE_PATH).
std::wstring modulePath();
HMODULE kelModule();
// A new object of the module through its own DllGetClassObject.
HRESULT createFromModule(REFCLSID clsid, REFIID iid, void** object);

template <class T>
com_ptr<T> createControl(REFIID iid)
{
    com_ptr<T> control;
    const HRESULT hr = createFromModule(kControlClsid, iid, control.put_void());
    EXPECT_HR(S_OK, hr);
    return control;
}

// Releases the last reference and checks that it was the last.
template <class T>
void releaseLast(com_ptr<T>& object)
{
    ASSERT_TRUE(object);
    EXPECT_EQ(0u, object.detach()->Release()) << "references left on the object";
}

// Runs a command line, waits, and returns its exit code; stdout goes to
// output when given.
DWORD runProcess(const std::wstring& commandLine, std::string* output = nullptr);

// The module's DllRegisterServer/DllUnregisterServer through regsvr32.
DWORD regsvr32(bool unregister);

// The report of this machine taken in this process, as the control should
// return it.
std::wstring expectedReport(bool detail);

std::wstring toWide(const std::string& text);

// The report with the measured processor clock ("2090Mhz") written as
// "#Mhz": two measurements of one machine may differ by a step, every other
// byte is the same.
template <class Text>
Text withClockMasked(Text report)
{
    for (std::size_t at = 0; (at = report.find(typename Text::value_type('M'), at)) != Text::npos; ++at) {
        if (report.compare(at, 3, Text{'M', 'h', 'z'}) != 0)
            continue;
        std::size_t start = at;
        while (start > 0 && report[start - 1] >= '0' && report[start - 1] <= '9')
            --start;
        report.replace(start, at - start, 1, typename Text::value_type('#'));
        at = start + 1;
    }
    return report;
}

// What a program printed in text mode, with its CR LF line ends back to LF.
std::string withoutCarriageReturns(const std::string& text);

}  // namespace kel::test
