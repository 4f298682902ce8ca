// purchase_fixture.h - a company that buys, for the tests of the purchase
// ledger (purchase invoices, outgoing payments, expenses, person payments
// and the payment suggestion).
//
// On top of the company blocks and ledger accounts of invoice_fixture.h:
// block 155's vendor accounts, posting of purchase invoices and payments
// from 1.1.2024, the purchase-invoice series 1..99999, a cost account,
// vendors V1 (home currency, takes payments on account), V2 (EUR) and V3
// (no payments on account) and a person P1 with an account. The rules'
// entries are installed.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "core/record_buffer.h"
#include "operations/purchase_ledger.h"
#include "rules/checks.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "tests/operations/invoice_fixture.h"

namespace PurchaseCo {
constexpr const char *Creditors = "2440", *Preliminary = "2449", *VatOffset = "2650", *Costs = "5010",
                     *Prepaid = "1680", *DiscountRec = "3731", *BankCharges = "6570", *Gains = "3960",
                     *Losses = "7960", *PayDiff = "3741", *CashInv = "1911", *PersonAcc = "2890";
}  // namespace PurchaseCo

// One row of a purchase invoice.
struct FixturePurchaseRow {
    double amount = 0;
    const char *account = PurchaseCo::Costs;
    const char *vatCode = "1";
    uint16_t kind = 1;
    uint16_t flag = 0;
    int32_t credited = -1;
    const char *project = "";
};

// One row of an outgoing payment.
struct FixturePaymentRow {
    int32_t invoice = -1;   // -1: on account
    double amount = 0;
    const char *vendor = "V1";
    uint16_t kind = 1;
    uint16_t flag = 0;
    bool blank = false;     // the amount left blank
};

// The head of an outgoing payment.
struct FixturePayment {
    int32_t serial = -1;
    DateRec date{20, 6, 2024};
    const char *payMode = "K";
    const char *currency = "";
    double rate = 0;
    uint16_t approved = 1, posted = 1;
    double charges = 0;
    double bank = -1;       // -1: the rows' total at the rate plus the charges
};

// The head of a purchase invoice.
struct FixturePurchase {
    int32_t serial = -1;
    const char *vendor = "V1";
    DateRec date{10, 6, 2024};
    DateRec due{10, 7, 2024};
    DateRec disc{};
    uint16_t kind = 1;
    double total = 0;
    double vatEntered = -1;    // -1 leaves it blank
    double vatComputed = -1;   // -1: 25 % of the rows with a VAT code
    const char *currency = "";
    double rate = 0;           // 0 leaves it blank
    uint16_t approved = 1;
    uint16_t preliminary = 0;
    uint16_t vatTreatment = 0;
    const char *payMode = "";
};

class PurchaseFixture : public InvoiceFixture {
protected:
    void SetUp() override {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreCompanyBlocks();
        StoreLedgerAccounts();
        StorePurchaseSettings();
        RulesInstall();
        shown.clear();
    }

    void StorePurchaseSettings() {
        std::vector<uint8_t> b(PurchAccountsBlk::Size);
        uint8_t *a = b.data();
        PutText(a, PurchAccountsBlk::CreditorAcc, 10, PurchaseCo::Creditors);
        PutText(a, PurchAccountsBlk::PrelAcc, 10, PurchaseCo::Preliminary);
        PutText(a, PurchAccountsBlk::VatOffsetAcc, 10, PurchaseCo::VatOffset);
        PutText(a, PurchAccountsBlk::CashInvAcc, 10, PurchaseCo::CashInv);
        PutText(a, PurchAccountsBlk::PrepayAcc, 10, PurchaseCo::Prepaid);
        PutText(a, PurchAccountsBlk::DiscRecAcc, 10, PurchaseCo::DiscountRec);
        PutText(a, PurchAccountsBlk::BankChargeAcc, 10, PurchaseCo::BankCharges);
        PutText(a, PurchAccountsBlk::ExchGainAcc, 10, PurchaseCo::Gains);
        PutText(a, PurchAccountsBlk::ExchLossAcc, 10, PurchaseCo::Losses);
        PutText(a, PurchAccountsBlk::PayDiffAcc, 10, PurchaseCo::PayDiff);
        StoreBlock(PurchAccountsBlk::Number, a, PurchAccountsBlk::Size);
        ChangeBlock(PostingBlk::Number, PostingBlk::Size, [](uint8_t *p) {
            PutU16(p, PostingBlk::PostPurchInv, 1);
            PutDate(p, PostingBlk::PurchInvStart, InvoiceCo::YearStart);
            PutU16(p, PostingBlk::PostPayments, 1);
            PutDate(p, PostingBlk::PaymentStart, InvoiceCo::YearStart);
        });
        AddSeriesRow(PurchInvSeriesBlk::Number, 1, 99999);
        AddSeriesRow(OutPaySeriesBlk::Number, 1, 99999);
        for (const char *code : {PurchaseCo::Creditors, PurchaseCo::Preliminary, PurchaseCo::VatOffset,
                                 PurchaseCo::Costs, PurchaseCo::Prepaid, PurchaseCo::DiscountRec,
                                 PurchaseCo::BankCharges, PurchaseCo::Gains, PurchaseCo::Losses, PurchaseCo::PayDiff,
                                 PurchaseCo::CashInv, PurchaseCo::PersonAcc})
            StoreAccount(code, code, 2);
        StoreVendor("V1", "First Vendor", "", 1);
        StoreVendor("V2", "Euro Vendor", "EUR", 1);
        StoreVendor("V3", "Strict Vendor", "", 0);
        StoreRecord(PEVc::Number, [](uint8_t *r) {
            PutText(r, PEVc::Code, 5, "P1");
            PutText(r, PEVc::Name, 60, "Pat Person");
            PutText(r, PEVc::Account, 10, PurchaseCo::PersonAcc);
        });
    }

