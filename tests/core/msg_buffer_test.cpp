// Tests of the message codec: the exact bytes of every item, round trips,
// gets that would pass the end of a message (short messages and lying
// length words), records with rows of odd sizes, growth and prepends
// without a reallocation per item, and the flushing of remote output.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/memblock.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "tests/core/defs_loader.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int DocReg = 5;       // record of 63 bytes, rows slot at 56, rows of 5 bytes
constexpr int PlainReg = 6;     // 10 bytes, no rows
constexpr uint32_t DocSize = 63;
constexpr uint32_t DocSlot = 56;
constexpr uint32_t RowSize = 5;

void LoadRegisters() {
    InterfaceDefs d;
    d.registers = {{.number = DocReg, .name = "DocVc", .recordSize = DocSize, .matrixOffset = DocSlot,
                    .fields = {{"Code", 0, 1, 10}, {"Rows", DocSlot, 24, 4}},
                    .rows = RowLayoutDef{RowSize, 1, {{"Mark", 1, 0, 13, 1}}}, .indexes = {}},
                   {.number = PlainReg, .name = "PlainVc", .recordSize = 10, .fields = {}, .rows = {},
                    .indexes = {}}};
    LoadDefs(d);
}

Bytes Contents(const MsgBuffer &m) {
    const uint8_t *p = MsgData(&m);
    return p ? Bytes(p, p + MsgLength(&m)) : Bytes{};
}

MsgBuffer FromBytes(const Bytes &b) {
    MsgBuffer m;
    MsgLoad(&m, b.data(), (uint32_t)b.size());
    return m;
}

PackedDecimal Dec(uint8_t fill) {
    PackedDecimal d;
    std::memset(d.b, fill, 12);
    return d;
}

// A record of DocReg whose bytes tell the record, with `rows` rows.
uint8_t *NewDoc(MemBlock *h, uint8_t fill, int rows) {
    uint8_t *r = RecBufferNew(DocReg, h);
    std::memset(r, fill, DocSize);
    std::memset(r + DocSlot, 0, 4);
    for (int i = 0; i < rows; i++) {
        uint8_t row[RowSize];
        std::memset(row, 0x40 + i, RowSize);
        MatrixRowPut(DocReg, 0, r, i, row);
    }
    return r;
}

class MsgBufferRecords : public ::testing::Test {
protected:
    void SetUp() override { LoadRegisters(); }
    void TearDown() override { InterfaceUnload(); }
};

}  // namespace

