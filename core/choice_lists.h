// choice_lists.h - choice-list values: 16-bit codes that the user sees
// as interface texts.
//
// A choice list maps values to UI text numbers. Lists are numbered:
//   -1   the module table (list slot 7): value = an entry's word 0 (a
//        window type), text = UI text of its word 1;
//   -2   the register-window menu table (list slot 6): value = an
//        entry's word 2 (a module number), text = UI text of its word 0;
//    0   no entries: a value's text is its digits;
//   other numbers: the choice-list table (list slot 11), whose entries
//        hold (value, text number) pairs.
// A list the table lacks behaves as list 0. Positions are 0-based.
// Texts compare without regard to case.
#pragma once

#include <cstdint>

// The entry of list in the choice-list table (u16 length, u16 list
// number, u16 pair count, then the pairs), or null when there is none.
// Lists 0, -1 and -2 are never in the table.
const uint8_t *ChoiceListFind(int list);

// The text of value in list into out (a 256-byte PString buffer). out
// starts as the value's digits read as a signed 16-bit number, *index as
// 0; the first entry holding the value gives its text and its position.
// Returns true when an entry matched.
bool ChoiceTextOf(int list, uint16_t value, int *index, uint8_t *out);

// The value of text in list. *value starts as the typed number
// (TextToLong, low 16 bits), *index as 0; the first entry whose text
// equals text gives its value and position. Returns true when an entry
// matched.
bool ChoiceValueOf(int list, const uint8_t *text, uint16_t *value, int *index);

// The entry of list at position i: out starts empty; the entry gives
// its text and value. For a table list a position beyond its pairs sets
// *value to 0; list 0 gives nothing. Returns true when there was an
// entry at i.
bool ChoiceTextAt(int list, int i, uint8_t *out, uint16_t *value);

// The three lookups for list -1 and list -2. With no match the outputs
// are left as they were.
bool ModuleChoiceText(uint16_t value, int *index, uint8_t *out);
bool ModuleChoiceValue(const uint8_t *text, uint16_t *value, int *index);
bool ModuleChoiceTextAt(int i, uint8_t *out, uint16_t *value);
bool RegWinChoiceText(uint16_t value, int *index, uint8_t *out);
bool RegWinChoiceValue(const uint8_t *text, uint16_t *value, int *index);
bool RegWinChoiceTextAt(int i, uint8_t *out, uint16_t *value);
