// invoice_values_test.cpp - what a sales invoice's form prints: a fixture
// invoice with an item row (discounted), a service row at a second VAT
// code, a reference row, a kind-4 and a kind-5 row, in a currency, from
// an order with a delivery, loaded as its print loads it; its header,
// row and last-page codes, the VAT summary, the references with their
// check digits and the payment bar code, and the values that must print
// nothing (a total that does not fit the bar code, a reference that
// cannot be weighed, an order number that makes no nine digits), and rows
// with neither item nor amount (headings) that print their text alone
// and stay out of the VAT summary.
#include "tests/operations/invoice_fixture.h"

#include <iterator>
#include <string>
#include <vector>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/settings_blocks.h"
#include "operations/sales_invoice.h"
#include "output/forms/forms.h"
#include "rules/vat_currency.h"

namespace {

constexpr int16_t InvoiceDoc = -2;
constexpr int32_t OrderNr = 123456, DeliveryNr = 77;

std::string S(const uint8_t *p) { return PStringToStd(p); }

class InvoiceValues : public InvoiceCompanyFixture {
protected:
    std::vector<uint8_t> inv = std::vector<uint8_t>(IVVc::Size, 0);
    bool loaded = false;

    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        SettingsBlockLoad(CompanyBlk::Number);
        SettingsBlockLoad(VatCodeBlk::Number);
        ASSERT_NE(CompanyBlock, nullptr);
        PutText(CompanyBlock, CompanyBlk::BankAccount, 60, "123456-785");
        StoreRecord(ORVc::Number, [&](uint8_t *r) {
            PutText(r, ORVc::CustCode, 20, "C1");
            PutI32(r, ORVc::SerNr, OrderNr);
            PutDate(r, ORVc::OrdDate, DateRec{1, 6, 2024});
            PutText(r, ORVc::Reference, 60, "PO 42");
            PutText(r, ORVc::Addr0, 60, "Ordering Ltd");
        });
        StoreRecord(SHVc::Number, [&](uint8_t *r) {
            PutI32(r, SHVc::SerNr, DeliveryNr);
            PutI32(r, SHVc::OrderNr, OrderNr);
            PutDate(r, SHVc::ShipDate, DateRec{5, 6, 2024});
            PutText(r, SHVc::DelAddr0, 60, "Dock 4");
            PutText(r, SHVc::DelMode, 5, "POST");
        });
        FixtureInvoice f;
        f.currency = "EUR";
        f.rate = 1125;
        FillInvoice(inv.data(), f);
        PutDate(inv.data(), IVVc::PayDate, DateRec{10, 7, 2024});
        PutText(inv.data(), IVVc::RefStr, 30, "RF 123 456");
        PutI32(inv.data(), IVVc::OrderNr, OrderNr);
        PutDec(inv.data(), IVVc::Net, Dec(890));
        PutDec(inv.data(), IVVc::Vat, Dec(131.5));
        PutDec(inv.data(), IVVc::Total, Dec(1021.5));
        AddInvoiceRow(inv.data(), {"ITEM1", 2, 100, "1"});
        AddInvoiceRow(inv.data(), {"SERVICE", 1, 700, "2"});
        AddInvoiceRow(inv.data(), {.item = "", .vatCode = "", .kind = 3, .link = 555});
        AddInvoiceRow(inv.data(), {.item = "FEE", .qty = 1, .price = 10, .kind = 4, .link = 9});
        AddInvoiceRow(inv.data(), {.item = "Thanks", .kind = 5});
        // The item row: 10 % off, 180.00 instead of 200.00.
        uint8_t row[IVVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 0, row));
        PutDec(row, IVVc::Rows::Discount, Dec(10));
        PutDec(row, IVVc::Rows::Sum, Dec(180));
        ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, inv.data(), 0, row));
    }
    void TearDown() override {
        Unload();
        RecFreeMatrix(IVVc::Number, inv.data());
        FormDocRecord = nullptr;
        FormLastPage = false;
        InvoiceCompanyFixture::TearDown();
    }
    // Loads the invoice as its print does, its last page showing.
    void Load() {
        Unload();
        FormDocRecord = inv.data();
        uint8_t title[256];
        ASSERT_TRUE(DocLoad(InvoiceDoc, title));
        loaded = true;
        FormFirstRow = 0;
        FormPageNr = 1;
        FormLastPage = true;
    }
    void Unload() {
        if (loaded) DocUnload(InvoiceDoc);
        loaded = false;
    }
    std::string Value(int16_t code, int16_t row = 0, const char *text = " A own") {
        uint8_t field[256], out[256];
        PStringFromC(field, text);
        DocFieldValue(InvoiceDoc, field, code, row, out, FormDefBuffer);
        return S(out);
    }
    void SetTotal(double total) {
        Unload();
        PutDec(inv.data(), IVVc::Total, Dec(total));
        Load();
    }
};

