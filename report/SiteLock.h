// The administrator's lock on the pages that may script the control: the
// policy value HKLM\SOFTWARE\Policies\Kel\AllowedSites, a list of sites
// separated by ";". It is read through the platform, so a recorded machine's
// registry can carry it as well as the real one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kel {

class SiteLock {
public:
    static constexpr const char* kPolicyKey = "SOFTWARE\\Policies\\Kel";
    static constexpr const char* kPolicyValue = "AllowedSites";
    // The largest policy read, its NUL included; a longer one is hostile or
    // broken and allows no page.
    static constexpr std::size_t kMaxPolicyBytes = 4096;

    // The policy as the registry holds it now, in the 64-bit view on 64-bit
    // Windows, where policy tools write it.
    static SiteLock read();

    // True when there is no policy: every caller is served.
    bool absent() const { return !present_; }
    // True when a page at url may use the control: always without a policy;
    // with one, an http or https page whose host is listed, or a file page
    // when "file:" is listed.
    bool allows(std::u16string_view url) const;

private:
    bool listsHost(std::u16string_view host) const;
    bool listsFiles() const;

    bool present_ = false;
    // The entries as read; empty when the policy is unusable (another type,
    // unterminated, overlong) and so allows no page.
    std::string sites_;
};

}  // namespace kel
