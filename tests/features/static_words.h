// static_words.h - the words of the test program's own writable static
// memory (its data and bss, not the parts the loader makes read-only
// after relocation, nor the table of lazily bound calls) that point into
// the program's code or read-only data: every function pointer a table
// holds, and every pointer to a constant structure (an output device).
// A test reads them to find which tables a routine fills, whatever their
// names, and to see that they are put back.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A word's address and the pointer it holds.
struct StaticWord {
    uintptr_t address, value;
};
// Every such word now, by address.
std::vector<StaticWord> StaticPointerWords();
// Sets the word at `address` (one of StaticPointerWords) to `value`.
void StaticWordSet(uintptr_t address, uintptr_t value);
// The word at `address` now.
uintptr_t StaticWordAt(uintptr_t address);
// The program's symbol that holds each address, with the offset into it
// ("RegisterHookTable+120"); the address in hex when none is known.
std::map<uintptr_t, std::string> StaticWordNames(const std::vector<uintptr_t> &addresses);
