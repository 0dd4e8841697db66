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

#include <objsafe.h>
#include <olectl.h>

#include <array>
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
extern "C" __attribute__((naked, cdecl)) uint32_t
callCounted(const void* /*function*/, const uintptr_t* /*words*/, uint32_t /*count*/, uint32_t* /*popped*/)
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
    result.value = callCounted(function, words.data(), static_cast<uint32_t>(words.size()),
                               &result.popped);
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
    return static_cast<uint32_t>(reinterpret_cast<Function>(const_cast<void*>(function))(words[I]...));
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

// --- The tables ---------------------------------------------------------------

enum class ArgKind { None, Word, Scratch, Iid, Point };

// One argument: a plain word (a null pointer among them), a zeroed 4 KB
// buffer of its own for any out-parameter, a pointer to an IID, or a POINT
// by value (two stack words in the 32-bit build, one register on x86-64).
struct Arg {
    ArgKind kind;
    uintptr_t value;
    const GUID* iid;
};

constexpr Arg word(uintptr_t value) { return {ArgKind::Word, value, nullptr}; }
constexpr Arg kNull = word(0);
constexpr Arg kScratch = {ArgKind::Scratch, 0, nullptr};
constexpr Arg kPoint = {ArgKind::Point, 0, nullptr};
Arg iid(const GUID& guid) { return {ArgKind::Iid, 0, &guid}; }

constexpr uintptr_t kMinusOne = static_cast<uintptr_t>(-1);

// What the answer must be: anything; a refusal of a null or empty argument;
// some failure; a success; a reference count of a living object.
enum class Expect { Answer, Refusal, Failure, Success, Count };

constexpr std::size_t kMaxArgs = 10;

struct Method {
    const char* name;
    unsigned words;  // 32-bit stack words the arguments take, this excluded
    std::array<Arg, kMaxArgs> args;
    Expect expect;
};

// The methods one interface adds to its base, in table order.
struct Group {
    template <std::size_t N>
    Group(const Method (&list)[N]) : methods(list), count(N)
    {
    }
    const Method* methods;
    std::size_t count;
};

struct Interface {
    const char* name;
    const IID* iid;
    std::vector<Group> groups;  // from IUnknown down
};

// QueryInterface refuses the null out-pointer, so no reference is taken;
// AddRef and Release follow each other and leave the count as it was.
const Method kUnknown[] = {
    {"QueryInterface", 2, {iid(IID_IUnknown), kNull}, Expect::Refusal},
    {"AddRef", 0, {}, Expect::Count},
    {"Release", 0, {}, Expect::Count},
};

const Method kDispatch[] = {
    {"GetTypeInfoCount", 1, {kNull}, Expect::Refusal},
    {"GetTypeInfo", 3, {word(0), word(0), kNull}, Expect::Refusal},
    {"GetIDsOfNames", 5, {iid(IID_NULL), kNull, word(1), word(0), kNull}, Expect::Refusal},
    {"Invoke", 8,
     {word(KEL_DISPID_GETBRIEFINFO), iid(IID_NULL), word(0), word(DISPATCH_METHOD), kNull, kNull,
      kNull, kNull},
     Expect::Refusal},
};

const Method kOleObject[] = {
    {"SetClientSite", 1, {kNull}, Expect::Answer},
    {"GetClientSite", 1, {kNull}, Expect::Refusal},
    {"SetHostNames", 2, {kNull, kNull}, Expect::Answer},
    {"Close", 1, {word(kMinusOne)}, Expect::Answer},
    {"SetMoniker", 2, {word(OLEWHICHMK_OBJFULL), kNull}, Expect::Failure},
    {"GetMoniker", 3, {word(OLEGETMONIKER_ONLYIFTHERE), word(OLEWHICHMK_OBJFULL), kNull},
     Expect::Failure},
    {"InitFromData", 3, {kNull, word(TRUE), word(0)}, Expect::Failure},
    {"GetClipboardData", 2, {word(0), kNull}, Expect::Failure},
    // The primary verb without any site to activate in.
    {"DoVerb", 6, {word(OLEIVERB_PRIMARY), kNull, kNull, word(0), kNull, kScratch},
     Expect::Failure},
    {"EnumVerbs", 1, {kNull}, Expect::Refusal},
    {"Update", 0, {}, Expect::Answer},
    {"IsUpToDate", 0, {}, Expect::Answer},
    {"GetUserClassID", 1, {kNull}, Expect::Refusal},
    {"GetUserType", 2, {word(USERCLASSTYPE_FULL), kNull}, Expect::Refusal},
    {"SetExtent", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"GetExtent", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"Advise", 2, {kNull, kNull}, Expect::Refusal},
    {"Unadvise", 1, {word(0)}, Expect::Failure},
    {"EnumAdvise", 1, {kNull}, Expect::Refusal},
    {"GetMiscStatus", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"SetColorScheme", 1, {kNull}, Expect::Failure},
};

