// The site-lock policy in Wine's real registry: what the two registry views
// share of HKLM\SOFTWARE\Policies, and that the policy is read in the
// 64-bit view by either module.
#include "platform/Platform.h"
#include "platform/RegKey.h"
#include "report/SiteLock.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

using namespace kel;

namespace {

using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

const char kKey[] = "SOFTWARE\\Policies\\Kel";

void writeIn(REGSAM view, const std::string& sites)
{
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE | view,
                                             nullptr, &raw, nullptr));
    const KeyHandle key(raw, RegCloseKey);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.get(), SiteLock::kPolicyValue, 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(sites.c_str()),
                                            static_cast<DWORD>(sites.size() + 1)));
}

// The policy text as a view shows it; "-" when the view has none.
std::string readIn(REGSAM view)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | view, &raw) != ERROR_SUCCESS)
        return "-";
    const KeyHandle key(raw, RegCloseKey);
    char text[64] = {};
    DWORD size = sizeof text - 1;
    if (RegQueryValueExA(key.get(), SiteLock::kPolicyValue, nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS)
        return "-";
    return text;
}

void removeBoth()
{
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_64KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY, 0);
}

// Wine keeps one HKLM\SOFTWARE\Policies for both views, as it does not for
// the rest of HKLM\SOFTWARE: what one view writes there the other reads, the
// two handles name one key, and SOFTWARE\Wow6432Node\Policies leads to it.
TEST(PolicyViews, OneKeyServesBothViews)
{
    removeBoth();
    writeIn(KEY_WOW64_64KEY, "written-in-64");
    EXPECT_EQ("written-in-64", readIn(KEY_WOW64_32KEY)) << "the 32-bit view after a write in the 64-bit one";
    writeIn(KEY_WOW64_32KEY, "written-in-32");
    EXPECT_EQ("written-in-32", readIn(KEY_WOW64_64KEY)) << "the 64-bit view after a write in the 32-bit one";
    RegKey view32;
    RegKey view64;
    RegKey node;
    ASSERT_EQ(kRegSuccess, view32.open(RegRoot::LocalMachine, kKey, kKeyQueryValue | kKeyWow64_32Key));
    ASSERT_EQ(kRegSuccess, view64.open(RegRoot::LocalMachine, kKey, kKeyQueryValue | kKeyWow64_64Key));
    ASSERT_EQ(kRegSuccess, node.open(RegRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Policies\\Kel",
                                     kKeyQueryValue | kKeyWow64_64Key));
    EXPECT_TRUE(platform().regSameKey(view32.handle(), view64.handle()));
    EXPECT_TRUE(platform().regSameKey(node.handle(), view64.handle()));
    removeBoth();

    // Beside it, a key of HKLM\SOFTWARE of the 64-bit view is not in the 32-bit one.
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KelViewProbe", 0, nullptr, 0,
                                             KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &raw, nullptr));
    RegCloseKey(raw);
    RegKey probe;
    EXPECT_EQ(kRegFileNotFound,
              probe.open(RegRoot::LocalMachine, "SOFTWARE\\KelViewProbe", kKeyQueryValue | kKeyWow64_32Key));
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KelViewProbe", KEY_WOW64_64KEY, 0);
}

// The lock reads the 64-bit view; under Wine a policy either view wrote.
TEST(PolicyViews, TheLockReadsAPolicyEitherViewWrote)
{
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        removeBoth();
        writeIn(view, "intranet.example.com");
        const SiteLock lock = SiteLock::read();
        EXPECT_FALSE(lock.absent()) << "view 0x" << std::hex << view;
        EXPECT_TRUE(lock.allows(u"http://intranet.example.com/"));
        EXPECT_FALSE(lock.allows(u"http://elsewhere.example.com/"));
    }
    removeBoth();
    EXPECT_TRUE(SiteLock::read().absent());
}

}  // namespace
