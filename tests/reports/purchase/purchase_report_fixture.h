// purchase_report_fixture.h - the report company grown with a purchase
// history, for the tests of the payment, vendor, purchase-order and
// expense reports. Records are stored as they stand (no posting rules):
//   vendors V1 "First Vendor" (group G1, home currency, address lines)
//   and V2 "Euro Vendor" (group G2, EUR); V1's period balances: 100 owed
//   before 2024 (home and currency kinds) and movements of 1000 in
//   January and -250 in February 2024
//   purchase invoices 101 V1 10.1.2024 1250 "A-1" (comment "Urgent"),
//   102 V2 5.2.2024 200 EUR at 1125, 103 V1 15.2.2024 credit note of 250
//   crediting 101, 104 V1 1.3.2024 500 not approved and held
//   open items of 101 (1000, due today), 102 (200 EUR, due in 15 days),
//   104 (500, in 16 days) and 103 (-250, in 36 days)
//   outgoing payments 1 (31.1.2024, "K", 250 of 101, posted), 2
//   (20.2.2024, "K", EUR at 1125, 100 of 102 and bank charges of 5,
//   posted), 3 (5.3.2024, no mode, 30 on account for V1, posted), 4
//   (10.3.2024, "K", not approved, a counted and a left-out row)
//   the vendor-ledger entries of these invoices and payments
//   persons P1 and P2; expense records 1 (P1 10.2.2024 120, posted, one
//   row), 2 (P1 15.2.2024 10 EUR at 1125, posted), 3 (P2 20.2.2024 50,
//   not posted); person payment 1 (28.2.2024, "K", 120 to P1, posted);
//   the person-ledger entries of these
//   purchase orders 1 (V1 1.2.2024 net 500 total 625, one item row) and
//   2 (V2 10.3.2024 EUR net 300 total 300)
#pragma once

#include "rules/ledger.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

class PurchaseReportFixture : public ReportFixture {
protected:
    void StorePurchaseHistory() {
        StoreVendors();
        StoreInvoices();
        StoreOpenItems();
        StorePayments();
        StoreVendorLedger();
        StoreExpenses();
        StoreOrders();
    }

    void StoreVendors() {
        StoreRecord(VEVc::Number, [](uint8_t *r) {
            PutText(r, VEVc::Code, 20, "V1");
            PutText(r, VEVc::Name, 60, "First Vendor");
            PutText(r, VEVc::Addr1, 60, "Quay 1");
            PutText(r, VEVc::Addr2, 60, "Harbour");
            PutText(r, VEVc::VEGroup, 5, "G1");
        });
        StoreRecord(VEVc::Number, [](uint8_t *r) {
            PutText(r, VEVc::Code, 20, "V2");
            PutText(r, VEVc::Name, 60, "Euro Vendor");
            PutText(r, VEVc::CurncyCode, 5, "EUR");
            PutText(r, VEVc::VEGroup, 5, "G2");
        });
        StoreRecord(VBVc::Number, [](uint8_t *r) {
            PutText(r, VBVc::VendCode, 20, "V1");
            MemBlock block = 0;
            const DateRec dec{1, 12, 2023}, jan{1, 1, 2024}, feb{1, 2, 2024};
            const PackedDecimal owed = Dec(100), jan1 = Dec(1000), feb1 = Dec(-250);
            ASSERT_TRUE(AddToPeriodAmount(&block, 4, 3, MonthIndex(&dec), &owed));
            ASSERT_TRUE(AddToPeriodAmount(&block, 4, 0, MonthIndex(&dec), &owed));
            ASSERT_TRUE(AddToPeriodAmount(&block, 4, 1, MonthIndex(&jan), &jan1));
            ASSERT_TRUE(AddToPeriodAmount(&block, 4, 1, MonthIndex(&feb), &feb1));
            PutU32(r, VBVc::Amounts, block);
        });
    }

