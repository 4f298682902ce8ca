// receipts_due_test.cpp - report 16 over the sales history's open items:
// the lines in both layouts, the customer filter, the four sums by days
// from today, and Esc mid-walk.
#include "reports/sales/sales_reports.h"
#include "tests/reports/report_fixture.h"

namespace {

using ReceiptsDue = ReportFixture;

// Sets the due and cash-discount dates of the open item of serial.
void SetItemDates(int32_t serial, DateRec due, DateRec discount) {
    RuleRecord r(ARVc::Number);
    PutI32(r.record, ARVc::InvoiceNr, serial);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(ARVc::Number, r.record, 1, 1, &recid, &position)) << serial;
    PutDate(r.record, ARVc::DueDate, due);
    PutDate(r.record, ARVc::CashDiscDate, discount);
    int result = -2;
    RecUpdateChecked(ARVc::Number, r.record, recid, &result);
    ASSERT_EQ(result, RecDone) << serial;
}

// Gives invoice serial a cash-discount percentage.
void SetDiscount(int32_t serial, double pct) {
    RuleRecord r(IVVc::Number);
    PutI32(r.record, IVVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
    PackedDecimal d;
    DecFromDouble(&d, pct);
    PutDec(r.record, IVVc::CashDiscPct, d);
    int result = -2;
    RecUpdateChecked(IVVc::Number, r.record, recid, &result);
    ASSERT_EQ(result, RecDone) << serial;
}

// Today is 15.3.2024: invoice 1 one day overdue (its discount date 2.4,
// 18 days ahead, a discount of 2.2 % of 250 that rounds to 6), invoice 3 (EUR) due today, invoice 5 16 days ahead.
// Each layout, the customer filter and the sums alone as goldens; the
// sums are the buckets' own, whatever the order of the walk.
TEST_F(ReceiptsDue, DueDateReportByLayoutAndBucket) {
    StoreSalesHistory();
    ASSERT_FALSE(HasFatalFailure());
    SetItemDates(1, {14, 3, 2024}, {2, 4, 2024});
    SetItemDates(3, {15, 3, 2024}, {15, 3, 2024});
    SetItemDates(5, {31, 3, 2024}, {31, 3, 2024});
    SetDiscount(1, 2.2);
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden;
        uint16_t layout, sumsOnly;
        const char *customer;
    } runs[] = {
        {"report16_due", 0, 0, ""},
        {"report16_discount", 1, 0, ""},
        {"report16_sums", 0, 1, ""},
        {"report16_customer", 0, 0, "C2"},
        {"report16_nobody", 0, 0, "C9"},
    };
    for (const auto &r : runs) {
        ResetParams();
        SetWord(ReportParamsVc::ReportNumber, 16);
        SetWord(ReportParamsVc::ReportLayout, r.layout);
        SetWord(ReportParamsVc::Option1, r.sumsOnly);
        SetText(ReportParamsVc::SelText2, r.customer);
        ExpectGolden(r.golden, RunText(DueDateReport));
    }
}

// Report 13 over receipts 1 (mode K, rows of kinds 1, 5 and 6) and 2
// (EUR at 1125, its row dated like the receipt: no date shown): all of
// them, a payment mode none has, a number range, a period that holds
// none, and unposted only (both are posted): the sums still come.
TEST_F(ReceiptsDue, ReceiptJournalByFilter) {
    StoreSalesHistory();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden, *range, *mode;
        uint16_t unposted, posted;
        DateRec from;
    } runs[] = {
        {"report13_all", "", "", 1, 1, {}},
        {"report13_mode", "", "X", 1, 1, {}},
        {"report13_range", "2:9", "", 1, 1, {}},
        {"report13_late", "", "", 1, 1, {1, 3, 2024}},
        {"report13_unposted", "", "", 1, 0, {}},
    };
    for (const auto &r : runs) {
        ResetParams();
        SetWord(ReportParamsVc::ReportNumber, 13);
        SetText(ReportParamsVc::SelText1, r.range);
        SetText(ReportParamsVc::SelText3, r.mode);
        SetWord(ReportParamsVc::Option2, r.unposted);
        SetWord(ReportParamsVc::Option3, r.posted);
        SetPeriod(r.from, {});
        ExpectGolden(r.golden, RunText(ReceiptJournalReport));
    }
}

}  // namespace
