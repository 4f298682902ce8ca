// text_template.h - text templates: printed texts, job titles and server
// messages that mix fixed characters with interface texts, field values
// and amounts in words.
//
// A template is a PString whose characters are copied as they stand,
// except three item marks, each followed by its operands:
//
//   4  u16 text number          the interface text of that number
//   5  u16 field type, value    the value's text by its type (FieldToText)
//   6  12-byte PackedDecimal    the amount in words (AmountToWords, kind 2)
//
// Every u16 operand is stored low byte first, whatever the machine or
// the database; FieldToCell (core/field_types.h) makes the character-5
// items in the same order. A value is FieldSize bytes of its type, or for
// a text type a PString (length byte and characters). Value bytes are
// in memory form, as FieldToCell copies them.
#pragma once

#include <cstdint>

// Expands tmpl into out (a 256-byte PString buffer; it may be tmpl) and
// returns the length of the result, which is cut at 255 characters. An
// item whose operands run past the end of the template ends the
// expansion. When valuesInFileForm is set the values of character-5
// items are in the open database's file form (the template was read
// from the database as stored) and are converted to memory form before
// they are shown; by default they are shown as they stand.
int ExpandTextTemplate(const uint8_t *tmpl, uint8_t *out, bool valuesInFileForm = false);