    struct PurchaseRow {
        uint16_t kind;
        const char *account, *text;
        double amount;
        int32_t credited = -1;
        uint16_t flag = 0;
    };
    void StorePurchase(int32_t serial, const char *vendor, const char *name, DateRec date, uint16_t kind,
                       double amount, const char *currency, double rate, uint16_t approved,
                       std::initializer_list<PurchaseRow> rows, const char *number = "", const char *comment = "",
                       uint16_t held = 0) {
        StoreRecord(VIVc::Number, [&](uint8_t *r) {
            PutI32(r, VIVc::SerNr, serial);
            PutText(r, VIVc::VendCode, 20, vendor);
            PutText(r, VIVc::VendName, 60, name);
            PutText(r, VIVc::VendInvNr, 20, number);
            PutText(r, VIVc::Comment, 60, comment);
            PutText(r, VIVc::PayRef, 20, "REF");
            PutDate(r, VIVc::InvDate, date);
            PutDate(r, VIVc::TransDate, date);
            PutU16(r, VIVc::InvType, kind);
            PutDec(r, VIVc::InvAmount, Dec(amount));
            PutText(r, VIVc::CurncyCode, 5, currency);
            PackedDecimal rt = Dec(rate);
            if (rate == 0) DecSetBlank(&rt);
            PutDec(r, VIVc::Rate, rt);
            PutU16(r, VIVc::Approved, approved);
            PutU16(r, VIVc::Held, held);
            PutI32(r, VIVc::CredInv, -1);
            for (const PurchaseRow &x : rows) {
                uint8_t row[VIVc::Rows::Size] = {};
                PutU16(row, VIVc::Rows::Kind, x.kind);
                PutU16(row, VIVc::Rows::Flag, x.flag);
                PutText(row, VIVc::Rows::Account, 10, x.account);
                PutText(row, VIVc::Rows::Text, 60, x.text);
                PutDec(row, VIVc::Rows::Amount, Dec(x.amount));
                PutI32(row, VIVc::Rows::CredSerNr, x.credited);
                ASSERT_TRUE(MatrixRowPut(VIVc::Number, 0, r, MatrixRowCount(VIVc::Number, 0, r), row));
            }
        });
    }
    void StoreInvoices() {
        StorePurchase(101, "V1", "First Vendor", {10, 1, 2024}, 1, 1250, "", 0, 1,
                      {{1, InvoiceCo::Cash, "Paper", 1000}, {1, InvoiceCo::Cash, "", 250, -1, 1}}, "A-1", "Urgent");
        StorePurchase(102, "V2", "Euro Vendor", {5, 2, 2024}, 1, 200, "EUR", 1125, 1, {{1, InvoiceCo::Cash, "Parts", 200}});
        StorePurchase(103, "V1", "First Vendor", {15, 2, 2024}, 3, 250, "", 0, 1,
                      {{3, "", "", 0, 101}, {1, InvoiceCo::Cash, "Returned", 250}});
        StorePurchase(104, "V1", "First Vendor", {1, 3, 2024}, 1, 500, "", 0, 0, {{1, InvoiceCo::Cash, "Desk", 500}},
                      "", "", 1);
    }

    void StoreOpenItem(int32_t invoice, const char *vendor, const char *name, double open, DateRec due,
                       const char *currency) {
        StoreRecord(APVc::Number, [&](uint8_t *r) {
            PutI32(r, APVc::InvoiceNr, invoice);
            PutText(r, APVc::VendCode, 20, vendor);
            PutText(r, APVc::VendName, 60, name);
            PutDec(r, APVc::OpenAmount, Dec(open));
            PutDate(r, APVc::DueDate, due);
            PutDate(r, APVc::DiscDate, due);
            PutText(r, APVc::CurncyCode, 5, currency);
        });
    }
    void StoreOpenItems() {
        StoreOpenItem(101, "V1", "First Vendor", 1000, {15, 3, 2024}, "");
        StoreOpenItem(102, "V2", "Euro Vendor", 200, {30, 3, 2024}, "EUR");
        StoreOpenItem(104, "V1", "First Vendor", 500, {31, 3, 2024}, "");
        StoreOpenItem(103, "V1", "First Vendor", -250, {20, 4, 2024}, "");
    }

