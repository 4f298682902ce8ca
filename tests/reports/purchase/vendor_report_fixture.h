// vendor_report_fixture.h - the report company of report_fixture.h with
// a short purchase history, for the tests of the purchase reports.
//
// StorePurchaseHistory() lays down vendors V1 (home currency, group G1),
// V2 (EUR, group G2) and V3 (group G1, nothing bought), and:
//   invoice 1  V1  10.1.2024 due  9.2.2024  1000, two rows
//   invoice 2  V1   1.2.2024 due  2.3.2024   500, held (*)
//   invoice 3  V1  15.2.2024  credit note of invoice 1, 100
//   invoice 4  V2   5.2.2024 due 20.3.2024   200 EUR at 1125, ref E-7
//   invoice 5  V1  20.2.2024  cash invoice, 300 (no open item)
//   invoice 6  V1   1.3.2024  not approved, 250 (not in the ledger)
//   invoice 7  V2  10.3.2024  credit note of no invoice, 50 EUR at 1125
//   payment 1  31.1.2024  400 on invoice 1
//   payment 2   5.3.2024  200 on invoice 2 and 60 on account of V1
//   payment 3  10.3.2024  50 EUR at 1130 on invoice 4
// Approved invoices (not the cash one) and the payments are entered in
// the open items and the vendor ledger by the purchase ledger's own
// steps. Today is 15.3.2024: open are 500 of invoice 1 (35 days past
// due), 300 of invoice 2 (13 days), 150 EUR of invoice 4 (due in 5 days)
// and -50 EUR of invoice 7; V1 has 60 on account.
#pragma once

#include <initializer_list>

#include "operations/purchase_ledger.h"
#include "tests/reports/report_fixture.h"

// One row of a purchase invoice: kind 1 an account row, 3 a note row
// naming a credited invoice.
struct PurchaseHistoryRow {
    uint16_t kind;
    const char *account, *objects, *text;
    double amount;
    int32_t credited;
};

// The head of a purchase invoice.
struct PurchaseHistoryInvoice {
    int32_t serial;
    const char *vendor;
    DateRec date, due;
    uint16_t kind;
    double amount;
    const char *ref = "";
    const char *currency = "";
    double rate = 0;
    uint16_t approved = 1, held = 0;
    int32_t credited = -1;
};

// One row of an outgoing payment: the invoice paid (-1 on account).
struct PurchaseHistoryPayment {
    int32_t invoice;
    const char *vendor;
    double amount;
};

class VendorHistoryFixture : public ReportFixture {
protected:
    void StoreVendor(const char *code, const char *name, const char *currency, const char *group,
                     const char *account) {
        StoreRecord(VEVc::Number, [&](uint8_t *r) {
            PutText(r, VEVc::Code, 20, code);
            PutText(r, VEVc::Name, 60, name);
            PutText(r, VEVc::CurncyCode, 5, currency);
            PutText(r, VEVc::VEGroup, 5, group);
            PutText(r, VEVc::AccountNr, 20, account);
            PutText(r, VEVc::OurRef, 20, "Extra text");
            PutU16(r, VEVc::OnAccount, 1);
        });
    }

