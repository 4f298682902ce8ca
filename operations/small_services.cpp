// small_services.cpp - small text and array services.
#include <cassert>
#include <cstring>

#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/operations.h"

// Removes every c from text (a PString), in place.
void StripChar(uint8_t *text, uint8_t c) {
    assert(text);
    int kept = 0;
    for (int i = 1; i <= text[0]; i++)
        if (text[i] != c) text[++kept] = text[i];
    text[0] = (uint8_t)kept;
}

// text (a PString) without its leading "0" characters into out; "000"
// gives the empty text. out may be text.
void StripLeadingZeros(const uint8_t *text, uint8_t *out) {
    assert(text && out);
    int n = text[0], from = 1;
    while (from <= n && text[from] == '0') from++;
    int length = n - from + 1;
    std::memmove(out + 1, text + from, (size_t)length);
    out[0] = (uint8_t)length;
}

// Grows the row array in h (whole rows of rowSize bytes) by one row and
// moves the rows from index on up by one; the row at index keeps its old
// bytes (zeros when it is the new last row). false, h unchanged, for an
// index outside 0..count, a null handle or a row size of 0, or when
// memory cannot be had.
bool MemArrayInsertRow(MemBlock h, uint32_t rowSize, int32_t index) {
    if (!h || rowSize == 0 || !MemIsValid(h)) return false;
    uint32_t size = MemSize(h);
    int32_t count = (int32_t)(size / rowSize);
    if (index < 0 || index > count) return false;
    uint64_t grown = (uint64_t)(count + 1) * rowSize;
    if (grown > UINT32_MAX) return false;
    if (!MemReallocByValue(h, (uint32_t)grown)) return false;
    uint8_t *data = MemLock(h);
    if (!data) return false;
    size_t at = (size_t)index * rowSize;
    std::memmove(data + at + rowSize, data + at, (size_t)(count - index) * rowSize);
    MemUnlock(h);
    return true;
}