const Method kOleWindow[] = {
    {"GetWindow", 1, {kNull}, Expect::Refusal},
    {"ContextSensitiveHelp", 1, {word(TRUE)}, Expect::Answer},
};

const Method kOleInPlaceObject[] = {
    {"InPlaceDeactivate", 0, {}, Expect::Answer},
    {"UIDeactivate", 0, {}, Expect::Answer},
    {"SetObjectRects", 2, {kNull, kNull}, Expect::Refusal},
    {"ReactivateAndUndo", 0, {}, Expect::Failure},
};

const Method kOleInPlaceObjectWindowless[] = {
    {"OnWindowMessage", 4, {word(WM_LBUTTONDOWN), word(kMinusOne), word(kMinusOne), kNull},
     Expect::Answer},
    {"GetDropTarget", 1, {kNull}, Expect::Refusal},
};

const Method kOleInPlaceActiveObject[] = {
    {"TranslateAccelerator", 1, {kScratch}, Expect::Answer},
    {"OnFrameWindowActivate", 1, {word(TRUE)}, Expect::Answer},
    {"OnDocWindowActivate", 1, {word(TRUE)}, Expect::Answer},
    {"ResizeBorder", 3, {kScratch, kNull, word(TRUE)}, Expect::Answer},
    {"EnableModeless", 1, {word(FALSE)}, Expect::Answer},
};

const Method kOleControl[] = {
    {"GetControlInfo", 1, {kNull}, Expect::Refusal},
    {"OnMnemonic", 1, {kScratch}, Expect::Answer},
    {"OnAmbientPropertyChange", 1, {word(DISPID_UNKNOWN)}, Expect::Answer},
    {"FreezeEvents", 1, {word(FALSE)}, Expect::Answer},
};

const Method kViewObject[] = {
    // No device context to draw into.
    {"Draw", 10,
     {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull, kNull, kNull, kNull, kNull, kNull,
      word(0)},
     Expect::Refusal},
    {"GetColorSet", 6, {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull, kNull, kNull},
     Expect::Refusal},
    {"Freeze", 4, {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull}, Expect::Failure},
    {"Unfreeze", 1, {word(0)}, Expect::Failure},
    {"SetAdvise", 3, {word(DVASPECT_CONTENT), word(0), kNull}, Expect::Answer},
    {"GetAdvise", 3, {kScratch, kScratch, kScratch}, Expect::Answer},
};

const Method kViewObject2[] = {
    {"GetExtent", 4, {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull}, Expect::Refusal},
};

const Method kViewObjectEx[] = {
    {"GetRect", 2, {word(DVASPECT_CONTENT), kNull}, Expect::Refusal},
    {"GetViewStatus", 1, {kNull}, Expect::Refusal},
    // The POINT goes by value: two words.
    {"QueryHitPoint", 6, {word(DVASPECT_CONTENT), kNull, kPoint, word(0), kNull}, Expect::Refusal},
    {"QueryHitRect", 5, {word(DVASPECT_CONTENT), kNull, kNull, word(0), kNull}, Expect::Refusal},
    {"GetNaturalExtent", 6, {word(DVASPECT_CONTENT), word(kMinusOne), kNull, kNull, kNull, kNull},
     Expect::Failure},
};

