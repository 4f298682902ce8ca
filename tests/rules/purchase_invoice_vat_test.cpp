// purchase_invoice_vat_test.cpp - a purchase invoice's VAT from its rows,
// as both the window and the fill from a purchase order compute it: only
// account rows with a code count, each code's VAT is rounded on its sum,
// and an invoice without VAT keeps the VAT it has.
#include "rules/vat_currency.h"
#include "tests/operations/purchase_fixture.h"
#include "tests/rules/amount_text.h"

namespace {

using PurchaseInvoiceVat = PurchaseFixture;

// Code 1 (25 %) sums 100.04 over three rows, 25.01 rounded once (rounding
// each row would give 25.00 + 0.01 + 0.01); code 2 (12 %) adds 1.20.
// A row without a code and a credited row (kind 3) add nothing.
TEST_F(PurchaseInvoiceVat, AccountRowsSummedPerCodeAndRoundedOnce) {
    RuleRecord invoice(VIVc::Number);
    ASSERT_NE(invoice.record, nullptr);
    FixturePurchase head;
    head.vatComputed = 99;
    FillPurchase(invoice.record, head,
                 {{100}, {0.02}, {0.02}, {10, PurchaseCo::Costs, "2"}, {50, PurchaseCo::Costs, ""},
                  {1000, PurchaseCo::Costs, "1", 3}});
    bool written = false;
    ASSERT_TRUE(PurchaseInvoiceRowsVat(invoice.record, &written));
    EXPECT_TRUE(written);
    EXPECT_EQ(AmountText(GetDec(invoice.record, VIVc::VatComputed)), "26.21");
    EXPECT_TRUE(PurchaseInvoiceRowsVat(invoice.record, nullptr));   // no flag asked for
}

// VAT treatment 2 (no VAT) keeps the typed VAT; an invoice without rows
// has a VAT of zero.
TEST_F(PurchaseInvoiceVat, WithoutVatTheComputedVatStays) {
    RuleRecord invoice(VIVc::Number);
    ASSERT_NE(invoice.record, nullptr);
    FixturePurchase head;
    head.vatComputed = 7;
    head.vatTreatment = 2;
    FillPurchase(invoice.record, head, {{100}});
    bool written = true;
    ASSERT_TRUE(PurchaseInvoiceRowsVat(invoice.record, &written));
    EXPECT_FALSE(written);
    EXPECT_EQ(AmountText(GetDec(invoice.record, VIVc::VatComputed)), "7");

    RuleRecord empty(VIVc::Number);
    head.vatTreatment = 0;
    FillPurchase(empty.record, head, {});
    ASSERT_TRUE(PurchaseInvoiceRowsVat(empty.record, &written));
    EXPECT_EQ(AmountText(GetDec(empty.record, VIVc::VatComputed)), "0");
}

}  // namespace
