// pstring.cpp - the PString library: copy, append, compare, find, pad,
// split. Every operation keeps its result within 255 characters; edge
// behaviour (empty strings, lengths at the limit, argument order) is
// relied on throughout the system.
#include "core/pstring.h"

#include <algorithm>
#include <cstring>

const uint8_t *CollationTable = nullptr;

static int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

void PStringCopy(uint8_t *dst, const uint8_t *src) {
    if (dst != src) std::memmove(dst, src, (size_t)src[0] + 1);
}

void PStringFromC(uint8_t *dst, const char *src) {
    size_t n = strnlen(src, 254);
    std::memmove(dst + 1, src, n);
    dst[0] = (uint8_t)n;
}

void CStringToPString(const char *src, uint8_t *dst) { PStringFromC(dst, src); }

void PStringFromView(uint8_t *dst, std::string_view src) {
    size_t n = std::min<size_t>(src.size(), PStringMax);
    std::memmove(dst + 1, src.data(), n);
    dst[0] = (uint8_t)n;
}

void PStringToC(const uint8_t *src, char *dst) {
    int n = src[0];
    std::memmove(dst, src + 1, (size_t)n);
    dst[n] = 0;
}

std::string PStringToStd(const uint8_t *s) { return std::string(PStringView(s)); }

void PStringAppend(uint8_t *dst, const uint8_t *src) {
    int n = std::min<int>(src[0], PStringMax - dst[0]);
    std::memmove(dst + 1 + dst[0], src + 1, (size_t)n);
    dst[0] = (uint8_t)(dst[0] + n);
}

void PStringAppendC(uint8_t *dst, const char *src) {
    PString tmp;
    PStringFromC(tmp, src);
    PStringAppend(dst, tmp);
}

void PStringAppendChar(uint8_t *dst, uint8_t c) {
    if (dst[0] < PStringMax) dst[++dst[0]] = c;
}

void PStringAppendList(uint8_t *dst, const uint8_t *src, int limit) {
    if (src[0] == 0) return;
    int comma = dst[0] != 0 ? 1 : 0;
    if (dst[0] + src[0] + comma > limit) return;
    if (comma) PStringAppendChar(dst, ',');
    PStringAppend(dst, src);
}

