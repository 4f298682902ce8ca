// Tests of the small text and row-array services.
#include <gtest/gtest.h>

#include <cstring>

#include "core/memblock.h"
#include "core/pstring.h"
#include "operations/operations.h"

namespace {

std::string Stripped(const char *in) {
    uint8_t text[256], out[256];
    PStringFromC(text, in);
    std::memset(out, 0x55, sizeof out);
    StripLeadingZeros(text, out);
    return PStringToStd(out);
}

TEST(SmallServicesTest, StripCharAndLeadingZeros) {
    struct Case { const char *in; char c; const char *out; } strips[] = {
        {"1 234 567", ' ', "1234567"}, {"---", '-', ""}, {"aXa", 'a', "X"},
    };
    for (const Case &c : strips) {
        uint8_t text[256];
        PStringFromC(text, c.in);
        StripChar(text, (uint8_t)c.c);
        EXPECT_EQ(PStringToStd(text), c.out) << c.in;
    }
    EXPECT_EQ(Stripped("000"), "");
    EXPECT_EQ(Stripped("00120"), "120");
    EXPECT_EQ(Stripped(""), "");
    uint8_t same[256];
    PStringFromC(same, "0042");
    StripLeadingZeros(same, same);   // in place
    EXPECT_EQ(PStringToStd(same), "42");
}

TEST(SmallServicesTest, InsertRowMovesTheTailAndRefusesOutsideIndexes) {
    constexpr uint32_t rowSize = 3;
    MemBlock h = MemAlloc(3 * rowSize);
    ASSERT_NE(h, 0u);
    uint8_t *d = MemLock(h);
    std::memcpy(d, "AAABBBCCC", 9);
    MemUnlock(h);

    ASSERT_TRUE(MemArrayInsertRow(h, rowSize, 1));
    ASSERT_EQ(MemSize(h), 4 * rowSize);
    d = MemLock(h);
    EXPECT_EQ(std::string((const char *)d, 12), "AAABBBBBBCCC");   // the row at 1 keeps its old bytes
    MemUnlock(h);

    ASSERT_TRUE(MemArrayInsertRow(h, rowSize, 4));   // at the end: a zero row
    d = MemLock(h);
    EXPECT_EQ(std::string((const char *)d + 12, 3), std::string(3, '\0'));
    MemUnlock(h);

    for (int32_t bad : {-1, 6, 1000}) EXPECT_FALSE(MemArrayInsertRow(h, rowSize, bad)) << bad;
    EXPECT_FALSE(MemArrayInsertRow(h, 0, 0));
    EXPECT_FALSE(MemArrayInsertRow(0, rowSize, 0));
    EXPECT_EQ(MemSize(h), 5 * rowSize);   // refusals changed nothing
    MemBlock stale = h;
    MemFree(&h);
    EXPECT_FALSE(MemArrayInsertRow(stale, rowSize, 0));   // a freed handle
}

}  // namespace
