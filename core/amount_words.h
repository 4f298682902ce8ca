// amount_words.h - amounts written out in words, for printed documents
// and forms.
//
// The words are interface texts by number, so one routine serves every
// language that builds numbers the same way; five country variants have
// routines of their own. CompanyVariant() picks the routine.
//
// Text numbers of the words:
//   2811..2819  hundreds: 2810 + the hundreds digit
//   2821..2839  the numbers 1..19: 2820 + the number (also the units
//               digit after the tens)
//   2842..2849  tens: 2840 + the tens digit (20..90)
//   2850..2858  21..29 in the forint routine: 2849 + the units digit
//   2851, 2852  one and two inside the thousands group of the generic
//               routine
//   2801..2803  the billions word: singular, form for 2..4, plural
//   2804..2806  the millions word, the same three forms
//   2807..2809  the thousands word, the same three forms
//   2891, 2892  the phrase before and after the two-digit cents
//
// A group is a whole number 0..999 with hundreds digit h, tens digit t
// and units digit u; its rest r is 10t + u. Group kinds: 0 units, 1
// thousands, 2 millions, 3 billions.
//
// Every routine words the magnitude of a negative amount, and an amount
// of 10^12 or more (beyond the billions group) gives the empty text.
// Cents are the amount's second and third decimal digits; a third
// decimal is not worded.
#pragma once

#include <cstdint>

#include "core/decimal.h"

constexpr int WordsKindAmount = 2;   // the only kind that writes words

// The amount in words into out (a 256-byte PString buffer): empty for
// any kind but 2 and for a blank amount; otherwise by CompanyVariant():
// 24 AmountToWordsAlt, 25 AmountToWordsFraction, 26 AmountToWordsForint,
// 27 AmountToWordsSenti, 28 AmountToWordsLats, any other
// AmountToWordsGeneric.
void AmountToWords(const PackedDecimal *amount, int kind, uint8_t *out);

// Billions, millions and units by WordsGroup and thousands by
// WordsGroupGeneric; the first character upper-cased; then text 2891,
// the cents as two digits and text 2892.
void AmountToWordsGeneric(const PackedDecimal *amount, uint8_t *out);
// As AmountToWordsGeneric with WordsGroupAlt for every group.
void AmountToWordsAlt(const PackedDecimal *amount, uint8_t *out);
// The groups by WordsGroup, then the cents as digits and "/100".
void AmountToWordsFraction(const PackedDecimal *amount, uint8_t *out);
// The groups by WordsGroupForint joined by "-" (after the billions and
// the millions; after the thousands only when that group is above 2, or
// is 2 and units follow), then " Forint"; no cents; the first character
// upper-cased.
void AmountToWordsForint(const PackedDecimal *amount, uint8_t *out);
// "Kr ", the groups by WordsGroup, " ja ", the cents as digits and
// " senti".
void AmountToWordsSenti(const PackedDecimal *amount, uint8_t *out);
// The groups by WordsGroup, " Ls ", the cents as two digits and " san.";
// the first character upper-cased.
void AmountToWordsLats(const PackedDecimal *amount, uint8_t *out);

// The words of one group followed by its group word (none for kind 0),
// into out. A group outside 0..999 gives the empty text.
//   WordsGroup: hundreds, then 1..19, or the tens and the units digit;
//     the singular for exactly 1, the form for 2..4 when u is 2..4 and
//     t is not 1, else the plural for a group that is not 0.
//   WordsGroupAlt: numbers as WordsGroup; the singular for exactly 1,
//     else the form for 2..4 for a group that is not 0.
//   WordsGroupGeneric: 1 and 2 (alone or after the tens) are texts 2851
//     and 2852; in the thousands the singular when u is 1 and t is not 1;
//     otherwise as WordsGroup.
//   WordsGroupForint: 20 is text 2842 and 21..29 are texts 2850..2858;
//     otherwise as WordsGroup.
void WordsGroup(int group, int kind, uint8_t *out);
void WordsGroupAlt(int group, int kind, uint8_t *out);
void WordsGroupGeneric(int group, int kind, uint8_t *out);
void WordsGroupForint(int group, int kind, uint8_t *out);

// The number formed by the characters at positions length - n + 1 to
// length - n + 3 of the PString text (those that exist), read as field
// type 10; 0 when none exist.
int DigitGroupAt(const uint8_t *text, int n);
