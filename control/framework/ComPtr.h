// An owning COM interface pointer: one reference held, released on scope exit.
#pragma once

#include <unknwn.h>

#include <utility>

namespace kel::com {

template <class T>
class com_ptr {
public:
    com_ptr() = default;
    com_ptr(std::nullptr_t) {}
    // Shares an existing pointer: adds a reference.
    explicit com_ptr(T* raw) : ptr_(raw)
    {
        if (ptr_)
            ptr_->AddRef();
    }
    com_ptr(const com_ptr& other) : com_ptr(other.ptr_) {}
    com_ptr(com_ptr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~com_ptr() { reset(); }

    // Adds the new reference before dropping the old: safe on self-assignment.
    com_ptr& operator=(const com_ptr& other)
    {
        if (other.ptr_)
            other.ptr_->AddRef();
        T* old = std::exchange(ptr_, other.ptr_);
        if (old)
            old->Release();
        return *this;
    }
    com_ptr& operator=(com_ptr&& other) noexcept
    {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }

    void reset()
    {
        if (T* old = std::exchange(ptr_, nullptr))
            old->Release();
    }

    // For out-parameters: releases what is held and hands out the slot.
    T** put()
    {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    // Hands the reference to an out-parameter of the caller's.
    T* detach() { return std::exchange(ptr_, nullptr); }
    // Copies into an out-parameter: the receiver gets its own reference.
    void copyTo(T** out) const
    {
        *out = ptr_;
        if (ptr_)
            ptr_->AddRef();
    }

    template <class U>
    HRESULT queryInterface(REFIID iid, com_ptr<U>* out) const
    {
        return ptr_ ? ptr_->QueryInterface(iid, out->put_void()) : E_POINTER;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

private:
    T* ptr_ = nullptr;
};

}  // namespace kel::com
