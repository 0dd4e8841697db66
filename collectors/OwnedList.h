// An ordered list that owns its entries: it grows only at its end, frees its
// entries last first, and a copy duplicates every entry instead of sharing it.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace kel {

template <class T>
class OwnedList {
public:
    OwnedList() = default;
    OwnedList(const OwnedList& other)
    {
        entries_.reserve(other.entries_.size());
        for (const auto& entry : other.entries_)
            entries_.push_back(std::make_unique<T>(*entry));
    }
    OwnedList& operator=(const OwnedList& other)
    {
        if (this != &other) {
            OwnedList copy(other);
            std::swap(entries_, copy.entries_);
        }
        return *this;
    }
    ~OwnedList() { clear(); }

    // Takes ownership; the entry is freed if the list cannot grow.
    T& append(std::unique_ptr<T> entry)
    {
        entries_.push_back(std::move(entry));
        return *entries_.back();
    }
    T& append(T value) { return append(std::make_unique<T>(std::move(value))); }

    void clear()
    {
        while (!entries_.empty())
            entries_.pop_back();
    }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const T& operator[](std::size_t index) const { return *entries_[index]; }
    T& operator[](std::size_t index) { return *entries_[index]; }

    template <class Visit>
    void forEach(Visit visit) const
    {
        for (const auto& entry : entries_)
            visit(*entry);
    }

private:
    std::vector<std::unique_ptr<T>> entries_;
};

}  // namespace kel
