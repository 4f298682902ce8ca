// Tests of percentage rows: the sum over the other item rows of the
// documents that have them, prices that include VAT, the contract's own
// row layout, a row of an item without table, and what is refused.
#include "core/record_buffer.h"
#include "rules/prices.h"
#include "tests/rules/rules_fixture.h"

namespace {

class PercentageRowsTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        AddVatCode("1", 25, -1, "", "");
        StoreItem("FEE", {.pctTable = "T1"});
        StoreItem("PLAIN");
        StoreRecord(PctTableVc::Number, [](uint8_t *r) {
            PutText(r, PctTableVc::Code, 5, "T1");
            struct { const char *range; double pct; } rows[] = {{"A:M", 10}, {"N", 50}, {"X:Z", 1}};
            for (int i = 0; i < 3; i++) {
                uint8_t row[PctTableVc::Rows::Size] = {};
                PutText(row, PctTableVc::Rows::ItemRange, 20, rows[i].range);
                PutDec(row, PctTableVc::Rows::Percentage, Dec(rows[i].pct));
                ASSERT_TRUE(MatrixRowPut(PctTableVc::Number, 0, r, i, row));
            }
        });
    }
    struct Row {
        uint16_t kind;
        const char *item;
        double amount;
    };
    // Appends rows to a record of reg, whose rows put item, amount and VAT
    // code "1" at the offsets given.
    static void AddRows(int reg, uint8_t *r, uint32_t itemAt, uint32_t amountAt, uint32_t vatAt,
                        std::initializer_list<Row> rows) {
        std::vector<uint8_t> row(RecRowSize(reg));
        for (const Row &x : rows) {
            std::fill(row.begin(), row.end(), 0);
            PutU16(row.data(), 0, x.kind);
            PutText(row.data(), itemAt, 20, x.item);
            PutDec(row.data(), amountAt, Dec(x.amount));
            PutText(row.data(), vatAt, 2, "1");
            ASSERT_TRUE(MatrixRowPut(reg, 0, r, MatrixRowCount(reg, 0, r), row.data()));
        }
    }
    static PackedDecimal Cell(int reg, const uint8_t *r, int row, uint32_t offset) {
        std::vector<uint8_t> bytes(RecRowSize(reg));
        MatrixRowGet(reg, 0, r, row, bytes.data());
        return GetDec(bytes.data(), offset);
    }
};

TEST_F(PercentageRowsTest, TheTableSharesOfTheOtherItemRows) {
    RuleRecord order(ORVc::Number);
    // 10 % of APPLE and BOLT, 50 % of N, nothing of PLAIN (outside every
    // range); a text row (kind 2) does not count.
    AddRows(ORVc::Number, order.record, ORVc::Rows::ItemCode, ORVc::Rows::Sum, ORVc::Rows::VatCode,
            {{1, "APPLE", 100}, {1, "BOLT", 50}, {1, "FEE", 999}, {2, "BOLT", 1000}, {1, "N", 0.25}, {1, "PLAIN", 80}});
    PackedDecimal total;
    ASSERT_TRUE(DocRowSum(ORVc::Number, order.record, 2, &total));
    EXPECT_EQ(DecCompareDouble(&total, 15.13), 0);   // 15 + 0.125, rounded to 2 decimals
    PackedDecimal price = Cell(ORVc::Number, order.record, 2, ORVc::Rows::Price);
    PackedDecimal amount = Cell(ORVc::Number, order.record, 2, ORVc::Rows::Sum);
    EXPECT_TRUE(DecEqual(&price, &total));
    EXPECT_TRUE(DecIsBlank(&amount));   // left for the row sums
    amount = Cell(ORVc::Number, order.record, 0, ORVc::Rows::Sum);
    EXPECT_EQ(DecCompareDouble(&amount, 100), 0);   // other rows untouched

    // An invoice whose prices include 25 % VAT: 10 % of 125 net of VAT.
    RuleRecord invoice(IVVc::Number);
    PutU16(invoice.record, IVVc::InclVat, 1);
    AddRows(IVVc::Number, invoice.record, IVVc::Rows::ItemCode, IVVc::Rows::Sum, IVVc::Rows::VatCode,
            {{1, "FEE", 0}, {1, "APPLE", 125}});
    ASSERT_TRUE(DocRowSum(IVVc::Number, invoice.record, 0, &total));
    EXPECT_EQ(DecCompareDouble(&total, 10), 0);
    // A contract: its rows have the item at 4 and the amount at 152.
    RuleRecord contract(ContractVc::Number);
    AddRows(ContractVc::Number, contract.record, ContractVc::Rows::ItemCode, ContractVc::Rows::Sum,
            ContractVc::Rows::VatCode, {{1, "BOLT", 30}, {1, "FEE", 0}});
    ASSERT_TRUE(DocRowSum(ContractVc::Number, contract.record, 1, nullptr));
    price = Cell(ContractVc::Number, contract.record, 1, ContractVc::Rows::Price);
    EXPECT_EQ(DecCompareDouble(&price, 3), 0);
}

TEST_F(PercentageRowsTest, ARowWithoutTableAndWhatIsRefused) {
    RuleRecord quotation(QuotationVc::Number), invoice(IVVc::Number);
    AddRows(QuotationVc::Number, quotation.record, QuotationVc::Rows::ItemCode, QuotationVc::Rows::Sum,
            QuotationVc::Rows::VatCode, {{1, "APPLE", 100}, {1, "PLAIN", 40}});
    AddRows(IVVc::Number, invoice.record, IVVc::Rows::ItemCode, IVVc::Rows::Sum, IVVc::Rows::VatCode,
            {{1, "PLAIN", 40}});
    PackedDecimal total = Dec(9);
    EXPECT_TRUE(DocRowSum(QuotationVc::Number, quotation.record, 1, &total));
    PackedDecimal amount = Cell(QuotationVc::Number, quotation.record, 1, QuotationVc::Rows::Sum);
    EXPECT_TRUE(DecIsBlank(&amount));                  // a quotation's row is blanked
    EXPECT_EQ(DecCompareDouble(&total, 9), 0);         // and no total given
    EXPECT_TRUE(DocRowSum(IVVc::Number, invoice.record, 0, &total));
    amount = Cell(IVVc::Number, invoice.record, 0, IVVc::Rows::Sum);
    EXPECT_EQ(DecCompareDouble(&amount, 40), 0);       // an invoice's is not

    RuleRecord voucher(TRVc::Number);
    EXPECT_FALSE(DocRowSum(TRVc::Number, voucher.record, 0, &total));
    for (int row : {-1, 2, 1000}) EXPECT_FALSE(DocRowSum(QuotationVc::Number, quotation.record, row, &total)) << row;
    EXPECT_FALSE(RowSumCall(QuotationVc::Number, quotation.record, 2, &total));
}

}  // namespace