    // Stores a purchase invoice; approved ones that are no cash invoice are
    // entered in the open items and the vendor ledger.
    void StorePurchase(const PurchaseHistoryInvoice &f, std::initializer_list<PurchaseHistoryRow> rows) {
        RuleRecord r(VIVc::Number);
        ASSERT_NE(r.record, nullptr);
        uint8_t *p = r.record;
        PutI32(p, VIVc::SerNr, f.serial);
        PutText(p, VIVc::VendCode, 20, f.vendor);
        PutText(p, VIVc::VendName, 60, f.vendor[1] == '2' ? "Euro Vendor" : "First Vendor");
        PutText(p, VIVc::VendInvNr, 20, f.ref);
        PutDate(p, VIVc::InvDate, f.date);
        PutDate(p, VIVc::TransDate, f.date);
        PutDate(p, VIVc::DueDate, f.due);
        PutU16(p, VIVc::InvType, f.kind);
        PutDec(p, VIVc::InvAmount, Dec(f.amount));
        PutDec(p, VIVc::VatComputed, Dec(f.amount * 0.2));
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(p, VIVc::VatEntered, blank);
        PutText(p, VIVc::CurncyCode, 5, f.currency);
        PutDec(p, VIVc::Rate, f.rate == 0 ? blank : Dec(f.rate));
        PutU16(p, VIVc::Approved, f.approved);
        PutU16(p, VIVc::Preliminary, f.approved);
        PutU16(p, VIVc::Held, f.held);
        PutI32(p, VIVc::CredInv, f.credited);
        for (const PurchaseHistoryRow &x : rows) {
            uint8_t row[VIVc::Rows::Size] = {};
            PutU16(row, VIVc::Rows::Kind, x.kind);
            PutText(row, VIVc::Rows::Account, 10, x.account);
            PutText(row, VIVc::Rows::Objects, 30, x.objects);
            PutText(row, VIVc::Rows::Text, 60, x.text);
            PutDec(row, VIVc::Rows::Amount, Dec(x.amount));
            PutI32(row, VIVc::Rows::CredSerNr, x.credited);
            ASSERT_TRUE(MatrixRowPut(VIVc::Number, 0, p, MatrixRowCount(VIVc::Number, 0, p), row));
        }
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(VIVc::Number, p, 0, &recid)) << f.serial;
        if (f.approved && f.kind != 2) {
            ASSERT_TRUE(VendorOpenItemFromInvoice(p)) << f.serial;
            ASSERT_TRUE(OpenItemDatesFromInvoice(p)) << f.serial;
            ASSERT_TRUE(VendorLedgerEntryOfInvoice(p)) << f.serial;
        }
    }

    // Stores an approved, posted payment and enters it in the open items
    // and the vendor ledger.
    void StorePayment(int32_t serial, DateRec date, const char *currency, double rate,
                      std::initializer_list<PurchaseHistoryPayment> rows) {
        RuleRecord r(OPVc::Number);
        ASSERT_NE(r.record, nullptr);
        uint8_t *p = r.record;
        PutI32(p, OPVc::SerNr, serial);
        PutDate(p, OPVc::PayDate, date);
        PutDate(p, OPVc::TransDate, date);
        PutText(p, OPVc::PayMode, 1, "K");
        PutText(p, OPVc::CurncyCode, 5, currency);
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(p, OPVc::Rate, rate == 0 ? blank : Dec(rate));
        PutU16(p, OPVc::Approved, 1);
        PutU16(p, OPVc::Posted, 1);
        double total = 0;
        for (const PurchaseHistoryPayment &x : rows) {
            uint8_t row[OPVc::Rows::Size] = {};
            PutU16(row, OPVc::Rows::Kind, 1);
            PutI32(row, OPVc::Rows::InvoiceNr, x.invoice);
            PutText(row, OPVc::Rows::VendCode, 20, x.vendor);
            PutDec(row, OPVc::Rows::Amount, Dec(x.amount));
            ASSERT_TRUE(MatrixRowPut(OPVc::Number, 0, p, MatrixRowCount(OPVc::Number, 0, p), row));
            total += x.amount;
        }
        PutDec(p, OPVc::RowsTotal, Dec(total));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(OPVc::Number, p, 0, &recid)) << serial;
        ASSERT_TRUE(OpenItemsUpdate(p, nullptr)) << serial;
        ASSERT_TRUE(PaymentToVendorLedger(p)) << serial;
    }

    // The history of the header comment.
    void StorePurchaseHistory() {
        StoreVendor("V1", "First Vendor", "", "G1", "1111.22.33333");
        StoreVendor("V2", "Euro Vendor", "EUR", "G2", "5012345-6789");
        StoreVendor("V3", "Quiet Vendor", "", "G1", "");
        StorePurchase({1, "V1", {10, 1, 2024}, {9, 2, 2024}, 1, 1000, "A-100"},
                      {{1, "5010", "P1", "Goods", 600, -1}, {1, "5020", "", "Freight", 200, -1}});
        StorePurchase({2, "V1", {1, 2, 2024}, {2, 3, 2024}, 1, 500, "A-101", "", 0, 1, 1},
                      {{1, "5010", "", "Parts", 400, -1}});
        StorePurchase({3, "V1", {15, 2, 2024}, {15, 2, 2024}, 3, 100, "", "", 0, 1, 0, 1},
                      {{3, "", "", "", 0, 1}, {1, "5010", "", "Returned", 80, -1}});
        StorePurchase({4, "V2", {5, 2, 2024}, {20, 3, 2024}, 1, 200, "E-7", "EUR", 1125},
                      {{1, "5010", "", "Euro goods", 160, -1}});
        StorePurchase({5, "V1", {20, 2, 2024}, {20, 2, 2024}, 2, 300}, {{1, "5010", "", "Cash buy", 240, -1}});
        StorePurchase({6, "V1", {1, 3, 2024}, {31, 3, 2024}, 1, 250, "A-102", "", 0, 0},
                      {{1, "5010", "", "Pending", 200, -1}});
        StorePurchase({7, "V2", {10, 3, 2024}, {10, 3, 2024}, 3, 50, "E-8", "EUR", 1125},
                      {{1, "5010", "", "Euro credit", 40, -1}});
        StorePayment(1, {31, 1, 2024}, "", 0, {{1, "V1", 400}});
        StorePayment(2, {5, 3, 2024}, "", 0, {{2, "V1", 200}, {-1, "V1", 60}});
        StorePayment(3, {10, 3, 2024}, "EUR", 1130, {{4, "V2", 50}});
    }

    void SetLimits(int32_t l1, int32_t l2) {
        uint8_t b[AgedBlk::Size] = {};
        PutI32(b, AgedBlk::Limit1, l1);
        PutI32(b, AgedBlk::Limit2, l2);
        StoreBlock(AgedBlk::Number, b, AgedBlk::Size);
    }
};