    uint32_t StoreVendor(const char *code, const char *name, const char *currency, uint16_t onAccount) {
        return StoreRecord(VEVc::Number, [&](uint8_t *r) {
            PutText(r, VEVc::Code, 20, code);
            PutText(r, VEVc::Name, 60, name);
            PutText(r, VEVc::CurncyCode, 5, currency);
            PutU16(r, VEVc::OnAccount, onAccount);
        });
    }

    // Fills a purchase invoice; its total is the rows plus 25 % VAT of the
    // rows with a VAT code unless given.
    static void FillPurchase(uint8_t *r, const FixturePurchase &f, std::initializer_list<FixturePurchaseRow> rows) {
        PutI32(r, VIVc::SerNr, f.serial);
        PutText(r, VIVc::VendCode, 20, f.vendor);
        PutText(r, VIVc::VendName, 60, "Vendor");
        PutText(r, VIVc::VendInvNr, 20, "VI-1");
        PutDate(r, VIVc::InvDate, f.date);
        PutDate(r, VIVc::TransDate, f.date);
        PutDate(r, VIVc::DueDate, f.due);
        PutDate(r, VIVc::DiscDate, f.disc);
        PutU16(r, VIVc::InvType, f.kind);
        PutText(r, VIVc::CurncyCode, 5, f.currency);
        PutText(r, VIVc::PayTerms, 2, f.payMode);
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(r, VIVc::Rate, f.rate == 0 ? blank : Dec(f.rate));
        PutU16(r, VIVc::Approved, f.approved);
        PutU16(r, VIVc::Preliminary, f.preliminary);
        PutU16(r, VIVc::VatTreatment, f.vatTreatment);
        PutI32(r, VIVc::CredInv, -1);
        double sum = 0, vat = 0;
        for (const FixturePurchaseRow &x : rows) {
            uint8_t row[VIVc::Rows::Size] = {};
            PutU16(row, VIVc::Rows::Kind, x.kind);
            PutU16(row, VIVc::Rows::Flag, x.flag);
            PutText(row, VIVc::Rows::Account, 10, x.account);
            PutText(row, VIVc::Rows::VatCode, 2, x.vatCode);
            PutText(row, VIVc::Rows::Project, 20, x.project);
            PutDec(row, VIVc::Rows::Amount, Dec(x.amount));
            PutI32(row, VIVc::Rows::CredSerNr, x.credited);
            ASSERT_TRUE(MatrixRowPut(VIVc::Number, 0, r, MatrixRowCount(VIVc::Number, 0, r), row));
            if (x.kind == 1 && x.flag == 0) sum += x.amount;
            if (x.kind == 1 && x.vatCode[0] != 0) vat += x.amount * 0.25;
        }
        double computed = f.vatComputed >= 0 ? f.vatComputed : vat;
        PutDec(r, VIVc::VatComputed, Dec(computed));
        PutDec(r, VIVc::VatEntered, f.vatEntered >= 0 ? Dec(f.vatEntered) : blank);
        double shownVat = f.vatEntered >= 0 ? f.vatEntered : computed;
        PutDec(r, VIVc::InvAmount, Dec(f.total != 0 ? f.total : sum + (f.vatTreatment == 1 ? 0 : shownVat)));
    }

    // Inserts a purchase invoice as a window's OK does; the layer's result.
    int InsertPurchase(const FixturePurchase &f, std::initializer_list<FixturePurchaseRow> rows,
                       uint32_t *recid = nullptr, uint32_t *serial = nullptr) {
        RuleRecord r(VIVc::Number);
        if (!r.record) return RecStoreFailed;
        FillPurchase(r.record, f, rows);
        uint32_t id = 0;
        int result = RecStoreFailed;
        RecInsertChecked(VIVc::Number, r.record, &id, &result);
        if (recid) *recid = id;
        if (serial) *serial = GetU32(r.record, VIVc::SerNr);
        return result;
    }

