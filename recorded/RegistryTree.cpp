#include "recorded/RegistryTree.h"

#include "recorded/Unicode.h"

#include <algorithm>

namespace kel {

std::u16string RegNode::foldedOf(const std::u16string& name) { return unicode::foldUpper(name); }

std::vector<std::unique_ptr<RegNode>>::const_iterator RegNode::lowerBound(const std::u16string& folded) const
{
    return std::lower_bound(
        subkeys_.begin(), subkeys_.end(), folded,
        [](const std::unique_ptr<RegNode>& node, const std::u16string& key) { return node->folded_ < key; });
}

const RegNode* RegNode::findSubkey(const std::u16string& name) const
{
    std::u16string folded = foldedOf(name);
    auto at = lowerBound(folded);
    return at != subkeys_.end() && (*at)->folded_ == folded ? at->get() : nullptr;
}

RegNode* RegNode::findSubkey(const std::u16string& name)
{
    return const_cast<RegNode*>(static_cast<const RegNode*>(this)->findSubkey(name));
}

RegNode* RegNode::findOrAddSubkey(const std::u16string& name)
{
    std::u16string folded = foldedOf(name);
    auto at = lowerBound(folded);
    if (at != subkeys_.end() && (*at)->folded_ == folded)
        return at->get();
    auto inserted = subkeys_.insert(at, std::make_unique<RegNode>(name));
    return inserted->get();
}

bool RegNode::removeSubkey(const std::u16string& name)
{
    std::u16string folded = foldedOf(name);
    auto at = lowerBound(folded);
    if (at == subkeys_.end() || (*at)->folded_ != folded)
        return false;
    subkeys_.erase(at);
    return true;
}

const RegValue* RegNode::findValue(const std::u16string& name) const
{
    for (const RegValue& value : values_) {
        if (unicode::equalFolded(value.name, name))
            return &value;
    }
    return nullptr;
}

void RegNode::setValue(RegValue value)
{
    for (RegValue& existing : values_) {
        if (unicode::equalFolded(existing.name, value.name)) {
            existing.type = value.type;
            existing.data = std::move(value.data);
            return;
        }
    }
    values_.push_back(std::move(value));
}

void RegNode::removeValue(const std::u16string& name)
{
    values_.erase(
        std::remove_if(values_.begin(), values_.end(),
                       [&](const RegValue& value) { return unicode::equalFolded(value.name, name); }),
        values_.end());
}

RegistryTree::RegistryTree() : localMachine_(u"HKEY_LOCAL_MACHINE"), currentUser_(u"HKEY_CURRENT_USER") {}

RegNode& RegistryTree::root(RegRoot which)
{
    return which == RegRoot::LocalMachine ? localMachine_ : currentUser_;
}

const RegNode& RegistryTree::root(RegRoot which) const
{
    return which == RegRoot::LocalMachine ? localMachine_ : currentUser_;
}

const RegNode* RegistryTree::find(RegRoot which, const std::vector<std::u16string>& path) const
{
    const RegNode* node = &root(which);
    for (const std::u16string& name : path) {
        node = node->findSubkey(name);
        if (!node)
            return nullptr;
    }
    return node;
}

RegNode& RegistryTree::create(RegRoot which, const std::vector<std::u16string>& path)
{
    RegNode* node = &root(which);
    for (const std::u16string& name : path)
        node = node->findOrAddSubkey(name);
    return *node;
}

void RegistryTree::remove(RegRoot which, const std::vector<std::u16string>& path)
{
    if (path.empty())
        return;
    RegNode* parent = &root(which);
    for (std::size_t i = 0; parent && i + 1 < path.size(); ++i)
        parent = parent->findSubkey(path[i]);
    if (parent)
        parent->removeSubkey(path.back());
}

}  // namespace kel
