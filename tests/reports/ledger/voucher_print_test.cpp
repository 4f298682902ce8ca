// The voucher print-out, its range run, the number-range list, the
// transactions by date and the form hook, through the recording device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/format_block.h"
#include "core/record_buffer.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

class VoucherPrintTest : public ReportFixture {
protected:
    // Fills v as voucher (code, number) dated date with `rows` account rows
    // of 10 each, and a kind-2 note dated note when note is set.
    static void MakeVoucher(uint8_t *v, uint16_t code, uint32_t number, DateRec date, int rows,
                            DateRec note = {0, 0, 0}) {
        RecFreeMatrix(Voucher::Number, v);
        RecClear(Voucher::Number, v);
        PutU16(v, Voucher::YearCode, code);
        PutU32(v, Voucher::SerNr, number);
        PutDate(v, Voucher::TransDate, date);
        PutDate(v, Voucher::RegDate, date);
        const uint8_t account[] = "\x04" "1910", none[] = "\x00", text[] = "\x03" "row";
        PackedDecimal ten = Dec(10), total;
        DecSetBlank(&total);
        for (int i = 0; i < rows; i++) AddVoucherRow(v, account, none, none, text, &ten, 0, i % 2 == 0, &total);
        if (note.year) {
            uint8_t row[Voucher::Rows::Size] = {};
            PutU16(row, Voucher::Rows::Kind, 2);
            PutDate(row, Voucher::Rows::Date, note);
            ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, v, MatrixRowCount(Voucher::Number, 0, v), row));
        }
    }
    void StoreVoucherAsIs(uint16_t code, uint32_t number, DateRec date, DateRec note = {0, 0, 0}) {
        StoreRecord(Voucher::Number, [&](uint8_t *r) { MakeVoucher(r, code, number, date, 2, note); });
    }
    static int Count(const char *name) {
        return int(std::count_if(RecLog.begin(), RecLog.end(), [&](const RecCall &c) { return c.name == name; }));
    }
    static std::vector<std::string> TextsAt(int x) {
        std::vector<std::string> out;
        for (const RecCall &c : RecLog)
            if (c.name == "text" && !c.args.empty() && c.args[0] == x) out.push_back(c.text);
        return out;
    }
};

// A page holds 30 rows, later pages 31; the job record and the thousands
// flag come back byte for byte after the print.
TEST_F(VoucherPrintTest, PagesAndJobRecordKept) {
    struct Case { int rows; int pages; } cases[] = {{30, 1}, {31, 2}, {61, 2}, {62, 3}};
    RecorderInstall rec({OutPrinter, OutPreview});
    RuleRecord v(Voucher::Number);
    ASSERT_NE(v.record, nullptr);
    for (const Case &c : cases) {
        MakeVoucher(v.record, 1, 7, {1, 2, 2024}, c.rows);
        SetWord(ReportParamsVc::OutputKind, OutPreview);
        SetWord(ReportParamsVc::ReportNumber, 24);
        SetWord(ReportParamsVc::SetupDialog, 3);
        SetText(ReportParamsVc::SelText1, "kept");
        std::vector<uint8_t> before(TestJob, TestJob + ReportParamsVc::Size);
        ThousandsFlag = 0;
        RecLog.clear();
        PrintVoucherNow(25, v.record);
        EXPECT_EQ(Count("pageEnd"), c.pages) << c.rows << " rows";
        EXPECT_EQ(RecLog.front().kind, OutPrinter);
        EXPECT_EQ(RecLog.back().name, "end");
        EXPECT_TRUE(std::equal(before.begin(), before.end(), TestJob)) << c.rows << " rows";
        EXPECT_EQ(ThousandsFlag, 0);
    }
    ThousandsFlag = 1;
    PrintVoucherNow(25, v.record);
    EXPECT_EQ(ThousandsFlag, 1);
    ThousandsFlag = 0;
    RecFreeMatrix(Voucher::Number, v.record);
}

// The form hook prints document 25 only; Esc before the rows prints the
// heads and no row but still ends the job.
TEST_F(VoucherPrintTest, FormHookAndCancel) {
    RecorderInstall rec({OutPrinter});
    RuleRecord v(Voucher::Number);
    ASSERT_NE(v.record, nullptr);
    MakeVoucher(v.record, 1, 7, {1, 2, 2024}, 3);
    struct Case { int16_t doc; bool printed; int accountRows; } cases[] = {
        {25, true, 3}, {-16, false, 0}, {24, false, 0}};
    for (const Case &c : cases) {
        RecLog.clear();
        EXPECT_EQ(FormPrintVoucher(c.doc, v.record), c.printed) << c.doc;
        EXPECT_EQ(int(TextsAt(20).size()) - (c.printed ? 1 : 0), c.accountRows) << c.doc;   // the head at 20 too
        EXPECT_EQ(!RecLog.empty() && RecLog.back().name == "end", c.printed) << c.doc;
    }
    SetWord(ReportParamsVc::OutputKind, OutPrinter);
    const uint8_t empty[1] = {0};
    RepOpenJob(empty);
    RecLog.clear();
    CancelFlag = 1;   // Esc before the rows: no row
    PrintVoucher(25, v.record);
    CancelFlag = 0;
    RepEndJob();
    const std::vector<std::string> at20 = TextsAt(20);
    EXPECT_EQ(std::count(at20.begin(), at20.end(), "1910"), 0);
    EXPECT_EQ(RecLog.back().name, "end");
    RecFreeMatrix(Voucher::Number, v.record);
}