TEST_F(InvoiceValues, HeaderAndRowCodesOfTheFixtureInvoice) {
    ASSERT_NO_FATAL_FAILURE(Load());
    EXPECT_EQ(FormRowCount, 5);
    EXPECT_TRUE(FormDeliveryFound);
    struct Case { int16_t code, row; const char *want; } cases[] = {
        {153, 0, "1001"}, {79, 0, "C1"}, {2, 1, "C1"}, {2, 5, ""},
        {3, 1, "Dock 4"},            // the delivery's address, found by the order
        {4, 1, ""}, {5, 1, "C1"},    // no delivery address of its own: its own address
        {85, 0, "POST"}, {180, 0, "77"}, {286, 0, "123456"}, {107, 0, "PO 42"},
        {110, 0, " 929 123 456 6"},  // Luhn of 929123456 is 6
        {298, 0, "10010015"},        // "1" of C1, 001001, modulus 10
        {299, 0, "10010012"},        // the same, modulus 11
        {300, 0, "C11001"},
        {88, 0, "EUR"}, {221, 0, "RF 123 456"},
        {999, 0, " A own"},          // a code no one serves keeps its text
        // Rows by kind: 0 item, 1 service (item), 2 reference, 3 kind 4, 4 kind 5.
        {1, 0, "1"}, {1, 4, "5"},
        {8, 0, "ITEM1"}, {8, 2, ""}, {8, 3, "FEE"}, {8, 4, ""},
        {14, 2, "Credit of invoice 555"}, {14, 4, "Thanks"}, {14, 3, "FEE"},
        {19, 1, "2"}, {19, 4, "1"},
        {26, 0, "G1"}, {26, 3, ""},
        {301, 3, "9"}, {301, 0, ""},
    };
    for (const Case &c : cases) EXPECT_EQ(Value(c.code, c.row), c.want) << "code " << c.code << " row " << c.row;
    // The amounts read the same as the row sum's own format.
    const std::string sum180 = Value(18, 0), vat45 = Value(23, 0);
    EXPECT_NE(sum180, "");
    EXPECT_EQ(Value(25, 0), sum180);                            // prices exclude VAT: the sum as it is
    EXPECT_NE(vat45, "");
    EXPECT_EQ(Value(23, 3), "");                                // kind 4 has no row VAT figure
    EXPECT_NE(Value(22, 3), "");                                // but its rate prints
    EXPECT_EQ(Value(22, 2), "");                                // a reference row has no rate
    EXPECT_EQ(Value(17, 0).back(), '%');
    EXPECT_EQ(Value(17, 0).front(), '-');
    EXPECT_EQ(Value(17, 3), "");
}