TEST(MsgBufferItems, EveryItemHasItsByteLayout) {
    MsgBuffer m;
    MsgPutWord(&m, 0x1234);
    MsgPutByte(&m, 7);
    MsgPutLong(&m, 0xA1B2C3D4);
    EXPECT_EQ(Contents(m), (Bytes{0x34, 0x12, 7, 0, 0xD4, 0xC3, 0xB2, 0xA1}));

    // Padded runs and strings: an empty PString takes 2 bytes, 2 and 3
    // characters take 4.
    MsgReset(&m);
    const uint8_t empty[1] = {0}, ab[3] = {2, 'a', 'b'}, abc[4] = {3, 'a', 'b', 'c'};
    MsgPutPString(&m, empty);
    EXPECT_EQ(MsgLength(&m), 2u);
    MsgPutPString(&m, ab);
    EXPECT_EQ(MsgLength(&m), 6u);
    MsgPutPString(&m, abc);
    EXPECT_EQ(Contents(m), (Bytes{0, 0, 2, 'a', 'b', 0, 3, 'a', 'b', 'c'}));
    MsgReset(&m);
    MsgPutBytes(&m, "xyz", 3);
    MsgPutBytesRaw(&m, "pq", 1);
    MsgPutCString(&m, "Hi");
    EXPECT_EQ(Contents(m), (Bytes{'x', 'y', 'z', 0, 'p', 2, 'H', 'i', 0}));

    // Sized runs: the length, the bytes padded; the lone -1 word.
    MsgReset(&m);
    MsgPutSized(&m, "abc", 3);
    MsgPutSized(&m, nullptr, MsgSizedNone);
    EXPECT_EQ(Contents(m), (Bytes{3, 0, 0, 0, 'a', 'b', 'c', 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    MsgReset(&m);
    MemBlock h = MemAlloc(1);
    MemLock(h)[0] = 9;
    MemUnlock(h);
    MsgPutHandle(&m, h);
    MsgPutHandle(&m, 0);
    EXPECT_EQ(Contents(m), (Bytes{1, 0, 0, 0, 9, 0, 0, 0, 0, 0}));
    MemFree(&h);

    // Dates as year, month, day; rectangles as second, first, fourth, third.
    MsgReset(&m);
    DateRec date{31, 12, 2024};
    MsgPutDate(&m, &date);
    EXPECT_EQ(Contents(m), (Bytes{0xE8, 0x07, 12, 0, 31, 0}));
    MsgReset(&m);
    PackedDecimal rect[4] = {Dec(1), Dec(2), Dec(3), Dec(4)};
    MsgPutDecRect(&m, rect);
    Bytes got = Contents(m);
    ASSERT_EQ(got.size(), 48u);
    EXPECT_EQ(got[0], 2);
    EXPECT_EQ(got[12], 1);
    EXPECT_EQ(got[24], 4);
    EXPECT_EQ(got[36], 3);
}

TEST(MsgBufferItems, GetsReadBackWhatPutsWrote) {
    MsgBuffer m;
    PString name;
    PStringFromC(name, "Orvel");
    DateRec date{5, 6, 1999};
    PackedDecimal rect[4] = {Dec(1), Dec(2), Dec(3), Dec(4)}, amount = Dec(0x55);
    MsgPutByte(&m, 7);
    MsgPutWord(&m, 7);
    MsgPutLong(&m, 123456789);
    MsgPutLong(&m, 42);
    MsgPutBytes(&m, "odd", 3);
    MsgPutPString(&m, name);
    MsgPutCString(&m, "index");
    MsgPutBlock12(&m, &amount);
    MsgPutDecRect(&m, rect);
    MsgPutDate(&m, &date);
    MsgPutSized(&m, "12345", 5);
    MsgPutBytesRaw(&m, "tail", 4);

    uint8_t b = 0;
    uint16_t w = 0;
    uint32_t l = 0, n = 0;
    char odd[3], c[256];
    PString back;
    PackedDecimal d, rectBack[4];
    DateRec dateBack{};
    bool ok = MsgGetByte(&m, &b) && MsgGetWord(&m, &w) && MsgGetLong(&m, &l);
    ok = ok && MsgGetLong(&m, nullptr);   // a null destination skips the value
    ok = ok && MsgGetBytes(&m, odd, 3) && MsgGetPString(&m, back) && MsgGetCString(&m, c);
    ok = ok && MsgGetBlock12(&m, &d) && MsgGetDecRect(&m, rectBack) && MsgGetDate(&m, &dateBack);
    MemBlock h = MsgGetHandle(&m, &n), rest = MsgGetRest(&m);
    EXPECT_TRUE(ok);
    EXPECT_EQ(b + w, 14);
    EXPECT_EQ(l, 123456789u);
    EXPECT_EQ(std::string(odd, 3), "odd");
    EXPECT_TRUE(PStringEqual(back, name));
    EXPECT_STREQ(c, "index");
    EXPECT_EQ(std::memcmp(d.b, amount.b, 12), 0);
    EXPECT_EQ(std::memcmp(rectBack, rect, sizeof rect), 0);
    EXPECT_EQ(dateBack.year * 10000 + dateBack.month * 100 + dateBack.day, 19990605);
    ASSERT_EQ(n, 5u);
    EXPECT_EQ(std::memcmp(MemLock(h), "12345", 5), 0);
    MemUnlock(h);
    EXPECT_EQ(MemSize(rest), 4u);
    MemFree(&h);
    MemFree(&rest);
    EXPECT_EQ(MsgRemaining(&m), 0u);
    EXPECT_FALSE(MsgFailed(&m));
}

TEST(MsgBufferBounds, GetsPastTheEndFailAndStayFailed) {
    // Each kind of get on a message one byte too short: refused, zeros
    // out, the flag set.
    MsgBuffer m = FromBytes({1});
    uint16_t w = 99;
    EXPECT_FALSE(MsgGetWord(&m, &w));
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(MsgFailed(&m));
    // Sticky: even an item that would fit is not read after a failure.
    uint8_t b = 99;
    EXPECT_FALSE(MsgGetByte(&m, &b));
    EXPECT_EQ(b, 0);

    m = FromBytes({1, 2, 3});
    uint32_t l = 99;
    EXPECT_FALSE(MsgGetLong(&m, &l));
    EXPECT_EQ(l, 0u);
    m = FromBytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    PackedDecimal d = Dec(9);
    EXPECT_FALSE(MsgGetBlock12(&m, &d));
    EXPECT_EQ(d.b[0], 0);
    m = FromBytes({0xE8, 0x07, 1, 0, 1});
    DateRec date{1, 1, 1};
    EXPECT_FALSE(MsgGetDate(&m, &date));
    EXPECT_EQ(date.year, 0);
    // A run of 3 needs its pad byte too.
    m = FromBytes({'a', 'b', 'c'});
    char run[3] = {'x', 'x', 'x'};
    EXPECT_FALSE(MsgGetBytes(&m, run, 3));
    EXPECT_EQ(run[0], 0);

    // A PString whose length byte lies: nothing copied, empty result.
    m = FromBytes({200, 'a', 'b', 'c'});
    PString s;
    s[0] = 5;
    EXPECT_FALSE(MsgGetPString(&m, s));
    EXPECT_EQ(s[0], 0);
    m = FromBytes({});
    char c[256] = "junk";
    EXPECT_FALSE(MsgGetCString(&m, c));
    EXPECT_STREQ(c, "");

    // Lying length words are refused before anything is allocated.
    uint32_t blocks = MemBlockCount();
    m = FromBytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    uint32_t n = 7;
    EXPECT_EQ(MsgGetHandle(&m, &n), 0u);
    EXPECT_EQ(n, 0u);
    m = FromBytes({0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(MsgGetHandle(&m, nullptr), 0u) << "the lone -1 is not a block";
    m = FromBytes({3, 0, 0, 0, 'a', 'b', 'c'});
    EXPECT_EQ(MsgGetHandle(&m, nullptr), 0u) << "the pad byte is missing";
    EXPECT_EQ(MemBlockCount(), blocks);
    m = FromBytes({9, 0, 0, 0, 'a', 'b'});
    uint8_t into[4] = {1, 1, 1, 1};
    EXPECT_FALSE(MsgGetSized(&m, into, 4, &n));
    EXPECT_EQ(into[0], 0);

    // A short sized item is read up to the caller's capacity, the rest zero.
    m = FromBytes({5, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 0});
    EXPECT_TRUE(MsgGetSized(&m, into, 4, &n));
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(std::string((char *)into, 4), "abcd");
    m = FromBytes({1, 0, 0, 0, 'z', 0});
    EXPECT_TRUE(MsgGetSized(&m, into, 4, &n));
    EXPECT_EQ(into[0], 'z');
    EXPECT_EQ(into[1], 0);

    // The end a frame sets bounds the reads, and cannot lie beyond the bytes.
    m = FromBytes({1, 0, 2, 0, 3, 0});
    EXPECT_FALSE(MsgSetEnd(&m, 7));
    EXPECT_TRUE(MsgFailed(&m));
    MsgRewind(&m);
    ASSERT_TRUE(MsgSetEnd(&m, 4));
    EXPECT_TRUE(MsgGetWord(&m, &w));
    EXPECT_TRUE(MsgGetWord(&m, &w));
    EXPECT_FALSE(MsgGetWord(&m, &w));
    MsgRewind(&m);
    MsgSetEnd(&m, 2);
    EXPECT_TRUE(MsgGetWord(&m, &w));
    MemBlock rest = MsgGetRest(&m);
    EXPECT_EQ(MemSize(rest), 0u) << "the rest stops at the frame's end";
    MemFree(&rest);

    // Loading a message from its own bytes (dropping a frame already
    // taken off its front) copies them before the old store goes.
    m = FromBytes({1, 0, 2, 0, 3, 0});
    ASSERT_TRUE(MsgLoad(&m, MsgData(&m) + 2, 4));
    EXPECT_TRUE(MsgGetWord(&m, &w));
    EXPECT_EQ(w, 2);
    EXPECT_TRUE(MsgGetWord(&m, &w));
    EXPECT_EQ(w, 3);
}

TEST_F(MsgBufferRecords, RecordsTravelWithTheirRowsAndPads) {
    uint32_t blocks = MemBlockCount();
    MemBlock sent = 0, got = 0;
    uint8_t *doc = NewDoc(&sent, 0x11, 3);
    MsgBuffer m;
    ASSERT_TRUE(MsgPutRecord(&m, DocReg, doc));
    // 63 bytes and a pad, the rows as a sized run of 15 bytes and a pad.
    Bytes wire = Contents(m);
    ASSERT_EQ(wire.size(), 64u + 4u + 16u);
    EXPECT_EQ(wire[62], 0x11);
    EXPECT_EQ(wire[63], 0) << "pad";
    EXPECT_EQ(Bytes(wire.begin() + DocSlot, wire.begin() + DocSlot + 4), Bytes(4, 0)) << "no handle on the wire";
    EXPECT_EQ(Bytes(wire.begin() + 64, wire.begin() + 68), (Bytes{15, 0, 0, 0}));
    EXPECT_EQ(wire[68], 0x40);
    EXPECT_EQ(wire[83], 0) << "rows pad";
    EXPECT_NE(RecMatrixHandle(DocReg, doc), 0u) << "the sender keeps its rows";

    // Two records back to back read in step: the pad bytes are skipped.
    MsgPutRecord(&m, DocReg, doc);
    uint8_t *back = NewDoc(&got, 0x77, 2);   // rows that the read must free
    ASSERT_TRUE(MsgGetRecord(&m, DocReg, back));
    EXPECT_EQ(back[0], 0x11);
    EXPECT_EQ(MatrixRowCount(DocReg, 0, back), 3);
    uint8_t row[RowSize];
    ASSERT_TRUE(MatrixRowGet(DocReg, 0, back, 2, row));
    EXPECT_EQ(row[4], 0x42);
    ASSERT_TRUE(MsgGetRecord(&m, DocReg, back));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, back), 3);
    EXPECT_EQ(MsgRemaining(&m), 0u);

    // No rows: the fixed part and -1; read back as rows slot 0.
    RecFreeMatrix(DocReg, doc);
    MsgReset(&m);
    MsgPutRecord(&m, DocReg, doc);
    wire = Contents(m);
    EXPECT_EQ(Bytes(wire.begin() + 64, wire.end()), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(MsgGetRecord(&m, DocReg, back));
    EXPECT_EQ(RecMatrixHandle(DocReg, back), 0u);
    uint32_t slot;
    std::memcpy(&slot, back + DocSlot, 4);
    EXPECT_EQ(slot, 0u);

    // A register without rows: just the padded fixed part.
    MsgReset(&m);
    uint8_t plain[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    MsgPutRecord(&m, PlainReg, plain);
    EXPECT_EQ(MsgLength(&m), 10u);
    EXPECT_FALSE(MsgPutRecord(&m, 99, plain)) << "no such register";
    EXPECT_TRUE(MsgFailed(&m));

    RecBufferFree(DocReg, &sent);
    RecBufferFree(DocReg, &got);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(MsgBufferRecords, HostileRecordsAreRefusedWithoutLeaks) {
    uint32_t blocks = MemBlockCount();
    MemBlock h = 0;
    uint8_t *rec = NewDoc(&h, 0x33, 1);
    uint8_t fixed[64] = {};
    std::memset(fixed, 0xAB, 63);
    auto tryRead = [&](const Bytes &tail) {
        Bytes b(fixed, fixed + 64);
        b.insert(b.end(), tail.begin(), tail.end());
        MsgBuffer m = FromBytes(b);
        bool ok = MsgGetRecord(&m, DocReg, rec);
        EXPECT_EQ(ok, !MsgFailed(&m));
        return ok;
    };
    // Rows longer than the message, rows not of whole rows, a cut-off
    // length word, a missing rows item: refused, the record zeroed with
    // no rows, and every block given back.
    EXPECT_FALSE(tryRead({0x00, 0x10, 0, 0, 1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(RecMatrixHandle(DocReg, rec), 0u);
    EXPECT_FALSE(tryRead({4, 0, 0, 0, 1, 2, 3, 4}));
    EXPECT_FALSE(tryRead({5, 0}));
    EXPECT_FALSE(tryRead({}));
    EXPECT_TRUE(tryRead({10, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, rec), 2);
    EXPECT_EQ(rec[0], 0xAB);
    // A slot value in the message is never taken for a handle.
    std::memset(fixed + DocSlot, 0x01, 4);
    EXPECT_TRUE(tryRead({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(RecMatrixHandle(DocReg, rec), 0u);
    // A fixed part cut short.
    MsgBuffer m = FromBytes(Bytes(fixed, fixed + 40));
    EXPECT_FALSE(MsgGetRecord(&m, DocReg, rec));
    RecBufferFree(DocReg, &h);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST(MsgBufferGrowth, PutsAndPrependsDoNotReallocateEachTime) {
    // 100000 puts: the store moves only when its capacity doubles.
    MsgBuffer m;
    std::set<const uint8_t *> stores;
    for (uint32_t i = 0; i < 100000; i++) {
        MsgPutLong(&m, i);
        stores.insert(m.store);
    }
    EXPECT_LT(stores.size(), 30u);
    EXPECT_GE(m.capacity, MsgLength(&m));
    uint32_t v = 0;
    MsgRewind(&m);
    for (uint32_t i = 0; i < 100000; i += 9999) {
        m.readPos = i * 4;
        MsgGetLong(&m, &v);
        EXPECT_EQ(v, i);
    }

    // A long run of prepends keeps the order and moves the contents a
    // logarithmic number of times.
    MsgBuffer p;
    stores.clear();
    for (uint16_t i = 0; i < 20000; i++) {
        MsgPrependWord(&p, i);
        stores.insert(p.store);
    }
    EXPECT_LT(stores.size(), 30u);
    Bytes got = Contents(p);
    EXPECT_EQ(got[0] | got[1] << 8, 19999);
    EXPECT_EQ(got[got.size() - 2], 0);
    MsgPrependBytes(&p, "abc", 3);
    EXPECT_EQ(MsgLength(&p), 40004u);
    EXPECT_EQ(MsgData(&p)[3], 0) << "a prepended odd run is padded too";

    // A message cannot grow beyond the limit: the put fails and says so.
    MsgBuffer big;
    EXPECT_FALSE(MsgPutBytes(&big, nullptr, MsgMaxLength + 1));
    EXPECT_TRUE(MsgFailed(&big));
    EXPECT_EQ(MsgLength(&big), 0u);
}

namespace {
int Pushes = 0;
uint32_t PushedBytes = 0;
void CountPush(MsgBuffer *m) {
    Pushes++;
    PushedBytes = MsgLength(m);
}
}  // namespace

TEST(MsgBufferOutput, FlushesOnlyAboveTheLimit) {
    MsgPushFn before = MsgSetPush(CountPush);
    Pushes = 0;
    MsgReset(&OutputMessage);
    MsgPutBytesRaw(&OutputMessage, nullptr, MsgFlushLimit);
    MsgFlushIfFull();
    EXPECT_EQ(Pushes, 0) << "exactly 10000 bytes wait";
    MsgPutBytesRaw(&OutputMessage, nullptr, 1);
    MsgFlushIfFull();
    EXPECT_EQ(Pushes, 1);
    EXPECT_EQ(PushedBytes, MsgFlushLimit + 1);
    EXPECT_EQ(MsgLength(&OutputMessage), 0u);
    // Without a push the output is dropped and the caller told.
    MsgSetPush(nullptr);
    MsgPutWord(&OutputMessage, 1);
    EXPECT_FALSE(MsgSend());
    EXPECT_EQ(MsgLength(&OutputMessage), 0u);
    MsgSetPush(before);
    MsgClear(&OutputMessage);
}
