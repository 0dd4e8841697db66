#include "recorded/RegistryAccess.h"

#include "recorded/CodePage.h"
#include "recorded/RegistryTree.h"
#include "recorded/Unicode.h"

#include <cstring>

namespace kel {

namespace {

bool isText(uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// The names of a path; the platform passes over empty ones (A\\B, A\ ).
std::vector<std::u16string> splitPath(const std::u16string& path)
{
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

RegistryAccess::RegistryAccess(const RegistryTree& tree, const CodePage& codePage, bool windows64)
    : tree_(tree), codePage_(codePage), windows64_(windows64)
{
}

uint32_t RegistryAccess::ownView() const { return windows64_ ? kKeyWow64_32Key : 0; }

const RegNode* RegistryAccess::node(RegHandle key) const
{
    auto found = handles_.find(key);
    return found == handles_.end() ? nullptr : found->second;
}

std::vector<std::u16string> RegistryAccess::viewPath(RegRoot root, std::vector<std::u16string> path,
                                                     uint32_t access) const
{
    // With both view bits the platform takes the 32-bit view.
    uint32_t view = access & kKeyWow64_32Key ? kKeyWow64_32Key : access & kKeyWow64_64Key;
    if (view == 0)
        view = ownView();
    bool redirected = windows64_ && view == kKeyWow64_32Key && root == RegRoot::LocalMachine &&
                      !path.empty() && unicode::equalFolded(path[0], u"SOFTWARE") &&
                      (path.size() == 1 || !unicode::equalFolded(path[1], u"Wow6432Node"));
    if (redirected)
        path.insert(path.begin() + 1, u"Wow6432Node");
    return path;
}

long RegistryAccess::openKey(RegRoot root, const char* path, uint32_t access, RegHandle* key)
{
    if (!key)
        return kRegInvalidParameter;
    std::u16string wide = path ? codePage_.toUtf16(path) : std::u16string();
    if (!wide.empty() && wide[0] == u'\\')
        return kRegBadPathname;
    const RegNode* found = tree_.find(root, viewPath(root, splitPath(wide), access));
    if (!found)
        return kRegFileNotFound;
    handles_.emplace(nextHandle_, found);
    *key = nextHandle_;
    nextHandle_ += 4;
    return kRegSuccess;
}

long RegistryAccess::closeKey(RegHandle key) { return handles_.erase(key) ? kRegSuccess : kRegInvalidHandle; }

long RegistryAccess::queryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values) const
{
    const RegNode* found = node(key);
    if (!found)
        return kRegInvalidHandle;
    if (subKeys)
        *subKeys = static_cast<uint32_t>(found->subkeys().size());
    if (values)
        *values = static_cast<uint32_t>(found->values().size());
    return kRegSuccess;
}

long RegistryAccess::enumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize) const
{
    const RegNode* found = node(key);
    if (!found)
        return kRegInvalidHandle;
    if (index >= found->subkeys().size())
        return kRegNoMoreItems;
    if (!name)
        return kRegInvalidParameter;
    std::string ansi = codePage_.fromUtf16(found->subkeys()[index]->name());
    if (ansi.size() >= nameSize)
        return kRegMoreData;
    std::memcpy(name, ansi.c_str(), ansi.size() + 1);
    return kRegSuccess;
}

long RegistryAccess::enumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                               uint8_t* data, uint32_t* dataSize) const
{
    const RegNode* found = node(key);
    if (!found)
        return kRegInvalidHandle;
    if (!name || !nameSize || (data && !dataSize))
        return kRegInvalidParameter;
    if (index >= found->values().size())
        return kRegNoMoreItems;
    const RegValue& value = found->values()[index];
    long result = copyData(value, type, data, dataSize);
    if (result != kRegSuccess)
        return result;
    // A name that does not fit is cut to the buffer, as the platform does,
    // and the size is left as the caller gave it.
    std::string ansi = codePage_.fromUtf16(value.name);
    if (ansi.size() >= *nameSize) {
        if (*nameSize > 0) {
            std::memcpy(name, ansi.data(), *nameSize - 1);
            name[*nameSize - 1] = '\0';
        }
        return kRegMoreData;
    }
    std::memcpy(name, ansi.c_str(), ansi.size() + 1);
    *nameSize = static_cast<uint32_t>(ansi.size());
    return kRegSuccess;
}

long RegistryAccess::queryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data,
                                uint32_t* dataSize) const
{
    const RegNode* found = node(key);
    if (!found)
        return kRegInvalidHandle;
    if (data && !dataSize)
        return kRegInvalidParameter;
    const RegValue* value = found->findValue(name ? codePage_.toUtf16(name) : std::u16string());
    if (!value)
        return kRegFileNotFound;
    return copyData(*value, type, data, dataSize);
}

long RegistryAccess::copyData(const RegValue& value, uint32_t* type, uint8_t* data, uint32_t* dataSize) const
{
    std::string bytes =
        isText(value.type) ? codePage_.fromUtf16(unicode::fromUtf16leBytes(value.data)) : value.data;
    long result = kRegSuccess;
    if (data && !bytes.empty()) {
        if (bytes.size() > *dataSize) {
            result = kRegMoreData;
        } else {
            std::memcpy(data, bytes.data(), bytes.size());
            // Text stored without its NUL gets one when there is room.
            if (isText(value.type) && bytes.size() < *dataSize && bytes.back() != '\0')
                data[bytes.size()] = 0;
        }
    }
    if (type)
        *type = value.type;
    if (dataSize)
        *dataSize = static_cast<uint32_t>(bytes.size());
    return result;
}

bool RegistryAccess::sameKey(RegHandle a, RegHandle b) const
{
    const RegNode* first = node(a);
    return first && first == node(b);
}

}  // namespace kel