const Method kDataObject[] = {
    {"GetData", 2, {kNull, kNull}, Expect::Failure},
    {"GetDataHere", 2, {kNull, kNull}, Expect::Failure},
    {"QueryGetData", 1, {kNull}, Expect::Failure},
    {"GetCanonicalFormatEtc", 2, {kNull, kNull}, Expect::Refusal},
    {"SetData", 3, {kNull, kNull, word(TRUE)}, Expect::Failure},
    {"EnumFormatEtc", 2, {word(DATADIR_GET), kNull}, Expect::Refusal},
    {"DAdvise", 4, {kNull, word(0), kNull, kNull}, Expect::Failure},
    {"DUnadvise", 1, {word(0)}, Expect::Failure},
    {"EnumDAdvise", 1, {kNull}, Expect::Failure},
};

const Method kOleCache[] = {
    {"Cache", 3, {kNull, word(0), kNull}, Expect::Failure},
    {"Uncache", 1, {word(0)}, Expect::Failure},
    {"EnumCache", 1, {kNull}, Expect::Refusal},
    {"InitCache", 1, {kNull}, Expect::Failure},
    {"SetData", 3, {kNull, kNull, word(TRUE)}, Expect::Failure},
};

const Method kPersist[] = {
    {"GetClassID", 1, {kNull}, Expect::Refusal},
};

const Method kPersistStream[] = {
    {"IsDirty", 0, {}, Expect::Answer},
    {"Load", 1, {kNull}, Expect::Refusal},
    {"Save", 2, {kNull, word(TRUE)}, Expect::Refusal},
    {"GetSizeMax", 1, {kNull}, Expect::Refusal},
};

const Method kInitNew[] = {
    {"InitNew", 0, {}, Expect::Success},
};

const Method kPersistStorage[] = {
    {"IsDirty", 0, {}, Expect::Answer},
    {"InitNew", 1, {kNull}, Expect::Refusal},
    {"Load", 1, {kNull}, Expect::Refusal},
    {"Save", 2, {kNull, word(TRUE)}, Expect::Refusal},
    {"SaveCompleted", 1, {kNull}, Expect::Answer},
    {"HandsOffStorage", 0, {}, Expect::Answer},
};

const Method kPersistMemory[] = {
    {"IsDirty", 0, {}, Expect::Answer},
    {"Load", 2, {kNull, word(4096)}, Expect::Refusal},
    {"Save", 3, {kNull, word(TRUE), word(4096)}, Expect::Refusal},
    {"GetSizeMax", 1, {kNull}, Expect::Refusal},
    {"InitNew", 0, {}, Expect::Success},
};

const Method kPersistPropertyBag[] = {
    {"InitNew", 0, {}, Expect::Success},
    {"Load", 2, {kNull, kNull}, Expect::Refusal},
    {"Save", 3, {kNull, word(TRUE), word(TRUE)}, Expect::Refusal},
};

const Method kProvideClassInfo[] = {
    {"GetClassInfo", 1, {kNull}, Expect::Refusal},
};

const Method kProvideClassInfo2[] = {
    {"GetGUID", 2, {word(GUIDKIND_DEFAULT_SOURCE_DISP_IID), kNull}, Expect::Refusal},
};

const Method kConnectionPointContainer[] = {
    {"EnumConnectionPoints", 1, {kNull}, Expect::Refusal},
    {"FindConnectionPoint", 2, {iid(kEventsIid), kNull}, Expect::Refusal},
};

const Method kSpecifyPropertyPages[] = {
    {"GetPages", 1, {kNull}, Expect::Refusal},
};

const Method kPerPropertyBrowsing[] = {
    {"GetDisplayString", 2, {word(KEL_DISPID_GETBRIEFINFO), kNull}, Expect::Failure},
    {"MapPropertyToPage", 2, {word(KEL_DISPID_GETBRIEFINFO), kNull}, Expect::Refusal},
    {"GetPredefinedStrings", 3, {word(KEL_DISPID_GETBRIEFINFO), kNull, kNull}, Expect::Failure},
    {"GetPredefinedValue", 3, {word(KEL_DISPID_GETBRIEFINFO), word(0), kNull}, Expect::Failure},
};

// Zeroed structures: their sizes say they are too small.
const Method kQuickActivate[] = {
    {"QuickActivate", 2, {kScratch, kScratch}, Expect::Refusal},
    {"SetContentExtent", 1, {kNull}, Expect::Refusal},
    {"GetContentExtent", 1, {kNull}, Expect::Refusal},
};

