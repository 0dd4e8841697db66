#include "tests/control/ImportCounter.h"

#include <oleauto.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace kel::test {

namespace {

// The ledger the wrappers keep. The wrappers are plain functions in the
// module's import table, so it is the process's, owned by one counter at a
// time.
std::mutex ledgerLock;
std::unordered_set<const void*> liveBlocks;
unsigned long long allocationCount = 0;
const ImportCounter* owner = nullptr;

void allocated(const void* block)
{
    if (!block)
        return;
    std::lock_guard<std::mutex> guard(ledgerLock);
    liveBlocks.insert(block);
    ++allocationCount;
}

void freed(const void* block)
{
    std::lock_guard<std::mutex> guard(ledgerLock);
    liveBlocks.erase(block);
}

void moved(const void* from, const void* to)
{
    std::lock_guard<std::mutex> guard(ledgerLock);
    liveBlocks.erase(from);
    liveBlocks.insert(to);
    ++allocationCount;
}

// realloc and CoTaskMemRealloc: a new block replaces the old one; none
// with a size of zero frees it; none otherwise leaves it as it was.
void* reallocated(void* from, void* to, std::size_t size)
{
    if (to)
        moved(from, to);
    else if (size == 0)
        freed(from);
    return to;
}

template <class Block>
Block counted(Block block)
{
    allocated(block);
    return block;
}

// The functions the wrappers call on, as the module's import table held
// them. Each has the type of the declaration it replaces, calling
// convention included: __cdecl for the C runtime, WINAPI (__stdcall in the
// 32-bit build) for COM and OLE Automation.
decltype(&malloc) realMalloc;
decltype(&calloc) realCalloc;
decltype(&realloc) realRealloc;
decltype(&free) realFree;
decltype(&_strdup) realStrdup;
decltype(&CoTaskMemAlloc) realCoTaskMemAlloc;
decltype(&CoTaskMemRealloc) realCoTaskMemRealloc;
decltype(&CoTaskMemFree) realCoTaskMemFree;
decltype(&SysAllocString) realSysAllocString;
decltype(&SysAllocStringLen) realSysAllocStringLen;
decltype(&SysAllocStringByteLen) realSysAllocStringByteLen;
decltype(&SysReAllocString) realSysReAllocString;
decltype(&SysReAllocStringLen) realSysReAllocStringLen;
decltype(&SysFreeString) realSysFreeString;

void* __cdecl countedMalloc(std::size_t size) { return counted(realMalloc(size)); }

void* __cdecl countedCalloc(std::size_t count, std::size_t size) { return counted(realCalloc(count, size)); }

void* __cdecl countedRealloc(void* block, std::size_t size)
{
    return reallocated(block, realRealloc(block, size), size);
}

void __cdecl countedFree(void* block)
{
    freed(block);
    realFree(block);
}

char* __cdecl countedStrdup(const char* text) { return counted(realStrdup(text)); }

LPVOID WINAPI countedCoTaskMemAlloc(SIZE_T size) { return counted(realCoTaskMemAlloc(size)); }

LPVOID WINAPI countedCoTaskMemRealloc(LPVOID block, SIZE_T size)
{
    return reallocated(block, realCoTaskMemRealloc(block, size), size);
}

void WINAPI countedCoTaskMemFree(LPVOID block)
{
    freed(block);
    realCoTaskMemFree(block);
}

BSTR WINAPI countedSysAllocString(const OLECHAR* text) { return counted(realSysAllocString(text)); }

BSTR WINAPI countedSysAllocStringLen(const OLECHAR* text, UINT length)
{
    return counted(realSysAllocStringLen(text, length));
}

BSTR WINAPI countedSysAllocStringByteLen(LPCSTR text, UINT length)
{
    return counted(realSysAllocStringByteLen(text, length));
}

INT WINAPI countedSysReAllocString(BSTR* string, const OLECHAR* text)
{
    const BSTR was = *string;
    const INT done = realSysReAllocString(string, text);
    if (done)
        moved(was, *string);
    return done;
}

INT WINAPI countedSysReAllocStringLen(BSTR* string, const OLECHAR* text, UINT length)
{
    const BSTR was = *string;
    const INT done = realSysReAllocStringLen(string, text, length);
    if (done)
        moved(was, *string);
    return done;
}

void WINAPI countedSysFreeString(BSTR string)
{
    freed(string);
    realSysFreeString(string);
}

// An import to redirect: the function, its wrapper, and where the wrapper
// finds the function.
struct Hook {
    const char* dll;
    const char* name;
    void* wrapper;
    void* original;
};

// Deducing one type from both the wrapper and the saved pointer refuses a
// wrapper whose calling convention or arguments differ from the function's.
template <class Function>
Hook hook(const char* dll, const char* name, Function wrapper, Function* original)
{
    return {dll, name, reinterpret_cast<void*>(wrapper), original};
}

const Hook kHooks[] = {
    hook("msvcrt.dll", "malloc", countedMalloc, &realMalloc),
    hook("msvcrt.dll", "calloc", countedCalloc, &realCalloc),
    hook("msvcrt.dll", "realloc", countedRealloc, &realRealloc),
    hook("msvcrt.dll", "free", countedFree, &realFree),
    hook("msvcrt.dll", "_strdup", countedStrdup, &realStrdup),
    hook("ole32.dll", "CoTaskMemAlloc", countedCoTaskMemAlloc, &realCoTaskMemAlloc),
    hook("ole32.dll", "CoTaskMemRealloc", countedCoTaskMemRealloc, &realCoTaskMemRealloc),
    hook("ole32.dll", "CoTaskMemFree", countedCoTaskMemFree, &realCoTaskMemFree),
    hook("oleaut32.dll", "SysAllocString", countedSysAllocString, &realSysAllocString),
    hook("oleaut32.dll", "SysAllocStringLen", countedSysAllocStringLen, &realSysAllocStringLen),
    hook("oleaut32.dll", "SysAllocStringByteLen", countedSysAllocStringByteLen, &realSysAllocStringByteLen),
    hook("oleaut32.dll", "SysReAllocString", countedSysReAllocString, &realSysReAllocString),
    hook("oleaut32.dll", "SysReAllocStringLen", countedSysReAllocStringLen, &realSysReAllocStringLen),
    hook("oleaut32.dll", "SysFreeString", countedSysFreeString, &realSysFreeString),
};

// The headers of a loaded image of this process's bitness, or null.
const IMAGE_NT_HEADERS* headersOf(const unsigned char* base)
{
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0)
        return nullptr;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return nullptr;
    return nt;
}

