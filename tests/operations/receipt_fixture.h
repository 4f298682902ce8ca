// receipt_fixture.h - a company that receives money, for the tests of the
// customer receipt's road (checks, voucher, open items, ledger, window).
//
// On top of the invoice company of invoice_fixture.h: the receipt
// accounts of block 133 (discounts, fees, VAT correction, exchange gains
// and losses, balancing, payments on account, further amounts), posting
// of receipts from 1.1.2024, the receipt series 1..99999 and a customer
// C4 who takes no payments on account. Invoices to pay are stored posted
// through the installed rules (their open items made as an import makes
// them, by the import's store), with their total, VAT and receivable
// account set.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "core/record_buffer.h"
#include "operations/customer_receipt.h"
#include "rules/hooks.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"
#include "tests/operations/invoice_fixture.h"

namespace ReceiptCo {
constexpr const char *Discounts = "3730", *Fees = "6570", *DiscountVat = "2611", *Gains = "3960", *Losses = "7960",
                     *Balancing = "3741", *OnAccount = "2420", *Further = "6571";
}  // namespace ReceiptCo

// One row of a receipt.
struct FixtureReceiptRow {
    int32_t invoice = -1;          // -1: a payment on account
    const char *customer = "C1";
    double amount = 0;
    uint16_t kind = 1;
    uint16_t flag = 0;
    DateRec paid{20, 6, 2024};
};

// The head of a receipt.
struct FixtureReceipt {
    int32_t serial = -1;           // -1: numbered when stored
    DateRec date{20, 6, 2024};
    const char *payMode = "K";
    const char *currency = "";
    double rate = 0;               // 0 leaves it blank
    uint16_t posted = 1;
    double further = 0;
    const char *text = "Bank";
};

class ReceiptFixture : public InvoiceFixture {
protected:
    void SetUp() override {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        StoreReceiptSettings();
        RulesInstall();
        shown.clear();
    }

