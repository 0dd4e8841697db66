// Every method the module hands out, and its four entry points, as a 32-bit
// client calls them: through the raw table, with hostile arguments. Each one
// must come back, and in the 32-bit build it must pop exactly its own
// arguments and this, as __stdcall says; a __cdecl one pops nothing and
// leaves its caller's stack four bytes a word off.
//
// On x86-64 there is one calling convention and the caller cleans the stack,
// so a wrong convention cannot be seen there: the 64-bit build makes the same
// calls through plain function pointers and checks everything but the pops.
#include "tests/control/ControlSupport.h"
#include "tests/control/InterfaceTables.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace kel::test {
namespace {

// --- One call through a raw function address ---------------------------------

// The words a call passes on the stack, this (if any) first.
using Words = std::vector<uintptr_t>;

struct CallResult {
    uint32_t value;   // EAX: an HRESULT or a reference count
    uint32_t popped;  // bytes the callee took off the stack (32-bit only)
};

#if defined(__i386__)
constexpr bool kPopsMeasured = true;

// Pushes count words (last first), calls function and writes to *popped how
// far ESP moved over the call. The stack is 16-byte aligned at the call, as
// GCC's code expects. ECX holds the top word (this) too, so that a method
// compiled as thiscall finds its object and comes back to be measured.
extern "C" __attribute__((naked, cdecl)) uint32_t callCounted(const void* /*function*/,
                                                              const uintptr_t* /*words*/, uint32_t /*count*/,
                                                              uint32_t* /*popped*/)
{
    __asm__(
        "pushl %ebp\n\t"
        "movl %esp, %ebp\n\t"
        "pushl %ebx\n\t"
        "pushl %esi\n\t"
        "pushl %edi\n\t"
        "movl 12(%ebp), %esi\n\t"
        "movl 16(%ebp), %ecx\n\t"
        "leal (,%ecx,4), %eax\n\t"
        "movl %esp, %edx\n\t"
        "subl %eax, %edx\n\t"
        "andl $-16, %edx\n\t"
        "addl %eax, %edx\n\t"
        "movl %edx, %esp\n\t"
        "1:\n\t"
        "testl %ecx, %ecx\n\t"
        "jz 2f\n\t"
        "decl %ecx\n\t"
        "pushl (%esi,%ecx,4)\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "movl (%esp), %ecx\n\t"
        "movl %esp, %ebx\n\t"
        "call *8(%ebp)\n\t"
        "movl %esp, %ecx\n\t"
        "subl %ebx, %ecx\n\t"
        "movl 20(%ebp), %edx\n\t"
        "movl %ecx, (%edx)\n\t"
        "leal -12(%ebp), %esp\n\t"
        "popl %edi\n\t"
        "popl %esi\n\t"
        "popl %ebx\n\t"
        "popl %ebp\n\t"
        "ret\n\t");
}

CallResult call(const void* function, const Words& words)
{
    CallResult result = {};
    result.value = callCounted(function, words.data(), static_cast<uint32_t>(words.size()), &result.popped);
    return result;
}
#else
constexpr bool kPopsMeasured = false;

template <std::size_t>
using WordAt = uintptr_t;

template <std::size_t... I>
uint32_t callWith(const void* function, const Words& words, std::index_sequence<I...>)
{
    using Function = uintptr_t (*)(WordAt<I>...);
    const auto target = reinterpret_cast<Function>(const_cast<void*>(function));
    return static_cast<uint32_t>(target(words[I]...));
}

template <std::size_t... Count>
uint32_t callAnyCount(const void* function, const Words& words, std::index_sequence<Count...>)
{
    uint32_t value = 0;
    (void)((words.size() == Count &&
            (value = callWith(function, words, std::make_index_sequence<Count>{}), true)) ||
           ...);
    return value;
}

// The longest call is IViewObject::Draw: this and ten arguments.
CallResult call(const void* function, const Words& words)
{
    return {callAnyCount(function, words, std::make_index_sequence<12>{}), 0};
}
#endif

// --- The walk -------------------------------------------------------------------

std::size_t stackWords(const Method& method)
{
    std::size_t words = 0;
    for (const Arg& arg : method.args) {
        if (arg.kind != ArgKind::None)
            words += arg.kind == ArgKind::Point ? 2 : 1;
    }
    return words;
}

// The words of one call, this first when there is one; scratch holds the
// zeroed buffers the words point at.
Words callWords(const void* self, const Method& method, std::vector<std::vector<char>>* scratch)
{
    Words words;
    if (self)
        words.push_back(reinterpret_cast<uintptr_t>(self));
    for (const Arg& arg : method.args) {
        switch (arg.kind) {
        case ArgKind::None:
            break;
        case ArgKind::Word:
            words.push_back(arg.value);
            break;
        case ArgKind::Scratch:
            scratch->emplace_back(4096, '\0');
            words.push_back(reinterpret_cast<uintptr_t>(scratch->back().data()));
            break;
        case ArgKind::Iid:
            words.push_back(reinterpret_cast<uintptr_t>(arg.iid));
            break;
        case ArgKind::Point:
            // POINT {0, 0}: two stack words, or one register on x86-64.
            words.insert(words.end(), sizeof(POINT) / sizeof(uintptr_t), 0);
            break;
        }
    }
    return words;
}

std::string hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
    return text;
}