bool PStringEqual(const uint8_t *a, const uint8_t *b) {
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

bool PStringEqualC(const uint8_t *a, const char *b) {
    PString tmp;
    PStringFromC(tmp, b);
    return PStringEqual(a, tmp);
}

bool CStringEqual(const char *a, const char *b) { return std::strcmp(a, b) == 0; }

int PStringCompare(const uint8_t *a, const uint8_t *b) {
    int n = std::min(a[0], b[0]);
    int c = std::memcmp(a + 1, b + 1, (size_t)n);
    if (c != 0) return Sign(c);
    return Sign((int)a[0] - (int)b[0]);
}

int CStringCompare(const char *a, const char *b) { return Sign(std::strcmp(a, b)); }

int PStringCompareCollate(const uint8_t *a, const uint8_t *b) {
    if (!CollationTable) return PStringCompare(a, b);
    int n = std::min(a[0], b[0]);
    for (int i = 1; i <= n; i++) {
        int wa = CollationTable[a[i]], wb = CollationTable[b[i]];
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    return Sign((int)a[0] - (int)b[0]);
}

int PStringCompareNoCase(const uint8_t *a, const uint8_t *b) {
    if (CollationTable) return PStringCompareCollate(a, b);
    PString ua, ub;
    PStringCopy(ua, a);
    PStringCopy(ub, b);
    UpperPString(ua);
    UpperPString(ub);
    return PStringCompare(ua, ub);
}

int PStringCompareN(int n, const uint8_t *a, const uint8_t *b) {
    PString ca, cb;
    PStringCopy(ca, a);
    PStringCopy(cb, b);
    int cut = std::max(n - 1, 0);
    if (ca[0] >= n) ca[0] = (uint8_t)cut;
    if (cb[0] >= n) cb[0] = (uint8_t)cut;
    return PStringCompareNoCase(ca, cb);
}

int PStringFind(const uint8_t *s, const uint8_t *pattern) {
    if (pattern[0] == 0) return 1;
    PString us, up;
    PStringCopy(us, s);
    PStringCopy(up, pattern);
    UpperPString(us);
    UpperPString(up);
    std::string_view hay = PStringView(us), needle = PStringView(up);
    size_t at = hay.find(needle);
    return at == std::string_view::npos ? 0 : (int)at + 1;
}

bool PStringPrefixEqual(const uint8_t *a, const uint8_t *b) {
    PString ua, ub;
    PStringCopy(ua, a);
    PStringCopy(ub, b);
    UpperPString(ua);
    UpperPString(ub);
    int n = std::min(ua[0], ub[0]);
    return std::memcmp(ua + 1, ub + 1, (size_t)n) == 0;
}

void PStringPadLeft(uint8_t *dst, const uint8_t *src, uint8_t fill, int width) {
    width = std::min(width, PStringMax);
    int len = src[0];
    if (width < len) {
        PStringCopy(dst, src);
        return;
    }
    int pad = width - len;
    std::memmove(dst + 1 + pad, src + 1, (size_t)len);
    std::memset(dst + 1, fill, (size_t)pad);
    dst[0] = (uint8_t)width;
}

void PStringPadRight(uint8_t *dst, const uint8_t *src, uint8_t fill, int width) {
    width = std::min(width, PStringMax);
    int len = src[0];
    PStringCopy(dst, src);
    if (width < len) return;
    std::memset(dst + 1 + len, fill, (size_t)(width - len));
    dst[0] = (uint8_t)width;
}

// Keeps the characters of src for which keep() holds; dst may be src.
template <typename Keep>
static void PStringFilter(uint8_t *dst, const uint8_t *src, Keep keep) {
    int len = src[0], out = 0;
    for (int i = 1; i <= len; i++)
        if (keep(src[i])) dst[++out] = src[i];
    dst[0] = (uint8_t)out;
}

void PStringDigits(uint8_t *dst, const uint8_t *src) {
    PStringFilter(dst, src, [](uint8_t c) { return c >= '0' && c <= '9'; });
}

void PStringNoBlanks(uint8_t *dst, const uint8_t *src) {
    PStringFilter(dst, src, [](uint8_t c) { return c != ' '; });
}

void PStringMap(uint8_t *dst, const uint8_t *src, const uint8_t *table) {
    int len = src[0];
    for (int i = 1; i <= len; i++) dst[i] = table[src[i]];
    dst[0] = (uint8_t)len;
}

int PStringEvenSize(const uint8_t *s) { return s[0] + (s[0] & 1); }

void PStringTrimRight(uint8_t *s) {
    while (s[0] > 0 && s[s[0]] == ' ') s[0]--;
}

void PStringUnderscoreToBlank(uint8_t *s) {
    for (int i = 1; i <= s[0]; i++)
        if (s[i] == '_') s[i] = ' ';
}

void UpperPString(uint8_t *s) {
    for (int i = 1; i <= s[0]; i++) s[i] = UpperChar(s[i]);
}

int CStringSize(const char *s) { return (int)std::strlen(s) + 1; }

int CStringCopy(char *dst, const char *src) {
    size_t n = std::strlen(src);
    std::memmove(dst, src, n + 1);
    return (int)n;
}

int LastBlankBefore(const uint8_t *s, int p) {
    if (p < 1) return -1;
    for (int i = std::min(p, (int)s[0]); i >= 1; i--)
        if (s[i] == ' ') return i;
    return -1;
}

void SplitAtWord(uint8_t *s, uint8_t *rest, int p) {
    if (p < 1) p = 1;
    int from = p;
    if (from <= s[0] && s[from] == ' ') from++;
    PString front;
    int tail = std::max(0, s[0] - from + 1);
    std::memcpy(front + 1, s + from, (size_t)tail);
    front[0] = (uint8_t)tail;
    if (rest[0] != 0) {
        PStringAppendChar(front, ' ');
        PStringAppend(front, rest);
    }
    PStringCopy(rest, front);
    if (p - 1 < s[0]) s[0] = (uint8_t)(p - 1);
}

void NoOp() {}
void NoOpRelease() {}
