// A zero-filled byte buffer for one registry read: on the stack for the
// sizes the collectors use (a value read per field of every device), on the
// heap only beyond that.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>

namespace kel {

class ScratchBuffer {
public:
    explicit ScratchBuffer(std::size_t size)
        : heap_(size > sizeof local_ ? new char[size]() : nullptr), data_(heap_ ? heap_.get() : local_)
    {
        if (!heap_)
            std::memset(local_, 0, size);
    }
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;

    char* data() { return data_; }
    unsigned char* bytes() { return reinterpret_cast<unsigned char*>(data_); }

private:
    char local_[1024];
    std::unique_ptr<char[]> heap_;
    char* data_;
};

}  // namespace kel
