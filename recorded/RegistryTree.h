// The recorded machine's registry: two root keys, each a tree of keys with
// values, names held in UTF-16 as the real registry holds them.
//
// Names compare without regard to case. Subkeys are kept sorted by their
// names folded to upper case, which is the order in which Windows NT
// enumerates them; values keep the order in which they were created.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kel {

struct RegValue {
    std::u16string name;  // empty for the key's default value
    uint32_t type = kRegNone;
    std::string data;
};

class RegNode {
public:
    explicit RegNode(std::u16string name) : name_(std::move(name)), folded_(foldedOf(name_)) {}
    RegNode(const RegNode&) = delete;
    RegNode& operator=(const RegNode&) = delete;

    const std::u16string& name() const { return name_; }
    const std::vector<std::unique_ptr<RegNode>>& subkeys() const { return subkeys_; }
    const std::vector<RegValue>& values() const { return values_; }

    const RegNode* findSubkey(const std::u16string& name) const;
    RegNode* findSubkey(const std::u16string& name);
    RegNode* findOrAddSubkey(const std::u16string& name);
    // Removes the subkey and everything below it; false when there is none.
    bool removeSubkey(const std::u16string& name);

    const RegValue* findValue(const std::u16string& name) const;
    // A new value goes last; replacing one keeps its place.
    void setValue(RegValue value);
    void removeValue(const std::u16string& name);

private:
    static std::u16string foldedOf(const std::u16string& name);
    std::vector<std::unique_ptr<RegNode>>::const_iterator lowerBound(const std::u16string& folded) const;

    std::u16string name_;
    std::u16string folded_;
    std::vector<std::unique_ptr<RegNode>> subkeys_;
    std::vector<RegValue> values_;
};

class RegistryTree {
public:
    RegistryTree();

    RegNode& root(RegRoot which);
    const RegNode& root(RegRoot which) const;

    // Follows the path components from the root; null when one is missing.
    const RegNode* find(RegRoot which, const std::vector<std::u16string>& path) const;
    RegNode& create(RegRoot which, const std::vector<std::u16string>& path);
    // Deletes the key at path with everything below it; a missing key or
    // an empty path (a root) is left alone.
    void remove(RegRoot which, const std::vector<std::u16string>& path);

private:
    RegNode localMachine_;
    RegNode currentUser_;
};

}  // namespace kel
