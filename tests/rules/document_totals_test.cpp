// document_totals_test.cpp - totals of documents built in memory: rounding
// to a currency without decimals, prices including VAT in a zone that
// charges none, per-code against per-row VAT rounding, charged amounts
// and rows that do not count.
#include "core/record_buffer.h"
#include "rules/vat_currency.h"
#include "tests/rules/amount_text.h"
#include "tests/rules/rules_fixture.h"

namespace {

class DocumentTotals : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        uint8_t block[RoundOffBlk::Size] = {};
        PutU16(block, RoundOffBlock::TotalDecimals, 2);
        PutU16(block, RoundOffBlock::VatDecimals, 2);
        StoreBlock(RoundOffBlk::Number, block, sizeof block);
        AddVatCode("0", 0, -1, "", "");
        AddVatCode("1", 25, -1, "", "");
        AddVatCode("2", 12, -1, "", "");
        AddRow(CurrencyBlk::Number, CurrencyRow::Size, [&](uint8_t *r) {
            PutText(r, CurrencyRow::Code, 5, "JPY");
            PutU16(r, CurrencyRow::Decimals, 0);
        });
    }
    // Appends a row with kind, amount and VAT code at the given offsets.
    static void Row(int reg, uint8_t *doc, uint32_t kindAt, uint16_t kind, uint32_t amountAt, double amount,
                    uint32_t vatAt, const char *vat) {
        std::vector<uint8_t> row(RecRowSize(reg), 0);
        PutU16(row.data(), kindAt, kind);
        PutDec(row.data(), amountAt, Dec(amount));
        PutText(row.data(), vatAt, 2, vat);
        ASSERT_TRUE(MatrixRowPut(reg, 0, doc, MatrixRowCount(reg, 0, doc), row.data()));
    }
    static void InvoiceRow(uint8_t *inv, uint16_t kind, double amount, const char *vat) {
        Row(IVVc::Number, inv, IVVc::Rows::Kind, kind, IVVc::Rows::Sum, amount, IVVc::Rows::VatCode, vat);
    }
    // The named amount fields of a record as "a b c".
    static std::string Fields(const uint8_t *doc, std::initializer_list<uint32_t> offsets) {
        std::string s;
        for (uint32_t o : offsets) s += (s.empty() ? "" : " ") + AmountText(GetDec(doc, o));
        return s;
    }
};

// Net 80.32 + freight 8.00 at 25 % makes 110.40: in a currency without
// decimals 110 with -0.40 rounding, and a text row's amount does not count;
// in a currency no row has the cents stay (round-off word 0), not 0
// decimals. A rows block holding a row and a half is read by whole rows.
TEST_F(DocumentTotals, InvoiceRoundsToTheCurrencyAndKeepsTheDifference) {
    RuleRecord inv(IVVc::Number);
    InvoiceRow(inv.record, 1, 80.32, "1");
    InvoiceRow(inv.record, 3, 999, "1");
    PutDec(inv.record, IVVc::Freight, Dec(8));
    PutText(inv.record, IVVc::FreightVat, 2, "1");
    PutText(inv.record, IVVc::CurncyCode, 5, "JPY");
    const std::initializer_list<uint32_t> fields = {IVVc::Net, IVVc::Vat, IVVc::Total, IVVc::RoundOff, IVVc::VatFreeNet};
    DocTotalsRound(inv.record);
    EXPECT_EQ(Fields(inv.record, fields), "88.32 22.08 110 -0.4 blank");
    PutText(inv.record, IVVc::CurncyCode, 5, "XYZ");
    DocTotalsRound(inv.record);
    EXPECT_EQ(Fields(inv.record, fields), "88.32 22.08 110.4 0 blank");

    MemBlock rows = RecMatrixHandle(IVVc::Number, inv.record);
    ASSERT_TRUE(MemRealloc(&rows, IVVc::Rows::Size + IVVc::Rows::Size / 2));
    PutU32(inv.record, IVVc::Matrix, rows);
    PutDec(inv.record, IVVc::Freight, Dec(0));
    DocTotalsRound(inv.record);
    EXPECT_EQ(Fields(inv.record, {IVVc::Total}), "100.4");
}

// Prices including VAT in a zone that charges none: an invoice's gross is
// the rows' sum less their VAT share (a 0 % row is the VAT-free part); an
// order totals net - VAT and leaves VAT blank, and with VAT charged and
// prices without VAT net + VAT, rounded to its currency.
TEST_F(DocumentTotals, InclusivePricesInANoVatZone) {
    RuleRecord inv(IVVc::Number);
    InvoiceRow(inv.record, 1, 125, "1");
    InvoiceRow(inv.record, 5, 50, "0");
    PutU16(inv.record, IVVc::InclVat, 1);
    PutU16(inv.record, IVVc::VatZone, 1);
    DocTotalsRound(inv.record);
    EXPECT_EQ(Fields(inv.record, {IVVc::Total, IVVc::TotalBeforeRound, IVVc::Net, IVVc::VatFreeNet, IVVc::Vat}),
              "150 150 125 50 25");

    RuleRecord order(ORVc::Number);
    for (auto [kind, amount, vat] : {std::tuple{1, 125.0, "1"}, {4, 112.0, "2"}, {2, 1000.0, "1"}})
        Row(ORVc::Number, order.record, ORVc::Rows::Kind, (uint16_t)kind, ORVc::Rows::Sum, amount,
            ORVc::Rows::VatCode, vat);
    PutU16(order.record, ORVc::InclVat, 1);
    PutU16(order.record, ORVc::VatZone, 2);
    OrderTotals(order.record);
    EXPECT_EQ(Fields(order.record, {ORVc::Net, ORVc::Vat, ORVc::Total}), "237 blank 200");
    PutU16(order.record, ORVc::InclVat, 0);
    PutU16(order.record, ORVc::VatZone, 0);
    PutText(order.record, ORVc::CurncyCode, 5, "JPY");
    OrderTotals(order.record);
    EXPECT_EQ(Fields(order.record, {ORVc::Net, ORVc::Vat, ORVc::Total}), "237 44.69 282");
}

