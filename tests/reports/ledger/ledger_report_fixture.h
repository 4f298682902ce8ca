// ledger_report_fixture.h - a ledger of 2024 for the tests of the reports
// that list accounts, on top of the report company (its chart of accounts),
// with fiscal year 2024 under a code that numbers vouchers and the rules
// installed, so that every record stored posts to the balances and the
// account postings:
//
//   opening balances (register 51) 1.1.2024: 1910 5000, 1460 1000, 2010 -6000
//   voucher 1 10.1.2024 "Cash sale": 1910 1000 / 3010 -800 (VAT 1) / 2610 -200
//   voucher 2 15.2.2024 "Goods": 4010 300 objects D1 / 1910 -300
//   voucher 3  5.3.2024 "Service": 1910 500 / 3010 -400 objects D2, row text
//              "Sales" (the account's name) / 2610 -100 / a corrected row
//              (flag 1) 4010 7
//   preliminary entry (register 9) 25.3.2024: 4010 50 objects D2 / 1910 -50
//   person entry (register 126) 28.3.2024: 4010 20 objects D1 / 1910 -20
//   voucher 4 20.3.2024 "Invoice 77": 1510 250 / 3010 -200 objects D1 (VAT 1)
//              / 2610 -50
//   voucher 5  2.4.2024 "Payment": 1910 250 / 1510 -250
//
// Objects D1 and D2 are of type DEP, P9 of type PRJ; account 2010 is
// equity (type 2). Rate account R1 follows 1910 at rate code BANK: 2 per
// cent from 1.1.2024, 3 per cent from 1.3.2024.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/record_buffer.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

