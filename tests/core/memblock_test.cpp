// Tests of movable memory blocks: sizes, zero fill, locks, stale handles.
#include <gtest/gtest.h>

#include <vector>

#include "core/memblock.h"
#include "core/message_sink.h"

TEST(MemBlock, AllocLockSizeAndFree) {
    uint32_t before = MemBlockCount();
    MemBlock empty = MemAlloc(0);
    ASSERT_NE(empty, 0u);
    EXPECT_EQ(MemSize(empty), 0u);

    MemBlock h = MemAlloc(100);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(MemSize(h), 100u);
    EXPECT_FALSE(MemIsLocked(h));
    uint8_t *p = MemLock(h);
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 100; i++) EXPECT_EQ(p[i], 0) << i;
    EXPECT_EQ(MemLock(h), p);  // locks nest
    MemUnlock(h);
    EXPECT_TRUE(MemIsLocked(h));
    MemUnlock2(h);
    EXPECT_FALSE(MemIsLocked(h));

    MemFree(&h);
    EXPECT_EQ(h, 0u);
    MemFree(&h);  // a 0 handle is ignored
    MemFree(&empty);
    EXPECT_EQ(MemBlockCount(), before);
    EXPECT_EQ(MemLock(0), nullptr);
    EXPECT_EQ(MemSize(0), 0u);
}

TEST(MemBlock, GrowingARowAtATimeKeepsEveryByte) {
    // Grown row by row, as document rows are appended: every row keeps
    // what was written and every new row starts zeroed, whatever the
    // block's spare capacity underneath.
    MemBlock h = MemAlloc(0);
    const uint32_t row = 200;
    for (uint32_t r = 0; r < 3000; r++) {
        ASSERT_TRUE(MemRealloc(&h, (r + 1) * row));
        uint8_t *p = MemLock(h);
        ASSERT_EQ(p[r * row], 0);
        ASSERT_EQ(p[r * row + row - 1], 0);
        p[r * row] = (uint8_t)r;
        MemUnlock(h);
    }
    MemLock(h);
    MemLock(h);
    ASSERT_TRUE(MemRealloc(&h, 3000 * row));
    EXPECT_FALSE(MemIsLocked(h)) << "resizing, even to the same size, unlocks the block completely";
    // Shrink, then grow over the old rows: the regrown bytes are zero, not
    // what the block held before it shrank.
    ASSERT_TRUE(MemRealloc(&h, 10 * row));
    ASSERT_TRUE(MemReallocByValue(h, 20 * row));
    EXPECT_EQ(MemSize(h), 20 * row);
    uint8_t *p = MemLock(h);
    for (uint32_t r = 0; r < 10; r++) EXPECT_EQ(p[r * row], (uint8_t)r);
    for (uint32_t r = 10; r < 20; r++) EXPECT_EQ(p[r * row], 0) << "row " << r;
    MemUnlock(h);
    MemFree(&h);
}

static int SinkCalls;
static void CountingSink(const char *) { SinkCalls++; }

TEST(MemBlock, StaleHandlesAreRefused) {
    MemBlock h = MemAlloc(8);
    MemBlock stale = h;
    MemFree(&h);
    MemBlock reused = MemAlloc(8);  // may take the same slot
    EXPECT_NE(reused, stale);
    EXPECT_FALSE(MemIsValid(stale));
    EXPECT_FALSE(MemIsLocked(stale));
    EXPECT_EQ(MemSize(stale), 0u);

    MessageSink old = MessageSinkSet(CountingSink);
    SinkCalls = 0;
    EXPECT_FALSE(MemRealloc(&stale, 16));
    EXPECT_EQ(SinkCalls, 1) << "a failed resize is reported";
    MessageSinkSet(old);
    MemFree(&reused);
}

TEST(MemBlock, ByteHelpersStopAtTheirLength) {
    uint8_t a[4] = {1, 2, 3, 4}, b[4] = {1, 2, 9, 4};
    EXPECT_TRUE(BytesEqual(a, b, 2) && BytesEqual(a, b, 0) && BytesEqual(a, b, -5));
    EXPECT_FALSE(BytesEqual(a, b, 3));
    FillBytes(a, 7, 3);
    FillBytes(a, 9, 0);
    ClearBytes(a, 2);
    EXPECT_EQ(std::vector<uint8_t>(a, a + 4), (std::vector<uint8_t>{0, 0, 7, 4}));
}
