// bank_format.h - the small formatters of the bank payment files and the
// printed payment slip: two-digit dates, amounts in hundredths, a bank
// account normalised to 14 digits, the 7-3-1 reference check digit and
// the digit packing and check character of a Code 128 bar code.
//
// Every text is a PString (length byte first, at most 255 characters);
// the output may not be the input unless a routine says so.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"

// Two digits of n: its tens (mod 10) and its units.
void TwoDigits(uint16_t n, uint8_t *out);
// YYMMDD of date.
void DateToYYMMDD(const DateRec *date, uint8_t *out);
// The digits of text, every other character dropped (out may be text).
void DigitsOnly(const uint8_t *text, uint8_t *out);
// The bank group of an account: 1 for fewer than two digits, the first
// digit unless it is 7, else 70 plus the second digit.
int16_t BankGroupNumber(const uint8_t *account);
// The account's digits as 14: a leading part of 7 digits (groups 4, 5
// and 70) or 6 (others), cut or filled on the right with "0", then the
// remaining digits right-aligned in the rest, filled with "0"; digits
// that do not fit are dropped from the left of the remainder.
void BankAccountTo14Digits(const uint8_t *account, uint8_t *out);
// The amount in hundredths as digits ("1234.50" gives "123450"), a minus
// sign first when negative; empty for a blank amount.
void AmountCentsText(const PackedDecimal *amount, uint8_t *out);
// Appends the 7-3-1 check digit to the digit text (weights 7, 3, 1 from
// the right); false, text unchanged, when the text is empty, holds a
// non-digit or is full.
bool AppendRef731(uint8_t *digits);
// Appends to out one Code 128 set C character per digit pair of digits
// ("0" appended to an odd count); false, out unchanged, when digits holds
// a non-digit or out has no room.
bool Code128PackDigits(const uint8_t *digits, uint8_t *out);
// Appends the Code 128 check character: (105 + the sum of each
// character's symbol value times its position from 1) mod 103; false
// when text is full.
bool Code128AppendCheck(uint8_t *text);
