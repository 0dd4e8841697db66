// Running out of memory during a report ends the call with E_OUTOFMEMORY and
// leaves the control usable. The control is made in this process (from the
// control library, not the module) so that every allocation of the call can
// be made to fail in turn.
#include "tests/control/ControlSupport.h"
#include "tests/unit/AllocationFailure.h"

#include "control/CKelCtrl.h"

namespace kel::test {
namespace {

HRESULT callReport(IDispatch* dispatch, DISPID id)
{
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    if (SUCCEEDED(hr) && (V_VT(&result) != VT_BSTR || SysStringLen(V_BSTR(&result)) == 0))
        ADD_FAILURE() << "a successful call without a report";
    VariantClear(&result);
    return hr;
}

TEST(OutOfMemory, EveryAllocationOfAReportCallFailsCleanly)
{
    for (DISPID id : {1, 2}) {
        com_ptr<IDispatch> dispatch;
        ASSERT_HR(S_OK, CKelCtrl::create(IID_IDispatch, dispatch.put_void()));
        long failures = 0;
        for (long nth = 1;; ++nth) {
            HRESULT hr;
            bool fired;
            {
                FailAllocation failing(nth);
                hr = callReport(dispatch.get(), id);
                fired = FailAllocation::lastArmedFired();
            }
            if (!fired) {
                EXPECT_HR(S_OK, hr) << "no allocation failed, id " << id;
                break;
            }
            ++failures;
            EXPECT_HR(E_OUTOFMEMORY, hr) << "allocation " << nth << ", id " << id;
            EXPECT_HR(S_OK, callReport(dispatch.get(), id)) << "usable after allocation " << nth;
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