    static void FillPayment(uint8_t *r, const FixturePayment &f, std::initializer_list<FixturePaymentRow> rows) {
        PutI32(r, OPVc::SerNr, f.serial);
        PutDate(r, OPVc::PayDate, f.date);
        PutDate(r, OPVc::TransDate, f.date);
        PutText(r, OPVc::PayMode, 1, f.payMode);
        PutText(r, OPVc::CurncyCode, 5, f.currency);
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(r, OPVc::Rate, f.rate == 0 ? blank : Dec(f.rate));
        PutU16(r, OPVc::Approved, f.approved);
        PutU16(r, OPVc::Posted, f.posted);
        PutDec(r, OPVc::BankCharges, Dec(f.charges));
        for (const FixturePaymentRow &x : rows) {
            uint8_t row[OPVc::Rows::Size] = {};
            PutU16(row, OPVc::Rows::Kind, x.kind);
            PutU16(row, OPVc::Rows::Flag, x.flag);
            PutI32(row, OPVc::Rows::InvoiceNr, x.invoice);
            PutText(row, OPVc::Rows::VendCode, 20, x.vendor);
            PutDec(row, OPVc::Rows::Amount, x.blank ? blank : Dec(x.amount));
            ASSERT_TRUE(MatrixRowPut(OPVc::Number, 0, r, MatrixRowCount(OPVc::Number, 0, r), row));
        }
        OutPaymentTotals(r);
        if (f.bank >= 0) PutDec(r, OPVc::HomeTotal, Dec(f.bank));
    }

    // Inserts a payment as a window's OK does; the layer's result.
    int InsertPayment(const FixturePayment &f, std::initializer_list<FixturePaymentRow> rows,
                      uint32_t *recid = nullptr, uint32_t *serial = nullptr) {
        RuleRecord r(OPVc::Number);
        if (!r.record) return RecStoreFailed;
        FillPayment(r.record, f, rows);
        uint32_t id = 0;
        int result = RecStoreFailed;
        RecInsertChecked(OPVc::Number, r.record, &id, &result);
        if (recid) *recid = id;
        if (serial) *serial = GetU32(r.record, OPVc::SerNr);
        return result;
    }

    // The serial of a new approved invoice of one cost row (25 % VAT).
    uint32_t Invoice(double rowAmount, const char *vendor = "V1", const char *currency = "", double rate = 0) {
        uint32_t serial = 0;
        EXPECT_EQ(InsertPurchase({.vendor = vendor, .currency = currency, .rate = rate}, {{.amount = rowAmount}},
                                 nullptr, &serial),
                  RecDone)
            << ::testing::PrintToString(shown);
        return serial;
    }

    // True when some text shown since shown was cleared starts with text n.
    static bool Told(int n) {
        for (const std::string &s : shown)
            if (s.rfind(UiText(n), 0) == 0) return true;
        return false;
    }

    // The open amount of purchase invoice serial; NAN without an open item.
    static double Open(uint32_t serial) {
        RuleRecord r(APVc::Number);
        uint32_t recid = 0;
        if (!VendorOpenItemRead(serial, r, &recid)) return NAN;
        PackedDecimal open = GetDec(r.record, APVc::OpenAmount);
        return DecToDouble(&open);
    }
    // The vendor's period balance kind `kind` added in month of date.
    static double VendorMonth(const char *vendor, int kind, DateRec date) {
        RuleRecord s(VBVc::Number);
        PutText(s.record, VBVc::VendCode, 20, vendor);
        uint32_t recid = 0, position = 0;
        if (!RecFind(VBVc::Number, s.record, 1, 1, &recid, &position)) return 0;
        DateRec before = date;
        before.day = 1;
        if (--before.month == 0) {
            before.month = 12;
            before.year--;
        }
        PackedDecimal after, prior;
        PeriodBalanceAt(GetU32(s.record, VBVc::Amounts), 4, kind, MonthIndex(&date), &after);
        PeriodBalanceAt(GetU32(s.record, VBVc::Amounts), 4, kind, MonthIndex(&before), &prior);
        return Num(after.b, 0) - Num(prior.b, 0);
    }
    // The number of vendor-ledger entries of document serial of kind.
    static int LedgerEntries(uint32_t serial, uint16_t kind) {
        int n = 0;
        RuleRecord e(VLVc::Number);
        uint32_t recid = 0;
        for (int32_t i = 0; i <= (int32_t)RegRecordCount(VLVc::Number); i++)
            if (RecReadAtIndex(VLVc::Number, "MainKey", i, e.record, &recid) && GetU32(e.record, VLVc::DocSerNr) == serial && GetU16(e.record, VLVc::Kind) == kind) n++;
        return n;
    }
};