const Method kObjectSafety[] = {
    {"GetInterfaceSafetyOptions", 3, {iid(IID_IDispatch), kNull, kNull}, Expect::Refusal},
    {"SetInterfaceSafetyOptions", 3, {iid(IID_IDispatch), word(kMinusOne), word(kMinusOne)},
     Expect::Failure},
};

// The same four for every enumerator: an empty buffer, a huge skip, a
// clone into nowhere.
const Method kEnumerator[] = {
    {"Next", 3, {word(2), kNull, kNull}, Expect::Refusal},
    {"Skip", 1, {word(kMinusOne)}, Expect::Answer},
    {"Reset", 0, {}, Expect::Success},
    {"Clone", 1, {kNull}, Expect::Refusal},
};

const Method kConnectionPoint[] = {
    {"GetConnectionInterface", 1, {kNull}, Expect::Refusal},
    {"GetConnectionPointContainer", 1, {kNull}, Expect::Refusal},
    {"Advise", 2, {kNull, kNull}, Expect::Refusal},
    {"Unadvise", 1, {word(kMinusOne)}, Expect::Failure},
    {"EnumConnections", 1, {kNull}, Expect::Refusal},
};

// LockServer(TRUE) is undone by the test once the table is through.
const Method kClassFactory[] = {
    {"CreateInstance", 3, {kNull, iid(IID_IUnknown), kNull}, Expect::Refusal},
    {"LockServer", 1, {word(TRUE)}, Expect::Success},
};

const Method kPropertyPage[] = {
    {"SetPageSite", 1, {kNull}, Expect::Answer},
    {"Activate", 3, {kNull, kNull, word(TRUE)}, Expect::Refusal},
    {"Deactivate", 0, {}, Expect::Answer},
    {"GetPageInfo", 1, {kNull}, Expect::Refusal},
    {"SetObjects", 2, {word(1), kNull}, Expect::Refusal},
    {"Show", 1, {word(SW_SHOW)}, Expect::Failure},
    {"Move", 1, {kNull}, Expect::Refusal},
    {"IsPageDirty", 0, {}, Expect::Answer},
    {"Apply", 0, {}, Expect::Answer},
    {"Help", 1, {kNull}, Expect::Answer},
    {"TranslateAccelerator", 1, {kNull}, Expect::Refusal},
};

