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

// A GUID in its registry form, with braces.
std::wstring guidText(REFGUID guid);

// Whether a key below HKEY_CLASSES_ROOT exists.
bool classesKeyExists(const std::wstring& path);

// The report as two calls on one machine agree on it: the measured
// processor clock ("2090Mhz") may differ by a step and the drives' free space
// moves while other programs write, so those figures read "#".
template <class Text>
Text withClockMasked(Text report)
{
    using Char = typename Text::value_type;
    const auto maskDigitsBefore = [&report](std::size_t end) {
        std::size_t start = end;
        while (start > 0 && report[start - 1] >= '0' && report[start - 1] <= '9')
            --start;
        if (start < end)
            report.replace(start, end - start, 1, Char('#'));
        return start + 1;
    };
    for (std::size_t at = 0; (at = report.find(Text{'M', 'h', 'z'}, at)) != Text::npos;)
        at = maskDigitsBefore(at) + 3;
    const std::size_t disks = report.find(Text{'\n', 'D', 'i', 's', 'k', 's', '\n'});
    if (disks != Text::npos) {
        for (std::size_t at = disks; (at = report.find(Text{'M', 'B'}, at)) != Text::npos;) {
            if (report.find(Text{'\n', 'P', 'r', 'i', 'n', 't', 'e', 'r', 's', '\n'}, disks) < at)
                break;
            at = maskDigitsBefore(at) + 2;
        }
    }
    return report;
}

// What a program printed in text mode, with its CR LF line ends back to LF.
std::string withoutCarriageReturns(const std::string& text);

}  // namespace kel::test
