// The registry operations of the platform seam over a RegistryTree, with the
// ANSI semantics of the platform's calls: handles, result codes, buffer
// rules, conversion to the machine's code page and the two registry views of
// a 64-bit Windows.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kel {

class CodePage;
class RegistryTree;
class RegNode;
struct RegValue;

class RegistryAccess {
public:
    RegistryAccess(const RegistryTree& tree, const CodePage& codePage, bool windows64);
    RegistryAccess(const RegistryAccess&) = delete;
    RegistryAccess& operator=(const RegistryAccess&) = delete;

    long openKey(RegRoot root, const char* path, uint32_t access, RegHandle* key);
    long closeKey(RegHandle key);
    long queryInfoKey(RegHandle key, uint32_t* subKeys, uint32_t* values) const;
    long enumKey(RegHandle key, uint32_t index, char* name, uint32_t nameSize) const;
    long enumValue(RegHandle key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                   uint8_t* data, uint32_t* dataSize) const;
    long queryValue(RegHandle key, const char* name, uint32_t* type, uint8_t* data, uint32_t* dataSize) const;
    bool sameKey(RegHandle a, RegHandle b) const;
    // The 32-bit view on a 64-bit Windows (the module is the 32-bit shipping
    // one); 0 on a 32-bit Windows, which has one view only.
    uint32_t ownView() const;
    std::size_t openCount() const { return handles_.size(); }

private:
    const RegNode* node(RegHandle key) const;
    std::vector<std::u16string> viewPath(RegRoot root, std::vector<std::u16string> path,
                                         uint32_t access) const;
    long copyData(const RegValue& value, uint32_t* type, uint8_t* data, uint32_t* dataSize) const;

    const RegistryTree& tree_;
    const CodePage& codePage_;
    bool windows64_;
    std::map<RegHandle, const RegNode*> handles_;
    RegHandle nextHandle_ = 0x1000;
};

}  // namespace kel
