// seams.h - the tables the program's start and a server's start fill,
// listed once: those through which a lower layer reaches a higher one,
// and those a layer fills for its own callers (the registers' hooks, the
// output devices, the import's effects, the network's turn in the
// message wait, the push of a server's output): their
// names, where they live, who fills them, and whether an empty entry is
// a fault after the start. The start-up check (OrvelStart), its test,
// docs/architecture.md's list and the tests' put-back of the start
// (tests/features/start_tables.h) come from here.
#pragma once

#include <cstddef>
#include <span>
#include <string>

// Who fills a table, which says when its entries must be there.
enum class SeamFiller {
    Business,   // RulesInstall, at the start
    Output,     // OutputInstall, at the start
    Ui,         // UiInstall, at the start
    Features,   // FeaturesInstall, at the start
    Server,     // NetServerStart, only when the program serves: empty by design otherwise
                // (a client's connect fills the connection table's handlers too)
    InPart,     // the start fills the entries it has something for: an empty one is no fault
};

// A function entry of a table. An entry that holds a pointer to a
// constant structure (an output device) is read and set through the
// same type.
using SeamFn = void (*)();

// Any entry's value, as the check reads and a test replaces it: a
// function, or a flag's state where the seam is a flag. Empty is a null
// function and a flag that is down.
struct SeamValue {
    SeamFn fn = nullptr;
    bool flag = false;
    bool Empty() const { return !fn && !flag; }
    bool operator==(const SeamValue &) const = default;
};

// A table of its own is a struct of function pointers, read slot by slot.
// Some seams are entries of a table that holds others too, each reached
// by its number (the formula machine's balance functions, the window
// types' handlers set at run time): such a seam names how many entries
// it has and how to read and replace entry i, and has no table. A flag
// the start raises (the server's serving flag) is a seam of one entry
// whose value is the flag's state.
struct Seam {
    const char *name;     // the table's name in the code
    void *table;          // a table of its own: a struct of function pointers only; else null
    size_t size;          // its size in bytes; 0 without a table
    SeamFiller filler;
    size_t count;                            // entries of a seam without a table
    SeamFn (*entry)(size_t i);               // entry i of a seam without a table
    void (*setEntry)(size_t i, SeamFn fn);   // replaces entry i of a seam without a table
    bool *flag;                              // a flag of its own, one entry; else null
};

// Every table, in layer order of the layer that declares it.
std::span<const Seam> Seams();
// Whether the start must leave every entry of s filled.
bool SeamFilledWhole(const Seam &s);
// The number of entries of a seam, entry i (0 from the first), and entry
// i replaced by value (an empty one empties it), whatever the seam's form.
size_t SeamEntryCount(const Seam &s);
SeamValue SeamEntry(const Seam &s, size_t i);
void SeamEntrySet(const Seam &s, size_t i, SeamValue value);
// The first entry of a table that a start must have filled and found
// empty, as "Table entry N" (N from 0 in declaration order); empty when
// every such entry is filled. Tables filled only by a serving program,
// and those the start fills in part, are not asked.
std::string SeamsEmptyEntry();
