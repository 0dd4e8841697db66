#include "report/SiteLock.h"

#include "platform/Platform.h"
#include "platform/RegKey.h"
#include "platform/ScratchBuffer.h"

namespace kel {

namespace {

char16_t foldedAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; }

// Page text against policy text: ASCII without regard to case. Policy bytes
// beyond ASCII are code-page text and never equal a page's character, so
// they match nothing.
bool sameText(std::u16string_view page, std::string_view policy)
{
    if (page.size() != policy.size())
        return false;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const auto byte = static_cast<unsigned char>(policy[i]);
        if (byte >= 0x80 || foldedAscii(page[i]) != foldedAscii(byte))
            return false;
    }
    return true;
}

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// True when match holds for one of the ";"-separated entries, each without
// the blanks around it; empty entries are passed over.
template <class Match>
bool anyEntry(std::string_view sites, Match match)
{
    while (!sites.empty()) {
        const std::size_t end = sites.find(';');
        const std::string_view entry = trimmed(sites.substr(0, end));
        if (!entry.empty() && match(entry))
            return true;
        sites.remove_prefix(end == std::string_view::npos ? sites.size() : end + 1);
    }
    return false;
}

bool isNameCharacter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
           c == u'.' || c == u'_';
}

bool isAddressCharacter(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F') || c == u':' ||
           c == u'.';
}

template <class Allowed>
bool only(std::u16string_view text, Allowed allowed)
{
    for (char16_t c : text) {
        if (!allowed(c))
            return false;
    }
    return true;
}

// The host of what follows "http:" or "https:", as written: a name or an
// IPv4 address, or an IPv6 address in its brackets. False when there is
// none, or when it holds a character no host has: such a page matches
// nothing rather than something it merely looks like.
bool hostOf(std::u16string_view rest, std::u16string_view* host)
{
    if (rest.substr(0, 2) != u"//")
        return false;
    std::u16string_view authority = rest.substr(2, rest.find_first_of(u"/\\?#", 2) - 2);
    const std::size_t at = authority.rfind(u'@');
    if (at != std::u16string_view::npos)
        authority.remove_prefix(at + 1);  // user name and password
    if (!authority.empty() && authority.front() == u'[') {
        const std::size_t close = authority.find(u']');
        if (close == std::u16string_view::npos || close < 2 ||
            !only(authority.substr(1, close - 1), isAddressCharacter))
            return false;
        *host = authority.substr(0, close + 1);
        return close + 1 == authority.size() || authority[close + 1] == u':';
    }
    *host = authority.substr(0, authority.find(u':'));  // the port is ignored
    return !host->empty() && only(*host, isNameCharacter);
}

}  // namespace

SiteLock SiteLock::read()
{
    SiteLock lock;
    Platform& p = platform();
    const uint32_t view = p.isWindows64() ? kKeyWow64_64Key : 0;
    RegKey key;
    const long opened = key.open(RegRoot::LocalMachine, kPolicyKey, kKeyQueryValue | view);
    if (opened == kRegFileNotFound)
        return lock;
    ScratchBuffer buffer(kMaxPolicyBytes);
    uint32_t type = kRegNone;
    uint32_t size = kMaxPolicyBytes;
    const long result = opened == kRegSuccess
                            ? p.regQueryValue(key.handle(), kPolicyValue, &type, buffer.bytes(), &size)
                            : opened;  // a policy key that cannot be read allows no page
    if (result == kRegFileNotFound)
        return lock;
    lock.present_ = true;
    // The size tells whether the text ends with its NUL: the platform adds
    // one after unterminated data when there is room, without counting it.
    const bool usable = result == kRegSuccess && type == kRegSz && size > 0 && size <= kMaxPolicyBytes &&
                        buffer.data()[size - 1] == '\0';
    if (usable)
        lock.sites_ = boundedText(buffer.data(), size, kMaxPolicyBytes);
    return lock;
}

bool SiteLock::allows(std::u16string_view url) const
{
    if (!present_)
        return true;
    const std::size_t colon = url.find(u':');
    if (colon == std::u16string_view::npos)
        return false;
    const std::u16string_view scheme = url.substr(0, colon);
    if (sameText(scheme, "file"))
        return listsFiles();
    if (!sameText(scheme, "http") && !sameText(scheme, "https"))
        return false;
    std::u16string_view host;
    return hostOf(url.substr(colon + 1), &host) && listsHost(host);
}

bool SiteLock::listsFiles() const
{
    return anyEntry(sites_, [](std::string_view entry) { return sameText(u"file:", entry); });
}

bool SiteLock::listsHost(std::u16string_view host) const
{
    return anyEntry(sites_, [host](std::string_view entry) {
        if (entry.substr(0, 2) == "*.") {
            // Subdomains only: the host has at least one label before the suffix.
            const std::string_view suffix = entry.substr(1);
            return suffix.size() > 1 && host.size() > suffix.size() &&
                   sameText(host.substr(host.size() - suffix.size()), suffix);
        }
        return sameText(host, entry);
    });
}

}  // namespace kel