// VAT of two half cents: an invoice rounds per code (0.02, plus the
// additional 50 % of code 2 as extra), a contract rounds the rows' VAT
// once (0.01), a purchase order each row's decimal VAT, blank in a no-VAT
// zone.
TEST_F(DocumentTotals, VatRoundsPerCodePerDocumentOrPerRow) {
    std::vector<uint8_t> &codes = tableRows[VatCodeBlk::Number];
    PutDec(codes.data() + 2 * VatCodeRow::Size, VatCodeRow::AddPct, Dec(50));
    StoreBlock(VatCodeBlk::Number, codes.data(), (uint32_t)codes.size());
    RuleRecord inv(IVVc::Number), contract(ContractVc::Number), po(PurchOrderVc::Number);
    for (auto [amount, vat] : {std::pair{0.02, "1"}, {0.042, "2"}}) {
        InvoiceRow(inv.record, 1, amount, vat);
        Row(ContractVc::Number, contract.record, ContractVc::Rows::Kind, 1, ContractVc::Rows::Sum, amount,
            ContractVc::Rows::VatCode, vat);
        Row(PurchOrderVc::Number, po.record, PurchOrderVc::Rows::Kind, 1, PurchOrderVc::Rows::Sum, amount,
            PurchOrderVc::Rows::VatCode, vat);
    }
    DocTotalsRound(inv.record);
    EXPECT_EQ(Fields(inv.record, {IVVc::Vat, IVVc::Total}), "0.02 0.1");   // 0.062 + 0.02 + 0.021
    ContractTotals(contract.record);
    EXPECT_EQ(Fields(contract.record, {ContractVc::VatTotal, ContractVc::Total}), "0.01 0.07");
    PurchaseOrderTotals(po.record);
    EXPECT_EQ(Fields(po.record, {PurchOrderVc::VatTotal, PurchOrderVc::Total}), "0.02 0.08");
    PutU16(po.record, PurchOrderVc::VatZone, 1);
    PurchaseOrderTotals(po.record);
    EXPECT_EQ(Fields(po.record, {PurchOrderVc::VatTotal, PurchOrderVc::Total}), "blank 0.06");
}

// A converted amount loses the item's VAT share for kind 1 and gains the
// typed charge; a charge on no amount is the charge alone.
TEST_F(DocumentTotals, ChargedAmounts) {
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "BOX");
        PutText(r, INVc::VatCode, 2, "1");
    });
    PackedDecimal amount = Dec(12.5), rate = Dec(1000), blank, out;
    DecSetBlank(&blank);
    std::string got;
    for (auto [a, kind, charge] : {std::tuple{amount, 1, "10%"}, {amount, 2, "10%"}, {blank, 1, ""}, {blank, 2, "5"}}) {
        NetAmountPlusCharge(P("BOX"), &a, kind, P(charge), &rate, &out);
        got += AmountText(out) + " ";
    }
    EXPECT_EQ(got, "110 137.5 blank 5 ");
}

// A structure's totals: cost x quantity summed over the components, an
// empty factor adding nothing; a product or sum that leaves the decimal
// range makes its total blank for good instead of dropping the component.
TEST_F(DocumentTotals, StructureTotalsBlankWhenAComponentLeavesTheRange) {
    struct Component {
        double cost, cost2, qty, qtyIn;
    };
    auto totals = [&](std::initializer_list<Component> parts) {
        RuleRecord s(StructureVc::Number);
        for (const Component &c : parts) {
            std::vector<uint8_t> row(StructureVc::Rows::Size, 0);
            PutDec(row.data(), StructureVc::Rows::Cost, Dec(c.cost));
            PutDec(row.data(), StructureVc::Rows::Cost2, Dec(c.cost2));
            PutDec(row.data(), StructureVc::Rows::Quantity, Dec(c.qty));
            PutDec(row.data(), StructureVc::Rows::QuantityIn, Dec(c.qtyIn));
            EXPECT_TRUE(MatrixRowPut(StructureVc::Number, 0, s.record, MatrixRowCount(StructureVc::Number, 0, s.record), row.data()));
        }
        ItemStructureTotals(s.record);
        return Fields(s.record, {StructureVc::Total94, StructureVc::Total106});
    };
    EXPECT_EQ(totals({{2, 0.5, 4, 1}, {10, 0, 3, 0}}), "40 2.5");
    // 5e11 x 5e11 leaves the range: the first total is blank, the second
    // (quantity 1) is not; a later component does not bring it back.
    EXPECT_EQ(totals({{1, 0, 2, 1}, {5e11, 0, 5e11, 1}, {1, 0, 1, 1}}), "blank 500000000002");
}

}  // namespace
