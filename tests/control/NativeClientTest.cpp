// The native example, linked against Kel.ocx's import library, prints the
// same lines through the exported classes as the control returns.
#include "tests/control/ControlSupport.h"

namespace kel::test {
namespace {

TEST(NativeClient, PrintsTheControlsBriefReport)
{
    std::wstring path = KEL_NATIVE_CLIENT_PATH;
    std::string output;
    ASSERT_EQ(0u, runProcess(L"\"" + path + L"\"", &output)) << output;
    const std::string lines = withoutCarriageReturns(output);

    com_ptr<IDispatch> dispatch = createControl<IDispatch>(IID_IDispatch);
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    ASSERT_HR(S_OK, dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
    const std::wstring report(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
    VariantClear(&result);
    EXPECT_EQ(withClockMasked(std::string(report.begin(), report.end())), withClockMasked(lines));
    releaseLast(dispatch);
}

}  // namespace
}  // namespace kel::test
