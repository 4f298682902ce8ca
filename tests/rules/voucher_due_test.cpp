// Whether a document's voucher is due: block 199's switch for the kind of
// document, and its start date holding back documents dated before it.
#include <vector>

#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class VoucherDueTest : public RulesFixture {
protected:
    // Block 199 with the receipts' switch and start date.
    void Posting(uint16_t on, DateRec start) {
        std::vector<uint8_t> block(PostingBlk::Size, 0);
        PutU16(block.data(), PostingBlk::PostReceipts, on);
        PutDate(block.data(), PostingBlk::ReceiptStart, start);
        StoreBlock(PostingBlk::Number, block.data(), (uint32_t)block.size());
    }
    static bool Due(DateRec date) { return VoucherDueOn(PostingBlk::PostReceipts, PostingBlk::ReceiptStart, date); }
};

TEST_F(VoucherDueTest, SwitchOffOrADateBeforeTheStartHoldsTheVoucherBack) {
    const DateRec start{1, 3, 2024}, dayBefore{29, 2, 2024};
    Posting(0, {});
    EXPECT_FALSE(Due(start));
    Posting(1, {});
    EXPECT_TRUE(Due(dayBefore));   // no start: every date
    Posting(1, start);
    EXPECT_FALSE(Due(dayBefore));
    EXPECT_TRUE(Due(start));
    EXPECT_TRUE(Due(DateRec{2, 3, 2024}));
    // Another kind's switch is its own.
    EXPECT_FALSE(VoucherDueOn(PostingBlk::PostInvoices, PostingBlk::InvoiceStart, start));
}

}  // namespace
