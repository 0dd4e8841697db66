#include "collectors/IndirectString.h"

#include "collectors/TextSplit.h"

namespace kel {

namespace {

void replaceAll(std::string* text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text->find(from); at != std::string::npos; at = text->find(from, at + to.size()))
        text->replace(at, from.size(), to);
}

}  // namespace

std::string resolvedIndirectString(const std::string& value)
{
    const std::size_t separator = value.find(';');
    if (value.empty() || value[0] != '@' || separator == std::string::npos)
        return value;
    const std::string fallback = value.substr(separator + 1);

    const std::size_t arguments = fallback.find(";(");
    if (arguments == std::string::npos || fallback.back() != ')')
        return fallback;
    std::string text = fallback.substr(0, arguments);
    const std::size_t listStart = arguments + 2;
    const std::vector<std::string> list =
        splitAt(fallback.substr(listStart, fallback.size() - 1 - listStart), ',');
    // From the last down, so that "%12" is not taken for "%1" and a "2".
    for (std::size_t n = list.size(); n >= 1; --n)
        replaceAll(&text, "%" + std::to_string(n), list[n - 1]);
    return text;
}

}  // namespace kel