class LedgerReportFixture : public ReportFixture {
protected:
    // The rules go in once the company is stored: its settings name
    // accounts that the rules' checks would look for before they exist.
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        // The year under a code that numbers vouchers (the company's own
        // row carries the code of no year).
        tableRows[FiscalYearBlk::Number].clear();
        AddFiscalYear(FiscalYearCodeFor(nullptr, 0, 0, 0), "2024", {1, 1, 2024}, {31, 12, 2024});
        RulesInstall();
    }

    struct Line {
        const char *account, *objects;
        double amount;
        const char *vat = "";
        uint16_t flag = 0;
        const char *text = "";
    };

    // Inserts a record of reg (11, 9, 126, 51) through the record layer,
    // which posts it; its record id. An fb1 gets fb1Objects as its own list.
    uint32_t Insert(int reg, uint32_t serial, DateRec date, const char *text, std::initializer_list<Line> lines,
                    const char *fb1Objects = "") {
        RuleRecord r(reg);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return 0;
        RecNewDefaults(reg, r.record);
        for (const Line &l : lines) {
            AddLedgerRow(reg, r.record, l.account, l.objects, l.amount, l.vat, l.flag);
            if (reg == Voucher::Number && *l.text) {
                const int32_t last = MatrixRowCount(reg, 0, r.record) - 1;
                uint8_t row[TransRow::Size];
                EXPECT_TRUE(MatrixRowRead(reg, r.record, last, row));
                PutText(row, TransRow::Text, 60, l.text);
                EXPECT_TRUE(MatrixRowPut(reg, 0, r.record, last, row));
            }
        }
        switch (reg) {
        case Voucher::Number:
            PutU32(r.record, Voucher::SerNr, serial);
            PutDate(r.record, Voucher::TransDate, date);
            PutDate(r.record, Voucher::RegDate, date);
            PutText(r.record, Voucher::Text, 60, text);
            break;
        case SMVc::Number:
            PutU32(r.record, SMVc::SerNr, serial);
            PutDate(r.record, SMVc::Date, date);
            PutText(r.record, SMVc::Text, 60, text);
            break;
        case PersEntryVc::Number:
            PutU32(r.record, PersEntryVc::SerNr, serial);
            PutDate(r.record, PersEntryVc::TransDate, date);
            PutText(r.record, PersEntryVc::Text, 60, text);
            break;
        default:
            PutU32(r.record, OpenBalVc::SerNr, serial);
            PutDate(r.record, OpenBalVc::TransDate, date);
            PutText(r.record, OpenBalVc::Text, 60, text);
            PutText(r.record, OpenBalVc::Objects, 30, fb1Objects);
            break;
        }
        uint32_t recid = 0;
        int result = -2;
        RecInsertChecked(reg, r.record, &recid, &result);
        EXPECT_EQ(result, RecDone) << reg << " " << serial << " " << ::testing::PrintToString(shown);
        return recid;
    }

    void StoreRateRecord(const char *code, DateRec from, double rate) {
        StoreRecord(IntRateVc::Number, [&](uint8_t *r) {
            PutText(r, IntRateVc::RateCode, 5, code);
            PutDate(r, IntRateVc::FromDate, from);
            uint8_t row[IntRateVc::Rows::Size] = {};
            PutDec(row, IntRateVc::Rows::Rate, Dec(rate));
            ASSERT_TRUE(MatrixRowPut(IntRateVc::Number, 0, r, 0, row));
        });
    }
    void StoreRateAccount(const char *code, const char *text, const char *rateCode, const char *account,
                          const char *objects) {
        StoreRecord(RateAccVc::Number, [&](uint8_t *r) {
            PutText(r, RateAccVc::Code, 20, code);
            PutText(r, RateAccVc::Text1, 60, text);
            PutText(r, RateAccVc::Text2, 60, "second");
            PutText(r, RateAccVc::Text3, 60, "third");
            PutText(r, RateAccVc::RateCode, 5, rateCode);
            PutText(r, RateAccVc::Account, 10, account);
            PutText(r, RateAccVc::Objects, 30, objects);
        });
    }
    void StoreNamedObject(const char *code, const char *name, const char *type, uint16_t blocked = 0) {
        StoreRecord(OBVc::Number, [&](uint8_t *r) {
            PutText(r, OBVc::Code, 5, code);
            PutText(r, OBVc::Name, 60, name);
            PutText(r, OBVc::ObjType, 5, type);
            PutU16(r, OBVc::Blocked, blocked);
        });
    }

    // The ledger of the header comment.
    void StoreLedger() {
        StoreAccount("2010", "Equity", 2);
        StoreObjectType("DEP");
        StoreObjectType("PRJ");
        StoreNamedObject("D1", "North", "DEP");
        StoreNamedObject("D2", "South", "DEP");
        StoreNamedObject("P9", "Closed project", "PRJ", 1);
        Insert(OpenBalVc::Number, 1, {1, 1, 2024}, "Opening",
               {{"1910", "", 5000}, {"1460", "", 1000}, {"2010", "", -6000}});
        Insert(Voucher::Number, 1, {10, 1, 2024}, "Cash sale",
               {{"1910", "", 1000}, {"3010", "", -800, "1"}, {"2610", "", -200}});
        Insert(Voucher::Number, 2, {15, 2, 2024}, "Goods", {{"4010", "D1", 300}, {"1910", "", -300}});
        Insert(Voucher::Number, 3, {5, 3, 2024}, "Service",
               {{"1910", "", 500},
                {"3010", "D2", -400, "1", 0, "Sales"},
                {"2610", "", -100},
                {"4010", "", 7, "", 1, "corrected"}});
        Insert(SMVc::Number, 1, {25, 3, 2024}, "Prel", {{"4010", "D2", 50}, {"1910", "", -50}});
        Insert(PersEntryVc::Number, 1, {28, 3, 2024}, "Travel", {{"4010", "D1", 20}, {"1910", "", -20}});
        Insert(Voucher::Number, 4, {20, 3, 2024}, "Invoice 77",
               {{"1510", "", 250}, {"3010", "D1", -200, "1"}, {"2610", "", -50}});
        Insert(Voucher::Number, 5, {2, 4, 2024}, "Payment", {{"1910", "", 250}, {"1510", "", -250}});
        StoreRateRecord("BANK", {1, 1, 2024}, 2);
        StoreRateRecord("BANK", {1, 3, 2024}, 3);
        StoreRateAccount("R1", "Bank interest", "BANK", "1910", "");
        StoreRateAccount("R2", "No rate", "NONE", "1460", "");
    }

    // Compares bytes with tests/reports/ledger/golden/<name>.txt; on a
    // difference writes <name>.actual into the working (build) folder.
    // ORVEL_GOLDEN_UPDATE=1 rewrites the golden instead.
    static void ExpectLedgerGolden(const std::string &name, const std::string &bytes) {
        ExpectGoldenIn("ledger", name, bytes);
    }

    // The job record of report `report` over the period from..to, with the
    // month numbers and sorted objects the check writes.
    static void Select(int report, DateRec from, DateRec to) {
        ResetParams();
        SetWord(ReportParamsVc::ReportNumber, (uint16_t)report);
        SetPeriod(from, to);
        PutU16(TestJob, ReportParamsVc::MonthFrom, MonthIndex(&from));
        PutU16(TestJob, ReportParamsVc::MonthTo, MonthIndex(&to));
    }
};
