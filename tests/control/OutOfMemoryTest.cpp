// Running out of memory during a report ends the call with E_OUTOFMEMORY and
// leaves the control usable. The control is made in this process (from the
// control library, not the module) so that every allocation of the call can
// be made to fail in turn.
#include "tests/control/ControlSupport.h"
#include "tests/control/SteadyReport.h"
#include "tests/unit/AllocationFailure.h"

#include "control/CKelCtrl.h"

namespace kel::test {
namespace {

HRESULT callReport(IDispatch* dispatch, DISPID id, VARIANT* result)
{
    DISPPARAMS none = {};
    return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, result, nullptr, nullptr);
}

// The text of a successful call's result, which it clears; copied once no
// allocation is armed to fail.
std::wstring takeReport(VARIANT* result)
{
    std::wstring text;
    if (V_VT(result) == VT_BSTR)
        text.assign(V_BSTR(result), SysStringLen(V_BSTR(result)));
    else
        ADD_FAILURE() << "a successful call without a report";
    VariantClear(result);
    return text;
}

// Each call of the walk comes after the one that failed the allocation
// before it, on the same control: it must get past that allocation to fail
// cleanly at its own, and the call that outlasts every allocation must give
// the whole report. So every failure is shown to leave the control usable
// without a whole report call after each.
TEST(OutOfMemory, EveryAllocationOfAReportCallFailsCleanly)
{
    for (DISPID id : {1, 2}) {
        const std::wstring expected = steadyPart(expectedReport(id == 2));
        com_ptr<IDispatch> dispatch;
        ASSERT_HR(S_OK, CKelCtrl::create(IID_IDispatch, dispatch.put_void()));
        long failures = 0;
        for (long nth = 1;; ++nth) {
            HRESULT hr;
            bool fired;
            VARIANT result;
            VariantInit(&result);
            {
                FailAllocation failing(nth);
                hr = callReport(dispatch.get(), id, &result);
                fired = FailAllocation::lastArmedFired();
            }
            if (!fired) {
                EXPECT_HR(S_OK, hr) << "no allocation failed, id " << id << ", after failing " << nth - 1;
                EXPECT_EQ(expected, steadyPart(takeReport(&result)))
                    << "the report after " << nth - 1 << " failures, id " << id;
                break;
            }
            ++failures;
            EXPECT_HR(E_OUTOFMEMORY, hr) << "allocation " << nth << ", id " << id;
            VariantClear(&result);
        }
        EXPECT_GT(failures, 0) << "the report call allocates nothing?";
        releaseLast(dispatch);
    }
}

TEST(OutOfMemory, CreatingTheControlFailsCleanly)
{
    com_ptr<IDispatch> dispatch;
    {
        FailAllocation failing(1);
        EXPECT_HR(E_OUTOFMEMORY, CKelCtrl::create(IID_IDispatch, dispatch.put_void()));
    }
    EXPECT_FALSE(dispatch);
}

}  // namespace
}  // namespace kel::test