// Report 25 prints on the printer only and keeps to its range and period.
TEST_F(VoucherPrintTest, RangeRunPrinterOnly) {
    StoreVoucherAsIs(1, 1, {5, 2, 2024});
    StoreVoucherAsIs(1, 2, {6, 2, 2024});
    StoreVoucherAsIs(1, 3, {6, 4, 2024});
    StoreVoucherAsIs(2, 1, {7, 2, 2024});
    RecorderInstall rec({OutPrinter, OutPreview});
    struct Case { uint16_t kind; uint32_t from, to; const char *bounded; int vouchers; uint8_t cancelled; } cases[] = {
        {OutPreview, 0, 9, "", 0, 1},
        {OutPrinter, 0xFFFFFFFFu, 9, "", 3, 0},   // all series from 1/0 on: 1/1, 1/2, 2/1 (1/3 outside the period)
        {OutPrinter, 2, 2, "1:2", 1, 0},          // series 1 number 2 only
        {OutPrinter, 5, 9, "x", 0, 0},            // nothing in range: no job, nothing written
    };
    for (const Case &c : cases) {
        ResetParams();
        CancelFlag = 0;
        SetWord(ReportParamsVc::OutputKind, c.kind);
        SetWord(ReportParamsVc::Option1, 1);
        SetWord(ReportParamsVc::Option2, 1);
        PutU32(TestJob, ReportParamsVc::NumberFrom, c.from);
        PutU32(TestJob, ReportParamsVc::NumberTo, c.to);
        SetText(ReportParamsVc::SelText1, c.bounded);
        SetPeriod({1, 1, 2024}, {31, 3, 2024});
        RecLog.clear();
        OverTestJob<VoucherPrintRun>();
        EXPECT_EQ(TextsAt(350).size() / 4, size_t(c.vouchers)) << c.from;   // four right labels at 350 a voucher
        EXPECT_EQ(CancelFlag, c.cancelled);
        EXPECT_EQ(RecLog.empty(), c.kind == OutPreview || c.vouchers == 0);
    }
    CancelFlag = 0;
}

// Runs of consecutive numbers in one series make one line each.
TEST_F(VoucherPrintTest, NumberRanges) {
    for (uint32_t n : {1u, 2u, 3u, 5u}) StoreVoucherAsIs(1, n, {5, 2, 2024});
    StoreVoucherAsIs(2, 4, {5, 2, 2024});
    StoreVoucherAsIs(1, 6, {5, 5, 2024});   // outside the period: ends nothing, starts nothing
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    RecorderInstall rec({OutPreview});
    SetWord(ReportParamsVc::OutputKind, OutPreview);
    const uint8_t empty[1] = {0};
    RepOpenJob(empty);
    RecLog.clear();
    VoucherNumberRanges(TestJob);
    RepEndJob();
    uint8_t a[256], b[256], c[256], d[256];
    YearCodeText(a, 1, 1);
    YearCodeText(b, 1, 3);
    YearCodeText(c, 1, 5);
    YearCodeText(d, 2, 4);
    auto s = [](const uint8_t *p) { return std::string(reinterpret_cast<const char *>(p + 1), p[0]); };
    // read by serial: 2/4 comes between 1/3 and 1/5 and breaks the run
    std::vector<std::string> want = {s(a) + ":" + s(b), s(d), s(c)};
    std::vector<std::string> got = TextsAt(0);
    ASSERT_FALSE(got.empty());
    got.erase(got.begin());   // the heading
    EXPECT_EQ(got, want);
}

// Report 24 skips lines dated before Date3 only when Date3 is given.
TEST_F(VoucherPrintTest, TransByDateCutOff) {
    StoreVoucherAsIs(1, 1, {5, 2, 2024}, {1, 1, 2024});
    StoreVoucherAsIs(1, 2, {6, 2, 2024}, {6, 2, 2024});
    RecorderInstall rec({OutPreview});
    struct Case { DateRec cutoff; int lines; } cases[] = {{{0, 0, 0}, 4}, {{3, 2, 2024}, 3}, {{6, 3, 2024}, 0}};
    for (const Case &c : cases) {
        ResetParams();
        SetWord(ReportParamsVc::OutputKind, OutPreview);
        SetPeriod({1, 1, 2024}, {31, 3, 2024});
        PutDate(TestJob, ReportParamsVc::Date3, c.cutoff);
        RecLog.clear();
        OverTestJob<TransByDateReport>();
        EXPECT_EQ(int(TextsAt(170).size()) - 1, c.lines) << c.cutoff.day;   // less the heading
        EXPECT_EQ(RecLog.back().name, "end");
    }
}

}  // namespace
