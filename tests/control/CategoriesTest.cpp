// With the categories manager gone from this prefix's registry, registration
// still succeeds; the four debugger messages are checked in order by
// expect-debug-messages.sh around this program.
#include "tests/control/ControlSupport.h"

#include <comcat.h>
#include <olectl.h>
#include <shlwapi.h>

namespace kel::test {
namespace {

const wchar_t kManager[] = L"CLSID\\{0002E005-0000-0000-C000-000000000046}";

TEST(Categories, ManagerUnavailableStillRegisters)
{
    EXPECT_EQ(ERROR_SUCCESS, SHDeleteKeyW(HKEY_CLASSES_ROOT, kManager));
    com_ptr<IUnknown> manager;
    ASSERT_NE(Hr{S_OK}, Hr{CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IUnknown, manager.put_void())})
        << "the categories manager can still be made; the test proves nothing";
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto registerServer =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(kelModule(), "DllRegisterServer")));
    ASSERT_NE(nullptr, registerServer);
    EXPECT_HR(S_OK, registerServer());
    CLSID clsid = CLSID_NULL;
    EXPECT_HR(S_OK, CLSIDFromProgID(L"KEL.KelCtrl.1", &clsid)) << "classes registered all the same";
}

}  // namespace
}  // namespace kel::test