    struct PayRow {
        int32_t invoice;
        const char *vendor;
        double amount;
        uint16_t flag = 0;
    };
    void StorePayment(int32_t serial, DateRec date, const char *mode, const char *currency, double rate,
                      uint16_t approved, uint16_t posted, double total, double home, double charges,
                      std::initializer_list<PayRow> rows) {
        StoreRecord(OPVc::Number, [&](uint8_t *r) {
            PutI32(r, OPVc::SerNr, serial);
            PutText(r, OPVc::PayText, 60, "Bank account");
            PutText(r, OPVc::Text2, 5, "R1");
            PutDate(r, OPVc::TransDate, date);
            PutDate(r, OPVc::PayDate, date);
            PutText(r, OPVc::PayMode, 1, mode);
            PutText(r, OPVc::CurncyCode, 5, currency);
            PackedDecimal rt = Dec(rate);
            if (rate == 0) DecSetBlank(&rt);
            PutDec(r, OPVc::Rate, rt);
            PutU16(r, OPVc::Approved, approved);
            PutU16(r, OPVc::Posted, posted);
            PutDec(r, OPVc::RowsTotal, Dec(total));
            PutDec(r, OPVc::HomeTotal, Dec(home));
            PutDec(r, OPVc::BankCharges, Dec(charges));
            for (const PayRow &x : rows) {
                uint8_t row[OPVc::Rows::Size] = {};
                PutU16(row, OPVc::Rows::Kind, 1);
                PutU16(row, OPVc::Rows::Flag, x.flag);
                PutI32(row, OPVc::Rows::InvoiceNr, x.invoice);
                PutText(row, OPVc::Rows::VendCode, 20, x.vendor);
                PutText(row, OPVc::Rows::InvPayText, 30, "Inv text");
                PutText(row, OPVc::Rows::AccountText, 60, x.vendor);
                PutDec(row, OPVc::Rows::Amount, Dec(x.amount));
                ASSERT_TRUE(MatrixRowPut(OPVc::Number, 0, r, MatrixRowCount(OPVc::Number, 0, r), row));
            }
        });
    }
    void StorePayments() {
        StorePayment(1, {31, 1, 2024}, "K", "", 0, 1, 1, 250, 250, 0, {{101, "V1", 250}});
        StorePayment(2, {20, 2, 2024}, "K", "EUR", 1125, 1, 1, 100, 1130, 5, {{102, "V2", 100}});
        StorePayment(3, {5, 3, 2024}, "", "", 0, 1, 1, 30, 30, 0, {{-1, "V1", 30}});
        StorePayment(4, {10, 3, 2024}, "K", "", 0, 0, 0, 40, 40, 0, {{104, "V1", 40}, {104, "V1", 9, 1}});
    }

    void StoreLedgerEntry(const char *vendor, DateRec date, uint16_t kind, int32_t doc, int32_t invoice) {
        StoreRecord(VLVc::Number, [&](uint8_t *r) {
            PutText(r, VLVc::VendCode, 20, vendor);
            PutDate(r, VLVc::Date, date);
            PutU16(r, VLVc::Kind, kind);
            PutI32(r, VLVc::DocSerNr, doc);
            PutI32(r, VLVc::InvoiceNr, invoice);
        });
    }
    void StoreVendorLedger() {
        StoreLedgerEntry("V1", {10, 1, 2024}, 0, 101, 101);
        StoreLedgerEntry("V1", {31, 1, 2024}, 1, 1, 101);
        StoreLedgerEntry("V1", {15, 2, 2024}, 0, 103, 103);
        StoreLedgerEntry("V1", {1, 3, 2024}, 0, 104, 104);
        StoreLedgerEntry("V1", {5, 3, 2024}, 1, 3, -1);
        StoreLedgerEntry("V2", {5, 2, 2024}, 0, 102, 102);
        StoreLedgerEntry("V2", {20, 2, 2024}, 1, 2, 102);
    }

