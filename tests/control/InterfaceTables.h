// The tables of every method of every object Kel.ocx hands out and of its
// entry points, in the order of their vtables, each with hostile but safe
// arguments and the kind of answer it must give.
#pragma once

#include "tests/control/ControlSupport.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel::test {

enum class ArgKind { None, Word, Scratch, Iid, Point };

// One argument: a plain word (a null pointer among them), a zeroed 4 KB
// buffer of its own for any out-parameter, a pointer to an IID, or a POINT
// by value (two stack words in the 32-bit build, one register on x86-64).
struct Arg {
    ArgKind kind;
    uintptr_t value;
    const GUID* iid;
};

inline constexpr Arg word(uintptr_t value) { return {ArgKind::Word, value, nullptr}; }
inline constexpr Arg kNull = word(0);
inline constexpr Arg kScratch = {ArgKind::Scratch, 0, nullptr};
inline constexpr Arg kPoint = {ArgKind::Point, 0, nullptr};
inline Arg iid(const GUID& guid) { return {ArgKind::Iid, 0, &guid}; }

inline constexpr uintptr_t kMinusOne = static_cast<uintptr_t>(-1);

// What the answer must be: anything; a refusal of a null or empty argument;
// some failure; a success; a reference count of a living object.
enum class Expect { Answer, Refusal, Failure, Success, Count };

inline constexpr std::size_t kMaxArgs = 10;

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

// IUnknown's three slots, the start of every table.
extern const Method kUnknown[3];

// Every interface the control answers QueryInterface for.
extern const std::vector<Interface> kControlInterfaces;

// The objects the control, its class factories and its module hand out.
extern const Interface kEnumOleVerbTable;
extern const Interface kEnumConnectionPointsTable;
extern const Interface kEnumConnectionsTable;
extern const Interface kConnectionPointTable;
extern const Interface kClassFactoryTable;
extern const Interface kPropertyPageTable;

// The module's exports, by name; this test's own prefix takes the
// registration, and it is undone at once.
extern const Method kEntryPoints[4];

}  // namespace kel::test