TEST_F(InvoiceValues, TotalsAndTheVatSummaryOnTheLastPageOnly) {
    ASSERT_NO_FATAL_FAILURE(Load());
    // Two VAT codes used: the summary's lines are its codes.
    int16_t first = 0, last = 0;
    DocFieldRowRange(InvoiceDoc, 33, &first, &last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(VatSumsUsedCount(InvoiceVatSums), 2);
    // Amounts are compared with the same amounts formatted by the field
    // type, so the test holds whatever the company's number format.
    auto amount = [](double x) {
        PackedDecimal d = Dec(x);
        uint8_t out[256];
        FieldToText((const uint8_t *)&d, FtAmount2, out);
        return S(out);
    };
    struct Case { int16_t code, row; double want; } cases[] = {
        {32, 1, 25}, {32, 2, 12},                          // rates of codes 1 and 2
        {34, 1, 47.5}, {34, 2, 84},                        // 25 % of 180 + 10 (+ 0), 12 % of 700
        {35, 1, 190}, {36, 1, 237.5}, {36, 2, 784},
        {73, 0, 890}, {74, 0, 131.5}, {77, 0, 1021.5},
        {316, 0, 131.5}, {317, 0, 890}, {318, 0, 1021.5},
        {174, 0, 10012.5}, {175, 0, 11491.88},             // x 11.25, rounded to cents
        {281, 0, 20},                                      // 2 x 100 less 180
        {204, 0, 3},                                       // quantities of the item rows
    };
    for (const Case &c : cases) EXPECT_EQ(Value(c.code, c.row), amount(c.want)) << "code " << c.code;
    EXPECT_EQ(Value(32, 3), "");
    EXPECT_EQ(Value(280, 0, " A  Discount given"), "Discount given");
    EXPECT_EQ(Value(315, 0), UiText(Texts::InvoiceToPay));
    EXPECT_NE(Value(78, 0), "");
    // Without a discount code 280 prints nothing, 281 neither.
    Unload();
    uint8_t row[IVVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 0, row));
    PutDec(row, IVVc::Rows::Sum, Dec(200));
    ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, inv.data(), 0, row));
    Load();
    EXPECT_EQ(Value(280, 0, " A  Discount given"), "");
    EXPECT_EQ(Value(281, 0), "");
    // Not the last page: the totals print nothing.
    FormLastPage = false;
    EXPECT_EQ(Value(77, 0), "");
    EXPECT_EQ(Value(282, 0), "");
    EXPECT_EQ(Value(32, 1), "");
}

// Headings between the item rows, as an invoice made from orders carries
// them: an item-kind row without item or amount (the older form) and a
// text row. Each prints its text and nothing else, and neither adds a
// line of nothing to the VAT summary.
TEST_F(InvoiceValues, RowsWithoutItemOrAmountPrintTheirTextOnly) {
    for (uint16_t kind : {1, 3}) {
        uint8_t row[IVVc::Rows::Size] = {};
        PutU16(row, IVVc::Rows::Kind, kind);
        PutText(row, IVVc::Rows::Text, 100, kind == 1 ? "Order 501" : "Order 502 / PO-77");
        PutI32(row, IVVc::Rows::Link, -1);
        ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, inv.data(), MatrixRowCount(IVVc::Number, 0, inv.data()), row));
    }
    ASSERT_NO_FATAL_FAILURE(Load());
    ASSERT_EQ(FormRowCount, 7);
    EXPECT_EQ(Value(14, 5), "Order 501");
    EXPECT_EQ(Value(14, 6), "Order 502 / PO-77");
    for (int16_t code : {8, 13, 15, 16, 17, 18, 19, 22, 23, 25}) {
        EXPECT_EQ(Value(code, 5), "") << "code " << code;
        // A text row leaves a field's own text as a reference row does.
        EXPECT_EQ(Value(code, 6, ""), "") << "code " << code;
    }
    EXPECT_EQ(VatSumsUsedCount(InvoiceVatSums), 2);            // still only codes 1 and 2
    int16_t first = 0, last = 0;
    DocFieldRowRange(InvoiceDoc, 33, &first, &last);
    EXPECT_EQ(last, 2);
    // An item row keeps its figures though its sum is zero.
    EXPECT_NE(Value(13, 0), "");
}

