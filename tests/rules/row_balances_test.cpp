// Tests of the row totals and sums of ledger and payment records, and of
// the order row tests that refuse deleting orders.
#include "core/record_buffer.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class RowBalancesTest : public RulesFixture {
protected:
    static PackedDecimal Blank() {
        PackedDecimal d;
        DecSetBlank(&d);
        return d;
    }
    // Appends a row to record of reg with kind and sub-kind words (when
    // kinded) and amount at amountAt.
    static void AddRow(int reg, uint8_t *record, uint32_t amountAt, PackedDecimal amount, bool kinded = false,
                       uint16_t kind = 1, uint16_t sub = 0) {
        std::vector<uint8_t> row(RecRowSize(reg), 0);
        if (kinded) {
            PutU16(row.data(), 0, kind);
            PutU16(row.data(), 2, sub);
        }
        PutDec(row.data(), amountAt, amount);
        ASSERT_TRUE(MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row.data()));
    }
    static double Amount(const uint8_t *record, uint32_t at) {
        PackedDecimal d = GetDec(record, at);
        return DecIsBlank(&d) ? -999999 : DecToDouble(&d);
    }
};

// Positive (and zero) amounts go to the debit, negative to the credit,
// blank to neither; the same for the three ledger records.
TEST_F(RowBalancesTest, BalanceSplitsDebitAndCreditAndSkipsBlank) {
    struct Case { int reg; uint32_t amount, debit, credit, balance; };
    for (Case c : {Case{SMVc::Number, AccountRow::Amount, SMVc::Debit, SMVc::Credit, SMVc::Balance},
                   Case{PersEntryVc::Number, Sp1Row::Amount, PersEntryVc::DebitTotal, PersEntryVc::CreditTotal,
                        PersEntryVc::Balance},
                   Case{OpenBalVc::Number, Fb1Row::Amount, OpenBalVc::DebitTotal, OpenBalVc::CreditTotal,
                        OpenBalVc::Balance}}) {
        RuleRecord r(c.reg);
        AddRow(c.reg, r.record, c.amount, Dec(100));
        AddRow(c.reg, r.record, c.amount, Dec(-40));
        AddRow(c.reg, r.record, c.amount, Blank());
        if (c.reg == SMVc::Number) AccountRowsBalance(r.record);
        else if (c.reg == PersEntryVc::Number) AccountRows118Balance(r.record);
        else Fb1RowsBalance(r.record);
        EXPECT_EQ(Amount(r.record, c.debit), 100) << c.reg;
        EXPECT_EQ(Amount(r.record, c.credit), -40) << c.reg;
        EXPECT_EQ(Amount(r.record, c.balance), 60) << c.reg;
    }
}

// A rows slot that holds no live block reads as no rows: nothing is read
// through it, the sums are zero and the debit and credit stay blank.
TEST_F(RowBalancesTest, DeadRowsSlotReadsAsNoRows) {
    RuleRecord r(SMVc::Number);
    PutU32(r.record, SMVc::Matrix, 0x7FFF1234u);
    AccountRowsBalance(r.record);
    EXPECT_EQ(Amount(r.record, SMVc::Debit), -999999);
    EXPECT_EQ(Amount(r.record, SMVc::Balance), 0);
    PackedDecimal sum = Dec(5);
    AccountRowsSum(0x7FFF1234u, &sum);
    EXPECT_EQ(DecToDouble(&sum), 0);
    AccountRows118Sum(0, &sum);
    EXPECT_EQ(DecToDouble(&sum), 0);
    PutU32(r.record, SMVc::Matrix, 0);
}

// The purchase invoice's difference adds its VAT back, the computed VAT
// when none was entered, and leaves the VAT out under treatment 1.
TEST_F(RowBalancesTest, PurchaseInvoiceDifferenceAndItsVat) {
    RuleRecord r(VIVc::Number);
    AddRow(VIVc::Number, r.record, VIVc::Rows::Amount, Dec(80), true);
    AddRow(VIVc::Number, r.record, VIVc::Rows::Amount, Dec(500), true, 1, 1);
    PutDec(r.record, VIVc::InvAmount, Dec(100));
    PutDec(r.record, VIVc::VatEntered, Blank());
    PutDec(r.record, VIVc::VatComputed, Dec(20));
    PackedDecimal diff;
    PurchaseInvoiceRowsDifference(r.record, &diff);
    EXPECT_EQ(DecToDouble(&diff), 0);
    PutDec(r.record, VIVc::VatEntered, Dec(15));
    PurchaseInvoiceRowsDifference(r.record, &diff);
    EXPECT_EQ(DecToDouble(&diff), -5);
    PutU16(r.record, VIVc::VatTreatment, 1);
    PurchaseInvoiceRowsDifference(r.record, &diff);
    EXPECT_EQ(DecToDouble(&diff), -20);
}

// An order counts as delivered only for a positive delivered quantity;
// a purchase order as received only for a positive quantity on purchases.
TEST_F(RowBalancesTest, DeliveredAndReceivedRows) {
    RuleRecord order(ORVc::Number);
    EXPECT_FALSE(OrderHasDeliveredRows(order.record));
    AddRow(ORVc::Number, order.record, ORVc::Rows::QtyDelivered, Dec(-1));
    AddRow(ORVc::Number, order.record, ORVc::Rows::QtyDelivered, Blank());
    EXPECT_FALSE(OrderHasDeliveredRows(order.record));
    AddRow(ORVc::Number, order.record, ORVc::Rows::QtyDelivered, Dec(0.001));
    EXPECT_TRUE(OrderHasDeliveredRows(order.record));

    RuleRecord po(PurchOrderVc::Number);
    AddRow(PurchOrderVc::Number, po.record, PurchOrderVc::Rows::QtyReceived, Dec(3));
    EXPECT_FALSE(PurchaseOrderHasReceivedRows(po.record));
    AddRow(PurchOrderVc::Number, po.record, PurchOrderVc::Rows::QtyOnPurchases, Dec(2));
    EXPECT_TRUE(PurchaseOrderHasReceivedRows(po.record));
}

}  // namespace
