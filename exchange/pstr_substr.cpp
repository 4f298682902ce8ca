// pstr_substr.cpp - a part of a PString.
#include <cassert>

#include "exchange/text_exchange.h"

// Copies at most count characters of src, from the 1-based position
// start, into dst; fewer when src ends first, none for a start past its
// end or a count below 1. dst may be src.
void PStrSubstr(const uint8_t *src, uint8_t *dst, int start, int count)
{
    assert(src && dst);
    if (start < 1) start = 1;
    int n = count < 0 ? 0 : count;
    if (start > src[0]) n = 0;
    else if (n > src[0] - start + 1) n = src[0] - start + 1;
    for (int i = 0; i < n; i++) dst[1 + i] = src[start + i];
    dst[0] = uint8_t(n);
}
