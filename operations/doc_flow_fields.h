// doc_flow_fields.h - the small field moves the fillers of the document
// flow share (and the invoice fills and the records an import makes):
// texts copied field to field, address lines, and quantities taken with
// blanks as zero.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"

// Copies the text field from in src to the text field to in dst, cut to
// what to holds.
template <int N, int M>
inline void DocFlowCopyText(uint8_t *dst, TextField<N> to, const uint8_t *src, TextField<M> from) {
    uint8_t text[256];
    GetText(src, from, text);
    PutText(dst, to, text);
}

// The same through plain offsets, for tables of fields of several lengths:
// the text field of at most max characters at from in src to to in dst.
inline void DocFlowCopyText(uint8_t *dst, uint32_t to, const uint8_t *src, uint32_t from, int max) {
    uint8_t text[256];
    GetPString(src, from, max, text);
    PutPString(dst, to, max, text);
}

// Copies count text lines of 60 characters, 62 bytes apart.
inline void DocFlowCopyLines(uint8_t *dst, uint32_t to, const uint8_t *src, uint32_t from, int count) {
    for (int i = 0; i < count; i++) DocFlowCopyText(dst, to + 62u * i, src, from + 62u * i, 60);
}

inline PackedDecimal DocFlowDec(double x) {
    PackedDecimal d;
    DecFromDouble(&d, x);
    return d;
}

// a - b, blanks counting as zero.
inline PackedDecimal DocFlowLess(PackedDecimal a, PackedDecimal b) {
    if (DecIsBlank(&a)) DecSetZero(&a);
    if (DecIsBlank(&b)) DecSetZero(&b);
    PackedDecimal r;
    DecSub(&a, &b, &r);
    return r;
}

// True for an amount that is not blank and above zero.
inline bool DocFlowAboveZero(const PackedDecimal &d) { return !DecIsBlank(&d) && DecSign(&d) > 0; }
