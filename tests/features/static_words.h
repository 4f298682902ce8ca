// static_words.h - the words of the test program's own writable static
// memory (its data and bss, not the parts the loader makes read-only
// after relocation, nor the table of lazily bound calls), and of the
// tables its static std::vectors hold, that point into the program's
// code or read-only data: every function pointer a table holds, and
// every pointer to a constant structure (an output device). A test reads
// them to find which tables a routine fills, whatever their names, and
// to see that they are put back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Whether the tables of static vectors are read in this program: where
// its allocator tells a vector's storage from the heap around it (the
// address sanitizer's, or the C library's main heap). Where it does not,
// why (a test that needs them skips with it) and none is read.
bool StaticVectorsReadable(std::string *why);

// One such word and the pointer it held when read.
struct StaticWord {
    uintptr_t address;   // where it lies: in static memory, or in a vector's storage
    uintptr_t value;
    uintptr_t vector;    // a word of a vector's storage: the vector's own address in static memory; else 0
    size_t slot;         // and its place in the storage, in words
};

// Every word of the writable static memory as it is now, and the pointer
// words of the vectors' tables by their place (StaticWordPlace).
struct StaticMemory {
    std::vector<uintptr_t> words;
    std::map<std::pair<uintptr_t, size_t>, uintptr_t> held;
};
StaticMemory StaticMemoryNow();
// The pointer words that differ now from `before`: those a routine filled
// since, or changed.
std::vector<StaticWord> StaticPointerWordsChangedSince(const StaticMemory &before);
// Every word that points into the program's code now: the function
// pointers, which a test may empty where no other word may be (a string
// or an object points into static memory too, and is read as it is).
std::vector<StaticWord> StaticFunctionWords();

// A word's place, the same however often it is read: its address, or for
// a word of a vector's storage the vector and the slot (the storage may
// move when the vector grows).
std::pair<uintptr_t, size_t> StaticWordPlace(const StaticWord &w);
// The word at w's place now (0 for a slot past the vector's end), and
// the word there set to value.
uintptr_t StaticWordAt(const StaticWord &w);
void StaticWordSet(const StaticWord &w, uintptr_t value);
// The program's symbol that holds each word, with the offset into it
// ("RegisterHookTable+120", a vector's word "Handlers+0[3]"); the address
// in hex when none is known. One name a word, in the order given.
std::vector<std::string> StaticWordNames(const std::vector<StaticWord> &words);