bool meets(Expect expect, uint32_t value)
{
    const auto hr = static_cast<HRESULT>(value);
    switch (expect) {
    case Expect::Answer:
        return true;
    case Expect::Refusal:
        return hr == E_POINTER || hr == E_INVALIDARG;
    case Expect::Failure:
        return FAILED(hr);
    case Expect::Success:
        return SUCCEEDED(hr);
    case Expect::Count:
        return value != 0;
    }
    return false;
}

// Calls function as method says (with self as this unless null) and adds
// what went wrong to problems.
void check(const std::string& where, const void* function, const void* self, const Method& method,
           std::vector<std::string>* problems)
{
    const std::size_t words = stackWords(method);
    if (words != method.words) {
        problems->push_back(where + ": the table passes " + std::to_string(words) + " words, not " +
                            std::to_string(method.words));
        return;
    }
    std::vector<std::vector<char>> scratch;
    const Words stack = callWords(self, method, &scratch);
    const CallResult result = call(function, stack);
    const std::size_t expectedPop = 4 * (words + (self ? 1 : 0));
    if (kPopsMeasured && result.popped != expectedPop)
        problems->push_back(where + ": popped " + std::to_string(result.popped) +
                            " bytes, a __stdcall function pops " + std::to_string(expectedPop));
    if (!meets(method.expect, result.value))
        problems->push_back(where + ": answered " + hex(result.value));
}

// Calls every slot of object's table as table lists them.
std::vector<std::string> callEverySlot(void* object, const Interface& table)
{
    std::vector<std::string> problems;
    const void* const* vtable = *static_cast<const void* const* const*>(object);
    std::size_t slot = 0;
    for (const Group& group : table.groups) {
        for (std::size_t i = 0; i < group.count; ++i, ++slot) {
            const Method& method = group.methods[i];
            const std::string where =
                std::string(table.name) + "::" + method.name + " (slot " + std::to_string(slot) + ")";
            check(where, vtable[slot], object, method, &problems);
        }
    }
    return problems;
}

std::string joined(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& problem : problems)
        text += problem + "\n";
    return text;
}

void expectEverySlot(void* object, const Interface& table)
{
    EXPECT_EQ("", joined(callEverySlot(object, table))) << "in " << table.name;
}

// --- The walker's own check: a table with one __cdecl slot ----------------------

struct FakeObject {
    const void* const* vtable;
};

HRESULT STDMETHODCALLTYPE fakeQueryInterface(FakeObject*, REFIID, void** object)
{
    return object ? E_NOINTERFACE : E_POINTER;
}
ULONG STDMETHODCALLTYPE fakeAddRef(FakeObject*) { return 2; }
ULONG STDMETHODCALLTYPE fakeRelease(FakeObject*) { return 1; }

DWORD fakeArguments[2];
HRESULT __cdecl fakeCdeclMethod(FakeObject*, DWORD first, DWORD second)
{
    fakeArguments[0] = first;
    fakeArguments[1] = second;
    return S_OK;
}

const Method kFakeMethods[] = {
    {"CdeclMethod", 2, {word(5), word(7)}, Expect::Success},
};

