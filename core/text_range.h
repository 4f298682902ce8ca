// text_range.h - from:to ranges typed in one text field, and the small
// word scanners over a PString with a moving position that they use.
//
// A range is the first end, a separator (";", ":" or ","), the last
// end; a single value stands for both ends; an end left out is open
// (empty, or -1 for numbers). Positions are 1-based; a position past
// the text's length means its end, and one below 1 its start (a scanner
// moves it to 1 before reading).
#pragma once

#include <cstdint>

void SkipBlanks(const uint8_t *s, int *p);
// Skips blanks, then takes characters up to a blank, ";", ":", "," or
// the end. True when the word is not empty.
bool RangeWord(const uint8_t *s, int *p, uint8_t *word);
// RangeWord with "-" and "+" also ending the word.
bool WordUntilSep(const uint8_t *s, int *p, uint8_t *word);
// Runs at p (no blanks skipped); true when not empty.
bool RangeSepRun(const uint8_t *s, int *p, uint8_t *run);       // ; : ,
bool RangeDigitRun(const uint8_t *s, int *p, uint8_t *run);     // 0-9
bool RangeNonDigitRun(const uint8_t *s, int *p, uint8_t *run);  // not 0-9
bool RangeNumSepRun(const uint8_t *s, int *p, uint8_t *run);    // : - + * , .
void RangeRest(const uint8_t *s, int *p, uint8_t *out);
bool RangeWordToDouble(const uint8_t *s, int *p, double *out);

// The two ends of a range as texts.
void RangeSplit(const uint8_t *s, uint8_t *from, uint8_t *to);
// RangeSplit, then each end stored as a text field of maximum length m
// (m + 1 bytes, rounded up to even).
void RangeSplitToFields(const uint8_t *s, uint8_t *fromField, uint8_t *toField, int m);
// The two ends as numbers, -1 for an open end.
void RangeSplitNumber(const uint8_t *s, int32_t *from, int32_t *to);