// Whether bytes at rva lie inside a range of size bytes from its start.
bool within(DWORD size, DWORD rva, std::size_t bytes) { return rva <= size && bytes <= size - rva; }

bool writeSlot(void** slot, void* value)
{
    DWORD was = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was))
        return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, was, &was);
    return true;
}

}  // namespace

ImportCounter::ImportCounter(HMODULE module)
{
    {
        std::lock_guard<std::mutex> guard(ledgerLock);
        if (owner)
            return;
        owner = this;
        liveBlocks.clear();
        allocationCount = 0;
    }
    auto* base = reinterpret_cast<unsigned char*>(module);
    const IMAGE_NT_HEADERS* nt = headersOf(base);
    if (!nt)
        return;
    // Every read stays inside the image, every slot written inside its
    // import address table.
    const DWORD imageSize = nt->OptionalHeader.SizeOfImage;
    const auto in = [base, imageSize](DWORD rva, std::size_t bytes) {
        return within(imageSize, rva, bytes) ? base + rva : nullptr;
    };
    const auto text = [base, imageSize](DWORD rva) -> const char* {
        if (!within(imageSize, rva, 1))
            return nullptr;
        const char* start = reinterpret_cast<const char*>(base + rva);
        return std::memchr(start, '\0', imageSize - rva) ? start : nullptr;
    };
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    if (!in(imports.VirtualAddress, imports.Size) || !in(table.VirtualAddress, table.Size))
        return;
    const auto* descriptors = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (DWORD i = 0; i < imports.Size / sizeof(IMAGE_IMPORT_DESCRIPTOR) && descriptors[i].Name; ++i) {
        const IMAGE_IMPORT_DESCRIPTOR& descriptor = descriptors[i];
        const char* dll = text(descriptor.Name);
        // The names are in the lookup table; the address table beside it
        // holds addresses once bound.
        if (!dll || !descriptor.OriginalFirstThunk)
            continue;
        for (DWORD offset = 0;; offset += sizeof(IMAGE_THUNK_DATA)) {
            const auto* lookup = reinterpret_cast<const IMAGE_THUNK_DATA*>(
                in(descriptor.OriginalFirstThunk + offset, sizeof(IMAGE_THUNK_DATA)));
            const DWORD slotRva = descriptor.FirstThunk + offset;
            if (!lookup || !lookup->u1.AddressOfData || slotRva < table.VirtualAddress ||
                !within(table.Size, slotRva - table.VirtualAddress, sizeof(IMAGE_THUNK_DATA)))
                break;
            if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal))
                continue;
            const char* name =
                text(static_cast<DWORD>(lookup->u1.AddressOfData) + offsetof(IMAGE_IMPORT_BY_NAME, Name));
            for (const Hook& hook : kHooks) {
                if (!name || _stricmp(dll, hook.dll) != 0 || std::strcmp(name, hook.name) != 0)
                    continue;
                auto** slot = reinterpret_cast<void**>(base + slotRva);
                void* original = *slot;
                // Saved before the slot changes: the wrapper may run at once.
                std::memcpy(hook.original, &original, sizeof original);
                if (writeSlot(slot, hook.wrapper)) {
                    slots_.push_back({slot, original});
                    redirected_.push_back(std::string(hook.dll) + "!" + hook.name);
                }
            }
        }
    }
}

ImportCounter::~ImportCounter()
{
    for (auto slot = slots_.rbegin(); slot != slots_.rend(); ++slot)
        writeSlot(slot->at, slot->original);
    std::lock_guard<std::mutex> guard(ledgerLock);
    if (owner == this)
        owner = nullptr;
}

std::size_t ImportCounter::live() const
{
    std::lock_guard<std::mutex> guard(ledgerLock);
    return liveBlocks.size();
}

unsigned long long ImportCounter::allocations() const
{
    std::lock_guard<std::mutex> guard(ledgerLock);
    return allocationCount;
}

void ImportCounter::handedOut(const void* block) { freed(block); }

}  // namespace kel::test
