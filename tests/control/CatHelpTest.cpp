// The category helpers against the platform's categories manager of this
// prefix: descriptions are cut to 127 characters, classes are added to and
// removed from a category.
#include "tests/control/ControlSupport.h"

#include "control/CatHelp.h"
#include "control/framework/Guid.h"

namespace kel::test {
namespace {

// Identifiers of our own, for this test only.
constexpr CATID kTestCategory = com::guidFromText("5C1B0E2A-7D43-4F8E-9A61-3B2C4D5E6F70");
constexpr CLSID kTestClass = com::guidFromText("5C1B0E2A-7D43-4F8E-9A61-3B2C4D5E6F71");

TEST(CatHelp, LongDescriptionIsCutTo127Characters)
{
    const std::wstring description(200, L'd');
    ASSERT_HR(S_OK, registerCategory(kTestCategory, description.c_str()));
    wchar_t stored[256] = {};
    DWORD size = sizeof stored - sizeof(wchar_t);
    ASSERT_EQ(ERROR_SUCCESS,
              RegGetValueW(HKEY_CLASSES_ROOT, (L"Component Categories\\" + guidText(kTestCategory)).c_str(),
                           L"409", RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_EQ(std::wstring(127, L'd'), std::wstring(stored));
}

TEST(CatHelp, ClassJoinsAndLeavesTheCategory)
{
    const std::wstring implemented =
        L"CLSID\\" + guidText(kTestClass) + L"\\Implemented Categories\\" + guidText(kTestCategory);
    ASSERT_HR(S_OK, addClassToCategory(kTestClass, kTestCategory));
    EXPECT_TRUE(classesKeyExists(implemented));
    ASSERT_HR(S_OK, removeClassFromCategory(kTestClass, kTestCategory));
    EXPECT_FALSE(classesKeyExists(implemented));
}

}  // namespace
}  // namespace kel::test
