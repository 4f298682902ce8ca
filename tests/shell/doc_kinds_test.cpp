// Tests of document kinds, the empty rows of documents, the list marks of
// productions and stock movements, the stand-alone run mode and the reset
// of a session's user entry.
#include <cstring>

#include "core/ui_text.h"
#include "shell/database_open.h"
#include "rules/documents.h"
#include "rules/entry_state.h"
#include "tests/rules/rules_fixture.h"

namespace {

class DocKindsTest : public RulesFixture {};

// Kinds outside the table, and those without a register or a name of
// their own, give register 0 and leave the caller's text as it was.
TEST_F(DocKindsTest, KindsOutsideTheTableGiveNothing) {
    for (int kind : {-1, 0, 23}) EXPECT_EQ(RegisterOfDocKind(kind), 0) << kind;
    uint8_t text[256];
    for (int kind : {-1, 0, 18, 20, 23}) {
        PStringFromC(text, "before");
        DocKindText(kind, text);
        EXPECT_TRUE(PStringEqualC(text, "before")) << kind;
    }
}

TEST_F(DocKindsTest, InitDocRowEmptiesOnlyWhatTheKindOwns) {
    // A sales-invoice text row (kind 3) keeps everything but kind and link.
    uint8_t row[IVVc::Rows::Size], before[IVVc::Rows::Size];
    std::memset(row, 0x41, sizeof row);
    std::memcpy(before, row, sizeof row);
    InitDocRow(row, IVVc::Number, 3);
    EXPECT_EQ(GetU16(row, IVVc::Rows::Kind), 3);
    EXPECT_EQ(GetU32(row, IVVc::Rows::Link), 0xFFFFFFFFu);
    for (uint32_t i = 0; i < sizeof row; i++) {
        bool owned = i < 2 || (i >= IVVc::Rows::Link && i < IVVc::Rows::Link + 4);
        if (!owned) {
            ASSERT_EQ(row[i], before[i]) << i;
        }
    }

    // Any other kind empties the item fields: texts empty, amounts blank.
    std::memset(row, 0x41, sizeof row);
    InitDocRow(row, IVVc::Number, 1);
    EXPECT_EQ(row[IVVc::Rows::ItemCode], 0);
    EXPECT_EQ(row[IVVc::Rows::Text], 0);
    EXPECT_EQ(row[IVVc::Rows::StructCode], 0);
    for (uint32_t at : {IVVc::Rows::Quantity, IVVc::Rows::Price, IVVc::Rows::Sum, IVVc::Rows::FifoCost,
                        IVVc::Rows::PriceUnit}) {
        PackedDecimal d = GetDec(row, at);
        EXPECT_TRUE(DecIsBlank(&d)) << at;
    }
    EXPECT_EQ(GetU32(row, IVVc::Rows::Link), 0xFFFFFFFFu);

    // Purchase-invoice rows: kind 1 is emptied, kind 2 only takes its kind.
    uint8_t prow[VIVc::Rows::Size];
    std::memset(prow, 0x41, sizeof prow);
    InitDocRow(prow, VIVc::Number, 2);
    EXPECT_EQ(GetU16(prow, VIVc::Rows::Kind), 2);
    EXPECT_EQ(prow[VIVc::Rows::Account], 0x41);
    InitDocRow(prow, VIVc::Number, 1);
    EXPECT_EQ(GetU16(prow, VIVc::Rows::Flag), 0);
    EXPECT_EQ(prow[VIVc::Rows::Account], 0);
    EXPECT_EQ(prow[VIVc::Rows::Project], 0);
    PackedDecimal amount = GetDec(prow, VIVc::Rows::Amount);
    EXPECT_TRUE(DecIsBlank(&amount));
    EXPECT_EQ(prow[VIVc::Rows::VatCode], 0x41);   // not the row's to empty

    // Purchase-order rows blank their price unit; other registers are left.
    uint8_t orow[PurchOrderVc::Rows::Size];
    std::memset(orow, 0x41, sizeof orow);
    InitDocRow(orow, PurchOrderVc::Number, 1);
    PackedDecimal unit = GetDec(orow, PurchOrderVc::Rows::PriceUnit);
    EXPECT_TRUE(DecIsBlank(&unit));
    EXPECT_EQ(orow[PurchOrderVc::Rows::ItemCode], 0x41);
    uint8_t other[64];
    std::memset(other, 0x41, sizeof other);
    InitDocRow(other, ORVc::Number, 1);
    for (uint8_t b : other) ASSERT_EQ(b, 0x41);
}

TEST_F(DocKindsTest, StatusMarksFollowTheDoneFlags) {
    struct Case { uint16_t flag, markBefore, markAfter; } cases[] = {{0, 18, 0}, {1, 0, 18}, {2, 7, 7}};
    for (const Case &c : cases) {
        uint8_t production[ProductionVc::Size] = {}, move[StockMoveVc::Size] = {};
        PutU16(production, ProductionVc::Finished, c.flag);
        PutU16(production, ProductionVc::Mark, c.markBefore);
        PutU16(move, StockMoveVc::Done, c.flag);
        PutU16(move, StockMoveVc::Mark, c.markBefore);
        StatusMarkProduction(production);
        StatusMarkStockMovement(move);
        EXPECT_EQ(GetU16(production, ProductionVc::Mark), c.markAfter) << c.flag;
        EXPECT_EQ(GetU16(move, StockMoveVc::Mark), c.markAfter) << c.flag;
    }
}

TEST_F(DocKindsTest, RunModeLocalAndSessionResetTouchOnlyTheirFields) {
    RunMode = RunModeClient;
    LockOwnerId = 77;
    SetRunModeLocal();
    EXPECT_EQ(RunMode, 1);
    EXPECT_EQ(LockOwnerId, 77u);   // the run state beside the mode keeps its value
    RunMode = 0;

    uint8_t *entry = SessionUserEntry(0);
    ASSERT_NE(entry, nullptr);
    std::memset(entry, 0x33, SessionUserEntrySize);
    PutPString(entry, SU::FullName, 20, (const uint8_t *)"\x03" "Ann");
    PutPString(entry, SU::UserCode, 5, (const uint8_t *)"\x02" "AN");
    ResetSessionUserInfo(0);
    for (uint32_t i = 0; i < 5; i++) EXPECT_EQ(GetU32(entry, SU::SeriesA + 4 * i), 0xFFFFFFFFu) << i;
    for (uint32_t i = 0; i < 3; i++) EXPECT_EQ(GetU32(entry, SU::SeriesB + 4 * i), 0xFFFFFFFFu) << i;
    EXPECT_EQ(entry[SU::FullName], 0);
    EXPECT_EQ(entry[SU::Code10], 0);
    uint8_t code[256];
    GetPString(entry, SU::UserCode, 5, code);
    EXPECT_TRUE(PStringEqualC(code, "AN"));   // the login keeps the user's code
    ResetSessionUserInfo(-1);                   // no such session: nothing to do
}

}  // namespace
