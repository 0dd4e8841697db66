// IObjectSafety: safe for scripting through IDispatch, safe for
// initialising through the four persistence interfaces, and nothing else.
#include "tests/control/ControlSupport.h"

#include <objsafe.h>

namespace kel::test {
namespace {

constexpr DWORD kUnset = 0xDEADBEEF;

struct GetRow {
    const IID* iid;
    const char* name;
    HRESULT result;
    DWORD enabled;
};

const GetRow kGetRows[] = {
    {&IID_IDispatch, "IDispatch", S_OK, 1},
    {&IID_IPersistPropertyBag, "IPersistPropertyBag", S_OK, 2},
    {&IID_IPersistStreamInit, "IPersistStreamInit", S_OK, 2},
    {&IID_IPersistStorage, "IPersistStorage", S_OK, 2},
    {&IID_IPersistMemory, "IPersistMemory", S_OK, 2},
    {&IID_IOleObject, "IOleObject (exposed, in neither group)", E_NOINTERFACE, 0},
    {&IID_IViewObjectEx, "IViewObjectEx", E_NOINTERFACE, 0},
    {&IID_IClassFactory, "IClassFactory (not exposed)", E_NOINTERFACE, 0},
};

TEST(Safety, GetOptionsRowByRow)
{
    com_ptr<IObjectSafety> safety = createControl<IObjectSafety>(IID_IObjectSafety);
    for (const GetRow& row : kGetRows) {
        DWORD supported = kUnset;
        DWORD enabled = kUnset;
        EXPECT_HR(row.result, safety->GetInterfaceSafetyOptions(*row.iid, &supported, &enabled)) << row.name;
        EXPECT_EQ(3u, supported) << row.name;
        EXPECT_EQ(row.enabled, enabled) << row.name;
    }
    releaseLast(safety);
}

TEST(Safety, GetOptionsNeedsBothPointers)
{
    com_ptr<IObjectSafety> safety = createControl<IObjectSafety>(IID_IObjectSafety);
    DWORD value = kUnset;
    EXPECT_HR(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &value));
    EXPECT_HR(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, &value, nullptr));
    EXPECT_EQ(kUnset, value) << "nothing is stored before the pointers are checked";
    releaseLast(safety);
}

struct SetRow {
    const IID* iid;
    const char* name;
    DWORD mask;
    DWORD options;
    HRESULT result;
};

const SetRow kSetRows[] = {
    {&IID_IClassFactory, "(0,0) on an interface not exposed", 0, 0, S_OK},
    {&IID_IOleObject, "(0,0) on IOleObject", 0, 0, S_OK},
    {&IID_IClassFactory, "not exposed", 1, 1, E_FAIL},
    {&IID_IDispatch, "IDispatch (1,1)", 1, 1, S_OK},
    {&IID_IDispatch, "IDispatch (3,1)", 3, 1, E_FAIL},
    {&IID_IDispatch, "IDispatch (1,0)", 1, 0, E_FAIL},
    {&IID_IDispatch, "IDispatch (2,2)", 2, 2, E_FAIL},
    {&IID_IPersistPropertyBag, "IPersistPropertyBag (1,1)", 1, 1, E_FAIL},
    {&IID_IPersistPropertyBag, "IPersistPropertyBag (2,2)", 2, 2, S_OK},
    {&IID_IPersistStreamInit, "IPersistStreamInit (2,2)", 2, 2, S_OK},
    {&IID_IPersistStorage, "IPersistStorage (2,2)", 2, 2, S_OK},
    {&IID_IPersistMemory, "IPersistMemory (2,2)", 2, 2, S_OK},
    {&IID_IPersistMemory, "IPersistMemory (3,2)", 3, 2, E_FAIL},
    {&IID_IOleObject, "IOleObject (1,1)", 1, 1, E_FAIL},
};

TEST(Safety, SetOptionsRowByRowAndNothingIsStored)
{
    com_ptr<IObjectSafety> safety = createControl<IObjectSafety>(IID_IObjectSafety);
    for (const SetRow& row : kSetRows) {
        EXPECT_HR(row.result, safety->SetInterfaceSafetyOptions(*row.iid, row.mask, row.options)) << row.name;
    }
    EXPECT_HR(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, 1, 1));
    DWORD supported = 0;
    DWORD enabled = 0;
    EXPECT_HR(S_OK, safety->GetInterfaceSafetyOptions(IID_IPersistMemory, &supported, &enabled));
    EXPECT_EQ(2u, enabled);
    releaseLast(safety);
}

}  // namespace
}  // namespace kel::test