    void StoreExpense(int32_t serial, const char *person, DateRec date, double total, const char *currency,
                      double rate, uint16_t posted) {
        StoreRecord(ExpenseVc::Number, [&](uint8_t *r) {
            PutI32(r, ExpenseVc::SerNr, serial);
            PutText(r, ExpenseVc::Person, 5, person);
            PutText(r, ExpenseVc::PersonName, 60, "Travel");
            PutDate(r, ExpenseVc::TransDate, date);
            PutDec(r, ExpenseVc::Total, Dec(total));
            PutDec(r, ExpenseVc::VatTotal, Dec(total / 5));
            PutText(r, ExpenseVc::CurncyCode, 5, currency);
            PackedDecimal rt = Dec(rate);
            if (rate == 0) DecSetBlank(&rt);
            PutDec(r, ExpenseVc::Rate, rt);
            PutU16(r, ExpenseVc::Posted, posted);
            uint8_t row[ExpenseVc::Rows::Size] = {};
            PutU16(row, ExpenseVc::Rows::Kind, 1);
            PutText(row, ExpenseVc::Rows::Account, 10, InvoiceCo::Cash);
            PutText(row, ExpenseVc::Rows::Text, 20, "Taxi");
            PutDec(row, ExpenseVc::Rows::Amount, Dec(total));
            ASSERT_TRUE(MatrixRowPut(ExpenseVc::Number, 0, r, 0, row));
        });
    }
    void StoreExpenses() {
        for (const char *code : {"P1", "P2"})
            StoreRecord(PEVc::Number, [&](uint8_t *r) {
                PutText(r, PEVc::Code, 5, code);
                PutText(r, PEVc::Name, 60, code[1] == '1' ? "Pat Person" : "Sam Person");
            });
        StoreExpense(1, "P1", {10, 2, 2024}, 120, "", 0, 1);
        StoreExpense(2, "P1", {15, 2, 2024}, 10, "EUR", 1125, 1);
        StoreExpense(3, "P2", {20, 2, 2024}, 50, "", 0, 0);
        StoreRecord(PersPayVc::Number, [](uint8_t *r) {
            PutI32(r, PersPayVc::SerNr, 1);
            PutText(r, PersPayVc::Text, 60, "Bank account");
            PutDate(r, PersPayVc::TransDate, DateRec{28, 2, 2024});
            PutDate(r, PersPayVc::PayDate, DateRec{28, 2, 2024});
            PutText(r, PersPayVc::PayMode, 1, "K");
            PutU16(r, PersPayVc::Approved, 1);
            PutU16(r, PersPayVc::Posted, 1);
            PutDec(r, PersPayVc::Total, Dec(120));
            PutDec(r, PersPayVc::BankAmount, Dec(120));
            uint8_t row[PersPayVc::Rows::Size] = {};
            PutU16(row, PersPayVc::Rows::Kind, 1);
            PutText(row, PersPayVc::Rows::Person, 5, "P1");
            PutText(row, PersPayVc::Rows::RowText, 20, "Expenses");
            PutText(row, PersPayVc::Rows::Name, 60, "Pat Person");
            PutDec(row, PersPayVc::Rows::Amount, Dec(120));
            ASSERT_TRUE(MatrixRowPut(PersPayVc::Number, 0, r, 0, row));
        });
        const struct {
            DateRec date;
            uint16_t kind;
            int32_t doc;
        } entries[] = {{{10, 2, 2024}, 0, 1}, {{15, 2, 2024}, 0, 2}, {{28, 2, 2024}, 1, 1}};
        for (const auto &e : entries)
            StoreRecord(PersLedgerVc::Number, [&](uint8_t *r) {
                PutText(r, PersLedgerVc::Person, 5, "P1");
                PutDate(r, PersLedgerVc::TransDate, e.date);
                PutU16(r, PersLedgerVc::Kind, e.kind);
                PutI32(r, PersLedgerVc::DocNr, e.doc);
            });
    }

    void StoreOrders() {
        StoreRecord(PurchOrderVc::Number, [](uint8_t *r) {
            PutI32(r, PurchOrderVc::SerNr, 1);
            PutText(r, PurchOrderVc::VendCode, 20, "V1");
            PutText(r, PurchOrderVc::VendName, 60, "First Vendor");
            PutText(r, PurchOrderVc::Addr1, 60, "Quay 1");
            PutDate(r, PurchOrderVc::PODate, DateRec{1, 2, 2024});
            PutDec(r, PurchOrderVc::NetTotal, Dec(500));
            PutDec(r, PurchOrderVc::VatTotal, Dec(125));
            PutDec(r, PurchOrderVc::Total, Dec(625));
            uint8_t row[PurchOrderVc::Rows::Size] = {};
            PutU16(row, PurchOrderVc::Rows::Kind, 1);
            PutText(row, PurchOrderVc::Rows::ItemCode, 20, "ITEM1");
            PutText(row, PurchOrderVc::Rows::Text, 100, "First item");
            PutDec(row, PurchOrderVc::Rows::Quantity, Dec(5));
            PutDec(row, PurchOrderVc::Rows::Price, Dec(100));
            PutDec(row, PurchOrderVc::Rows::Sum, Dec(500));
            PutText(row, PurchOrderVc::Rows::VatCode, 2, "1");
            ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, r, 0, row));
        });
        StoreRecord(PurchOrderVc::Number, [](uint8_t *r) {
            PutI32(r, PurchOrderVc::SerNr, 2);
            PutText(r, PurchOrderVc::VendCode, 20, "V2");
            PutText(r, PurchOrderVc::VendName, 60, "Euro Vendor");
            PutText(r, PurchOrderVc::CurncyCode, 5, "EUR");
            PutDate(r, PurchOrderVc::PODate, DateRec{10, 3, 2024});
            PutDec(r, PurchOrderVc::NetTotal, Dec(300));
            PutDec(r, PurchOrderVc::Total, Dec(300));
        });
    }

    // The period in the job record with its month numbers, as the check sets them.
    static void SetMonths(DateRec from, DateRec to) {
        SetPeriod(from, to);
        PutU16(TestJob, ReportParamsVc::MonthFrom, MonthIndex(&from));
        PutU16(TestJob, ReportParamsVc::MonthTo, MonthIndex(&to));
    }
};