// Every interface the control answers QueryInterface for.
const Interface kControlInterfaces[] = {
    {"IUnknown", &IID_IUnknown, {kUnknown}},
    {"IDispatch", &IID_IDispatch, {kUnknown, kDispatch}},
    {"_DKel", &kDispatchIid, {kUnknown, kDispatch}},
    {"IOleObject", &IID_IOleObject, {kUnknown, kOleObject}},
    {"IOleWindow", &IID_IOleWindow, {kUnknown, kOleWindow}},
    {"IOleInPlaceObject", &IID_IOleInPlaceObject, {kUnknown, kOleWindow, kOleInPlaceObject}},
    {"IOleInPlaceObjectWindowless", &IID_IOleInPlaceObjectWindowless,
     {kUnknown, kOleWindow, kOleInPlaceObject, kOleInPlaceObjectWindowless}},
    {"IOleInPlaceActiveObject", &IID_IOleInPlaceActiveObject,
     {kUnknown, kOleWindow, kOleInPlaceActiveObject}},
    {"IOleControl", &IID_IOleControl, {kUnknown, kOleControl}},
    {"IViewObject", &IID_IViewObject, {kUnknown, kViewObject}},
    {"IViewObject2", &IID_IViewObject2, {kUnknown, kViewObject, kViewObject2}},
    {"IViewObjectEx", &IID_IViewObjectEx, {kUnknown, kViewObject, kViewObject2, kViewObjectEx}},
    {"IDataObject", &IID_IDataObject, {kUnknown, kDataObject}},
    {"IOleCache", &IID_IOleCache, {kUnknown, kOleCache}},
    {"IPersist", &IID_IPersist, {kUnknown, kPersist}},
    {"IPersistStream", &IID_IPersistStream, {kUnknown, kPersist, kPersistStream}},
    {"IPersistStreamInit", &IID_IPersistStreamInit, {kUnknown, kPersist, kPersistStream, kInitNew}},
    {"IPersistStorage", &IID_IPersistStorage, {kUnknown, kPersist, kPersistStorage}},
    {"IPersistMemory", &IID_IPersistMemory, {kUnknown, kPersist, kPersistMemory}},
    {"IPersistPropertyBag", &IID_IPersistPropertyBag, {kUnknown, kPersist, kPersistPropertyBag}},
    {"IProvideClassInfo", &IID_IProvideClassInfo, {kUnknown, kProvideClassInfo}},
    {"IProvideClassInfo2", &IID_IProvideClassInfo2,
     {kUnknown, kProvideClassInfo, kProvideClassInfo2}},
    {"IConnectionPointContainer", &IID_IConnectionPointContainer,
     {kUnknown, kConnectionPointContainer}},
    {"ISpecifyPropertyPages", &IID_ISpecifyPropertyPages, {kUnknown, kSpecifyPropertyPages}},
    {"IPerPropertyBrowsing", &IID_IPerPropertyBrowsing, {kUnknown, kPerPropertyBrowsing}},
    {"IQuickActivate", &IID_IQuickActivate, {kUnknown, kQuickActivate}},
    {"IObjectSafety", &IID_IObjectSafety, {kUnknown, kObjectSafety}},
};

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
            check(std::string(table.name) + "::" + method.name + " (slot " + std::to_string(slot) + ")",
                  vtable[slot], object, method, &problems);
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
        EXPECT_EQ("IFake::CdeclMethod (slot 3): popped 0 bytes, a __stdcall function pops 12",
                  problems[0]);
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
    expectEverySlot(verbs.get(), Interface{"IEnumOLEVERB", &IID_IEnumOLEVERB, {kUnknown, kEnumerator}});

    com_ptr<IConnectionPointContainer> container;
    ASSERT_HR(S_OK, control.queryInterface(IID_IConnectionPointContainer, &container));
    com_ptr<IEnumConnectionPoints> points;
    ASSERT_HR(S_OK, container->EnumConnectionPoints(points.put()));
    expectEverySlot(points.get(), Interface{"IEnumConnectionPoints", &IID_IEnumConnectionPoints,
                                               {kUnknown, kEnumerator}});
    for (const IID* iid : {&kEventsIid, &IID_IPropertyNotifySink}) {
        com_ptr<IConnectionPoint> point;
        ASSERT_HR(S_OK, container->FindConnectionPoint(*iid, point.put()));
        expectEverySlot(point.get(), Interface{"IConnectionPoint", &IID_IConnectionPoint,
                                                  {kUnknown, kConnectionPoint}});
        com_ptr<IEnumConnections> connections;
        ASSERT_HR(S_OK, point->EnumConnections(connections.put()));
        expectEverySlot(connections.get(), Interface{"IEnumConnections", &IID_IEnumConnections,
                                                        {kUnknown, kEnumerator}});
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
        expectEverySlot(factory.get(),
                          Interface{"IClassFactory", &IID_IClassFactory, {kUnknown, kClassFactory}});
        EXPECT_HR(S_OK, factory->LockServer(FALSE));  // the table's lock
        releaseLast(factory);
    }
    com_ptr<IPropertyPage> page;
    ASSERT_HR(S_OK, createFromModule(kPropPageClsid, IID_IPropertyPage, page.put_void()));
    expectEverySlot(page.get(), Interface{"IPropertyPage", &IID_IPropertyPage, {kUnknown, kPropertyPage}});
    releaseLast(page);
}

// --- The entry points ------------------------------------------------------------

// Registration runs in this test's own prefix and is undone at once.
const Method kEntryPoints[] = {
    {"DllGetClassObject", 3, {iid(kControlClsid), iid(IID_IClassFactory), kNull}, Expect::Refusal},
    {"DllCanUnloadNow", 0, {}, Expect::Answer},
    {"DllRegisterServer", 0, {}, Expect::Success},
    {"DllUnregisterServer", 0, {}, Expect::Success},
};

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