    void StoreReceiptSettings() {
        ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size, [](uint8_t *a) {
            PutText(a, SalesAccountsBlk::DiscAcc, 10, ReceiptCo::Discounts);
            PutText(a, SalesAccountsBlk::FeeAcc, 10, ReceiptCo::Fees);
            PutText(a, SalesAccountsBlk::DiscVatAcc, 10, ReceiptCo::DiscountVat);
            PutText(a, SalesAccountsBlk::ExchGainAcc, 10, ReceiptCo::Gains);
            PutText(a, SalesAccountsBlk::ExchLossAcc, 10, ReceiptCo::Losses);
            PutText(a, SalesAccountsBlk::RcptBalanceAcc, 10, ReceiptCo::Balancing);
            PutText(a, SalesAccountsBlk::OnAccountAcc, 10, ReceiptCo::OnAccount);
            PutText(a, SalesAccountsBlk::FurtherAcc, 10, ReceiptCo::Further);
        });
        ChangeBlock(PostingBlk::Number, PostingBlk::Size, [](uint8_t *p) {
            PutU16(p, PostingBlk::PostReceipts, 1);
            PutDate(p, PostingBlk::ReceiptStart, InvoiceCo::YearStart);
        });
        AddSeriesRow(ReceiptSeriesBlk::Number, 1, 99999);
        for (const char *code : {ReceiptCo::Discounts, ReceiptCo::Fees, ReceiptCo::DiscountVat, ReceiptCo::Gains,
                                 ReceiptCo::Losses, ReceiptCo::Balancing, ReceiptCo::OnAccount, ReceiptCo::Further})
            StoreAccount(code, code, 3);
        uint32_t id = StoreInvoiceCustomer("C4", "Cash Only Customer");
        RuleRecord c(CUVc::Number);
        ASSERT_TRUE(RecReadById(CUVc::Number, id, c.record));
        PutU16(c.record, CUVc::OnAccount, 0);
        ASSERT_TRUE(RecStore(CUVc::Number, c.record, 1, &id));
    }

    // A posted invoice of one service row worth total (VAT 20 % of it) in
    // currency at rate; its open item holds total.
    void StorePostedInvoice(int32_t serial, const char *customer, double total, const char *currency = "",
                            double rate = 0) {
        RuleRecord r(IVVc::Number);
        ASSERT_NE(r.record, nullptr);
        FillInvoice(r.record, {.serial = serial, .customer = customer, .currency = currency, .rate = rate,
                               .posted = 1, .updStock = 0});
        AddInvoiceRow(r.record, {.item = "SERVICE", .qty = 1, .price = total * 0.8, .vatCode = "1"});
        PutDec(r.record, IVVc::Total, Dec(total));
        PutDec(r.record, IVVc::Vat, Dec(total * 0.2));
        PutText(r.record, IVVc::ARAcc, 10, InvoiceCo::Receivables);
        ASSERT_TRUE(RecImportStore(IVVc::Number, r.record, 0, 0));
        ASSERT_NEAR(Open(serial), total, 0.005);
    }

    // Fills a receipt record with head and rows.
    static void FillReceipt(uint8_t *r, const FixtureReceipt &f, std::initializer_list<FixtureReceiptRow> rows) {
        PutI32(r, IPVc::SerNr, f.serial);
        PutDate(r, IPVc::TransDate, f.date);
        PutText(r, IPVc::PayMode, 2, f.payMode);
        PutText(r, IPVc::Text, 60, f.text);
        PutText(r, IPVc::CurncyCode, 5, f.currency);
        PackedDecimal rate = Dec(f.rate);
        if (f.rate == 0) DecSetBlank(&rate);
        PutDec(r, IPVc::Rate, rate);
        PutDec(r, IPVc::FurtherAmount, Dec(f.further));
        PutU16(r, IPVc::Posted, f.posted);
        for (const FixtureReceiptRow &x : rows) {
            uint8_t row[IPVc::Rows::Size] = {};
            PutU16(row, IPVc::Rows::Kind, x.kind);
            PutU16(row, IPVc::Rows::Flag, x.flag);
            PutI32(row, IPVc::Rows::InvoiceNr, x.invoice);
            PutText(row, IPVc::Rows::CustCode, 20, x.customer);
            PutDate(row, IPVc::Rows::PayDate, x.paid);
            PutDec(row, IPVc::Rows::Amount, Dec(x.amount));
            PutI32(row, IPVc::Rows::Link, -1);
            ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, r, MatrixRowCount(IPVc::Number, 0, r), row));
        }
        DocRowsTotal(r);
    }

    // Inserts a receipt through the checks and hooks as a window's OK
    // does; the layer's result, the record id into *recid.
    int InsertReceipt(const FixtureReceipt &f, std::initializer_list<FixtureReceiptRow> rows,
                      uint32_t *recid = nullptr, uint32_t *serial = nullptr) {
        RuleRecord r(IPVc::Number);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return RecStoreFailed;
        FillReceipt(r.record, f, rows);
        uint32_t id = 0;
        int result = RecStoreFailed;
        RecInsertChecked(IPVc::Number, r.record, &id, &result);
        if (recid) *recid = id;
        if (serial) *serial = GetU32(r.record, IPVc::SerNr);
        return result;
    }

    // The open amount of invoice serial; NAN when it has no open item.
    static double Open(uint32_t serial) {
        RuleRecord r(ARVc::Number);
        uint32_t recid = 0;
        if (!ReceiptOpenItemRead(serial, r, &recid)) return NAN;
        PackedDecimal open = GetDec(r.record, ARVc::OpenAmount);
        return DecToDouble(&open);
    }
    // The stored voucher of receipt serial (series 202) into v; false when
    // there is none.
    static bool ReceiptVoucher(uint32_t serial, RuleRecord &v) { return StoredVoucher(202, serial, v); }
    // The customer's "paid" statistics of June 2024.
    static double PaidInJune(const char *customer) {
        RuleRecord s(CSVc::Number);
        PutText(s.record, CSVc::CustCode, 20, customer);
        uint32_t recid = 0, position = 0;
        if (!RecFind(CSVc::Number, s.record, 1, 1, &recid, &position)) return 0;
        DateRec june{1, 6, 2024}, may{31, 5, 2024};
        PackedDecimal after, before;
        PeriodBalanceAt(GetU32(s.record, CSVc::Amounts), 5, 2, MonthIndex(&june), &after);
        PeriodBalanceAt(GetU32(s.record, CSVc::Amounts), 5, 2, MonthIndex(&may), &before);
        return Num(after.b, 0) - Num(before.b, 0);
    }
};