TEST_F(InvoiceValues, PaymentBarcodeAgainstAHandComputation) {
    ASSERT_NO_FATAL_FAILURE(Load());
    // "1", 12345600000785, 00102150, the reference's digits 123456 in 20,
    // 240710, 0000 and the 7-3-1 digit 8, packed in pairs; check value 95.
    const std::vector<uint8_t> want = {0x91, 0x2B, 0x37, 0x4D, 0x5C, 0x94, 0x94, 0x6E, 0x52, 0x21, 0x22,
                                       0x2F, 0x94, 0x94, 0x94, 0x94, 0x94, 0x94, 0x94, 0x21, 0x37, 0x4D,
                                       0x5E, 0x48, 0x67, 0x94, 0x94, 0x28, 0x95, 0x8F, 0x85};
    std::string code = Value(282, 0);
    EXPECT_EQ(std::vector<uint8_t>(code.begin(), code.end()), want);
    // The second account is empty: its 14 digits are zeros, a bar code all the same.
    EXPECT_EQ(Value(349, 0).size(), want.size());
    EXPECT_NE(Value(349, 0), code);

    // A total of a million or a credit note prints no bar code.
    SetTotal(1000000);
    EXPECT_EQ(Value(282, 0), "");
    SetTotal(999999.99);
    EXPECT_EQ(Value(282, 0).size(), want.size());
    SetTotal(-5);
    EXPECT_EQ(Value(282, 0), "");
    EXPECT_EQ(Value(315, 0), UiText(Texts::InvoiceToRefund));
    // A credit note is not paid by the customer: no slip.
    Unload();
    PutDec(inv.data(), IVVc::Total, Dec(100));
    PutU16(inv.data(), IVVc::InvType, 3);
    Load();
    EXPECT_EQ(Value(282, 0), "");
    // Its total, kept positive, is refunded; one below zero is to be paid.
    EXPECT_EQ(Value(315, 0), UiText(Texts::InvoiceToRefund));
    Unload();
    PutDec(inv.data(), IVVc::Total, Dec(-20));
    Load();
    EXPECT_EQ(Value(315, 0), UiText(Texts::InvoiceToPay));
    Unload();
    PutDec(inv.data(), IVVc::Total, Dec(100));
    PutU16(inv.data(), IVVc::InvType, 1);
    Load();
    EXPECT_EQ(Value(282, 0).size(), want.size());
    // A reference of more than 20 digits cannot be carried.
    Unload();
    PutDec(inv.data(), IVVc::Total, Dec(10));
    PutText(inv.data(), IVVc::RefStr, 30, "123456789012345678901");
    Load();
    EXPECT_EQ(Value(282, 0), "");
}

TEST_F(InvoiceValues, ReferencesThatCannotBeWeighedPrintNothing) {
    // Letters in the customer code are not weighed; the rest is.
    PutText(inv.data(), IVVc::CustCode, 20, "ABC");
    ASSERT_NO_FATAL_FAILURE(Load());
    EXPECT_EQ(Value(298, 0), "0010017");
    // More than 20 digits: nothing.
    Unload();
    PutText(inv.data(), IVVc::CustCode, 20, "123456789012345");
    Load();
    EXPECT_EQ(Value(298, 0), "");
    EXPECT_EQ(Value(299, 0), "");
    // An order number that makes no nine digits with 929 has no check digit.
    Unload();
    PutI32(inv.data(), IVVc::OrderNr, 1234567);
    Load();
    EXPECT_EQ(Value(110, 0), "");
    EXPECT_FALSE(FormDeliveryFound);
    EXPECT_EQ(Value(3, 1), "");      // no delivery: the invoice's own (empty) delivery address
    EXPECT_EQ(Value(180, 0), "");
    Unload();
    PutI32(inv.data(), IVVc::OrderNr, -1);
    Load();
    EXPECT_EQ(Value(110, 0), "");
}

// The amount x as the field type prints it.
std::string AmountText(double x) {
    PackedDecimal d;
    DecFromDouble(&d, x);
    uint8_t out[256];
    FieldToText((const uint8_t *)&d, FtAmount2, out);
    return S(out);
}

