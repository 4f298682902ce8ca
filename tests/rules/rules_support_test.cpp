// rules_support_test.cpp - the rules' scope helpers over a real database:
// settings rows stored and read back by whole rows, and the session
// user's fields apart from each other.
#include <cstring>

#include "tests/rules/rules_fixture.h"

namespace {

using RulesSupport = RulesFixture;

// VAT rows stored through the settings layer come back through the bound
// handle, row by row; a handle that holds a partial row (or none at all)
// is read by whole rows only, and a stale handle reads as no rows.
TEST_F(RulesSupport, SettingsRowsReadWholeRowsOnly) {
    {
        SettingsRows none(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        EXPECT_EQ(none.count, 0);
        EXPECT_EQ(none.data, nullptr);
    }
    AddVatCode("1", 25, -1, "2610", "2640");
    AddVatCode("2", 12, 10.71, "2620", "2641");
    uint32_t blocks = MemBlockCount();
    {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        ASSERT_EQ(rows.count, 2);
        ASSERT_NE(rows.data, nullptr);
        EXPECT_TRUE(MemIsLocked(rows.handle));
        const uint8_t *second = rows.data + VatCodeRow::Size;
        EXPECT_EQ(Text(rows.data, VatCodeRow::Code), "1");
        EXPECT_EQ(Text(second, VatCodeRow::Code), "2");
        EXPECT_EQ(Text(second, VatCodeRow::Account2), "2641");
        PackedDecimal rate = GetDec(second, VatCodeRow::Rate2), want = Dec(10.71);
        EXPECT_TRUE(DecEqual(&rate, &want));
        rate = GetDec(rows.data, VatCodeRow::Rate2);
        EXPECT_TRUE(DecIsBlank(&rate));
    }
    EXPECT_FALSE(MemIsLocked(VatCodeRows));   // the scope unlocked what it locked
    EXPECT_EQ(MemBlockCount(), blocks);

    // A block that grew by half a row (as a damaged stored block might
    // arrive): the partial row is not offered.
    ASSERT_TRUE(MemRealloc(&VatCodeRows, VatCodeRow::Size * 2 + VatCodeRow::Size / 2));
    {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        EXPECT_EQ(rows.count, 2);
    }
    ASSERT_TRUE(MemRealloc(&VatCodeRows, VatCodeRow::Size - 1));
    {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        EXPECT_EQ(rows.count, 0);
    }
    MemBlock stale = VatCodeRows;
    MemFree(&VatCodeRows);
    VatCodeRows = stale;
    {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        EXPECT_EQ(rows.count, 0);
        EXPECT_EQ(rows.data, nullptr);
        EXPECT_EQ(rows.handle, 0u);
    }
    VatCodeRows = 0;
}

// The session user's entry: the voucher series start, the user code and
// the 10-character code lie apart, so writing one leaves the others.
TEST_F(RulesSupport, SessionUserFieldsDoNotOverlap) {
    uint8_t *entry = SessionUserEntry(0);
    ASSERT_NE(entry, nullptr);
    std::memset(entry, 0, SessionUserEntrySize);
    PutText(entry, SU::UserCode, 5, "ABCDE");
    PutText(entry, SU::Code10, 10, "0123456789");
    for (int i = 0; i < 3; i++) PutU32(entry, SU::SeriesB + 4 * i, 0xFFFFFFFFu);
    PutText(entry, SU::FullName, 20, "Twenty characters ok");
    PutU32(entry, SuPurchaseHint, 500);
    const int16_t session = CurrentSessionIndex;
    CurrentSessionIndex = 0;
    uint8_t code[6];
    CurrentUserCode(code);
    EXPECT_EQ(std::string((const char *)code + 1, code[0]), "ABCDE");
    EXPECT_EQ(Text(entry, SU::Code10), "0123456789");
    EXPECT_EQ(GetU32(entry, SuVoucherHint), 0xFFFFFFFFu);
    EXPECT_EQ(GetU32(entry, SU::SeriesA + 12), 500u);
    std::memset(entry, 0, SessionUserEntrySize);
    CurrentSessionIndex = session;
}

}  // namespace
