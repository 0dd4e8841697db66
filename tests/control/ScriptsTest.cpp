// Automation clients no one here wrote: Wine's cscript runs the JScript and
// VBScript examples, which create the control by its ProgID and print both
// reports. Their output must be the reports of this machine, but for what
// Wine's VBScript does to a control with IObjectWithSite.
#include "tests/control/ControlSupport.h"

namespace kel::test {
namespace {

std::wstring examplePath(const wchar_t* name)
{
    std::wstring path = toWide(KEL_SOURCE_DIR) + L"/examples/" + name;
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path;
}

void expectScriptPrintsBothReports(const wchar_t* script)
{
    std::string output;
    const DWORD code = runProcess(L"cscript.exe //nologo \"" + examplePath(script) + L"\"", &output);
    EXPECT_EQ(0u, code) << output;
    // Each echo ends its text with a line end of its own.
    const std::wstring expected = expectedReport(false) + L"\r\n" + expectedReport(true) + L"\r\n";
    EXPECT_EQ(withClockMasked(std::string(expected.begin(), expected.end())), withClockMasked(output));
}

// Each client creates the control by its ProgID, so each test registers the
// module first and leaves the prefix unregistered, as it found it.
class Scripts : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, regsvr32(false)); }
    void TearDown() override { EXPECT_EQ(0u, regsvr32(true)); }
};

TEST_F(Scripts, JScriptPrintsBothReports) { expectScriptPrintsBothReports(L"kel.js"); }

// Wine 10's VBScript gives an object that has IObjectWithSite a site made
// from the script host's IServiceProvider, and cscript's script site has
// none: CreateObject fails and the example prints nothing (docs/wine.md).
// Windows' CreateObject makes such objects. The day Wine's does too, this
// fails and the example's output is checked here again.
TEST_F(Scripts, VBScriptCreateObjectFailsUnderWineForASitedControl)
{
    std::string output;
    EXPECT_EQ(0u, runProcess(L"cscript.exe //nologo \"" + examplePath(L"kel.vbs") + L"\"", &output));
    EXPECT_EQ("", output);
}

TEST_F(Scripts, CppAutomationExamplePrintsTheDetailedReport)
{
    std::string output;
    EXPECT_EQ(0u, runProcess(L"\"" + std::wstring(KEL_AUTOMATION_CLIENT_PATH) + L"\" detail", &output));
    const std::wstring expected = expectedReport(true);
    EXPECT_EQ(withClockMasked(std::string(expected.begin(), expected.end())),
              withClockMasked(withoutCarriageReturns(output)));
}

}  // namespace
}  // namespace kel::test