// The invoice's VAT is 131,50 (12 % of the service's 700,00 among it);
// code 2's rate then raised to 25 %, as a law may change it after the
// invoice was posted. Printed again, the invoice does not disagree with
// itself: the service's line and row read the 12 % and 84,00 it holds,
// its lines still add up to 131,50, and code 1's line, unchanged, reads
// today's table. The freight, counted in the invoice's VAT, is on its
// code's line.
TEST_F(InvoiceValues, AVatRateChangedAfterwardsPrintsAsTheInvoiceHoldsIt) {
    ASSERT_NO_FATAL_FAILURE(Load());
    const std::pair<int16_t, int16_t> service[] = {{32, 2}, {34, 2}, {36, 2}};   // the summary's line of code 2
    std::vector<std::string> before;
    for (auto [code, row] : service) before.push_back(Value(code, row));
    EXPECT_EQ(before[0], AmountText(12));
    Unload();
    std::vector<uint8_t> codes = tableRows[VatCodeBlk::Number];
    ASSERT_EQ(codes.size(), 3 * VatCodeRow::Size);
    PutDec(codes.data() + VatCodeRow::Size, VatCodeRow::Rate, Dec(25));
    ASSERT_EQ(SettingsBlockStore(VatCodeBlk::Number, codes.data(), (uint32_t)codes.size()), RecDone);
    Load();
    for (size_t i = 0; i < std::size(service); i++)
        EXPECT_EQ(Value(service[i].first, service[i].second), before[i]) << "code " << service[i].first;
    EXPECT_EQ(Value(22, 1), AmountText(12)) << "the service row's rate";
    EXPECT_EQ(Value(23, 1), AmountText(84)) << "the service row's VAT";
    EXPECT_EQ(Value(316, 0), AmountText(131.5)) << "the lines add up to the invoice's VAT";
    EXPECT_EQ(Value(32, 1), AmountText(25));
    EXPECT_EQ(Value(34, 1), AmountText(47.5));

    // Freight of 100,00 at code 1, the totals made as the window makes them.
    Unload();
    PutDec(inv.data(), IVVc::Freight, Dec(100));
    PutText(inv.data(), IVVc::FreightVat, 2, "1");
    DocTotalsRound(inv.data());
    PackedDecimal vat = GetDec(inv.data(), IVVc::Vat);
    Load();
    EXPECT_EQ(Value(35, 1), AmountText(290));
    EXPECT_EQ(Value(34, 1), AmountText(72.5));
    EXPECT_EQ(Value(316, 0), AmountText(DecToDouble(&vat)));
}

// The fields that say where and how to pay print for an invoice that asks
// for payment, and for nothing else (a cash invoice, a credit note, a
// total of zero), whatever text the form's field has.
TEST_F(InvoiceValues, OnlyAnInvoiceThatAsksPaymentSaysWhereToPay) {
    ASSERT_NO_FATAL_FAILURE(Load());
    EXPECT_EQ(Value(58, 0), "123456-785");
    EXPECT_NE(Value(282, 0), "");
    struct Case { uint16_t kind; double total; } none[] = {{2, 1021.5}, {3, 1021.5}, {1, 0}};
    for (const Case &c : none) {
        Unload();
        PutU16(inv.data(), IVVc::InvType, c.kind);
        PutDec(inv.data(), IVVc::Total, Dec(c.total));
        Load();
        for (int16_t code : {58, 59, 282, 349}) EXPECT_EQ(Value(code, 0), "") << "kind " << c.kind << " code " << code;
    }
}

TEST(CheckDigits, ModulusTenElevenAndTheLuhnDigit) {
    struct Case { const char *digits; bool mod10, ok; const char *with; } cases[] = {
        {"1234", true, true, "12344"},     // 4x2 + 3 + 2x2 + 1 = 16
        {"14", false, true, "140"},        // 4x2 + 1x3 = 11: remainder 0
        {"6", false, true, "6-"},          // 12: remainder 1
        {"", true, false, ""},
        {"12a", true, false, "12a"},
        {"123456789012345678901", true, false, "123456789012345678901"},
        {"12345678901234567890", true, true, "123456789012345678906"},
    };
    for (const Case &c : cases) {
        uint8_t t[256];
        PStringFromC(t, c.digits);
        EXPECT_EQ(AppendCheckDigit(t, c.mod10), c.ok) << c.digits;
        EXPECT_EQ(S(t), c.with) << c.digits;
    }
    uint8_t t[256];
    PStringFromC(t, "123-456-789");
    EXPECT_EQ(CheckDigitMod10(t), 7);
    PStringFromC(t, "1234");
    EXPECT_EQ(CheckDigitMod10(t), -1);
    PStringFromC(t, "1234567890");
    EXPECT_EQ(CheckDigitMod10(t), -1);
}

}  // namespace
