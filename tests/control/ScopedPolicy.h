// The site-lock policy value in this test's own registry for a scope, written
// where policy tools write it (the 64-bit view); the key goes afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace kel::test {

class ScopedPolicy {
public:
    // The bytes exactly as given, string data without a NUL included.
    ScopedPolicy(DWORD type, const void* data, DWORD bytes);
    // A REG_SZ with its terminating NUL.
    explicit ScopedPolicy(const std::wstring& sites);
    ~ScopedPolicy();
    ScopedPolicy(const ScopedPolicy&) = delete;
    ScopedPolicy& operator=(const ScopedPolicy&) = delete;
};

}  // namespace kel::test