TEST(CallingConvention, TheWalkCatchesACdeclSlot)
{
    const void* const vtable[] = {
        reinterpret_cast<const void*>(fakeQueryInterface),
        reinterpret_cast<const void*>(fakeAddRef),
        reinterpret_cast<const void*>(fakeRelease),
        reinterpret_cast<const void*>(fakeCdeclMethod),
    };
    FakeObject fake = {vtable};
    const Interface table = {"IFake", &IID_NULL, {kUnknown, kFakeMethods}};
    const std::vector<std::string> problems = callEverySlot(&fake, table);
    EXPECT_EQ(5u, fakeArguments[0]);
    EXPECT_EQ(7u, fakeArguments[1]);
    if (kPopsMeasured) {
        ASSERT_EQ(1u, problems.size()) << joined(problems);
        EXPECT_EQ("IFake::CdeclMethod (slot 3): popped 0 bytes, a __stdcall function pops 12", problems[0]);
    } else {
        EXPECT_EQ("", joined(problems));
    }
}

// --- The module's objects --------------------------------------------------------

TEST(CallingConvention, EveryInterfaceOfTheControl)
{
    com_ptr<IUnknown> control = createControl<IUnknown>(IID_IUnknown);
    ASSERT_TRUE(control);
    for (const Interface& table : kControlInterfaces) {
        com_ptr<IUnknown> answer;
        ASSERT_HR(S_OK, control->QueryInterface(*table.iid, answer.put_void())) << table.name;
        expectEverySlot(answer.get(), table);
    }
    releaseLast(control);
}

TEST(CallingConvention, TheObjectsTheControlHandsOut)
{
    com_ptr<IOleObject> control = createControl<IOleObject>(IID_IOleObject);
    ASSERT_TRUE(control);
    com_ptr<IEnumOLEVERB> verbs;
    ASSERT_HR(S_OK, control->EnumVerbs(verbs.put()));
    expectEverySlot(verbs.get(), kEnumOleVerbTable);

    com_ptr<IConnectionPointContainer> container;
    ASSERT_HR(S_OK, control.queryInterface(IID_IConnectionPointContainer, &container));
    com_ptr<IEnumConnectionPoints> points;
    ASSERT_HR(S_OK, container->EnumConnectionPoints(points.put()));
    expectEverySlot(points.get(), kEnumConnectionPointsTable);
    for (const IID* iid : {&kEventsIid, &IID_IPropertyNotifySink}) {
        com_ptr<IConnectionPoint> point;
        ASSERT_HR(S_OK, container->FindConnectionPoint(*iid, point.put()));
        expectEverySlot(point.get(), kConnectionPointTable);
        com_ptr<IEnumConnections> connections;
        ASSERT_HR(S_OK, point->EnumConnections(connections.put()));
        expectEverySlot(connections.get(), kEnumConnectionsTable);
    }
    verbs.reset();
    points.reset();
    container.reset();
    releaseLast(control);
}

TEST(CallingConvention, TheClassFactoryAndThePropertyPage)
{
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(kelModule(), "DllGetClassObject")));
    ASSERT_NE(nullptr, get);
    for (const CLSID* clsid : {&kControlClsid, &kPropPageClsid}) {
        com_ptr<IClassFactory> factory;
        ASSERT_HR(S_OK, get(*clsid, IID_IClassFactory, factory.put_void()));
        expectEverySlot(factory.get(), kClassFactoryTable);
        EXPECT_HR(S_OK, factory->LockServer(FALSE));  // the table's lock
        releaseLast(factory);
    }
    com_ptr<IPropertyPage> page;
    ASSERT_HR(S_OK, createFromModule(kPropPageClsid, IID_IPropertyPage, page.put_void()));
    expectEverySlot(page.get(), kPropertyPageTable);
    releaseLast(page);
}

// --- The entry points ------------------------------------------------------------

TEST(CallingConvention, TheEntryPointsByName)
{
    std::vector<std::string> problems;
    for (const Method& entry : kEntryPoints) {
        const void* function = reinterpret_cast<const void*>(GetProcAddress(kelModule(), entry.name));
        ASSERT_NE(nullptr, function) << entry.name;
        check(entry.name, function, nullptr, entry, &problems);
    }
    EXPECT_EQ("", joined(problems));
    EXPECT_FALSE(classesKeyExists(L"CLSID\\" + guidText(kControlClsid))) << "left registered";
}

}  // namespace
}  // namespace kel::test
