// voucher_print_kind_test.cpp - approve kind 12 prints a stored voucher
// on the printer (report 25) and leaves the voucher as it was; on a
// record of another register it does nothing.
#include <gtest/gtest.h>

#include <vector>

#include "core/record_buffer.h"
#include "rules/approval.h"
#include "rules/ledger.h"
#include "tests/output/output_recorder.h"
#include "tests/reports/report_fixture.h"

namespace {

class VoucherPrintKind : public ReportFixture {};

TEST_F(VoucherPrintKind, PrintsTheStoredVoucherAndChangesNothing)
{
    uint32_t recid = StoreRecord(Voucher::Number, [](uint8_t *v) {
        PutU16(v, Voucher::YearCode, 1);
        PutU32(v, Voucher::SerNr, 42);
        PutDate(v, Voucher::TransDate, DateRec{1, 2, 2024});
        const uint8_t account[] = "\x04" "1910", none[] = "\x00", text[] = "\x0b" "kind twelve";
        PackedDecimal ten = Dec(10), total;
        DecSetBlank(&total);
        for (int i = 0; i < 2; i++) AddVoucherRow(v, account, none, none, text, &ten, 0, i == 0, &total);
    });
    ASSERT_NE(recid, 0u);
    RuleRecord before(Voucher::Number);
    ASSERT_TRUE(RecReadById(Voucher::Number, recid, before.record));

    RecorderInstall rec({OutPrinter});
    RecLog.clear();
    EXPECT_TRUE(ApproveRecord(ApproveKindPrintVoucher, Voucher::Number, recid));
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.front().kind, OutPrinter);
    EXPECT_EQ(RecLog.back().name, "end");
    bool rowText = false;
    for (const RecCall &c : RecLog) rowText = rowText || c.text == "kind twelve";
    EXPECT_TRUE(rowText);

    RuleRecord after(Voucher::Number);
    ASSERT_TRUE(RecReadById(Voucher::Number, recid, after.record));
    // The same bytes but the rows handle, and the same rows.
    std::vector<uint8_t> a(before.record, before.record + Voucher::Size), b(after.record, after.record + Voucher::Size);
    PutU32(a.data(), Voucher::Matrix, 0);
    PutU32(b.data(), Voucher::Matrix, 0);
    EXPECT_EQ(a, b);
    EXPECT_EQ(MatrixRowCount(Voucher::Number, 0, after.record), MatrixRowCount(Voucher::Number, 0, before.record));

    // Another register's record is not printed.
    RecLog.clear();
    EXPECT_TRUE(ApproveRecord(ApproveKindPrintVoucher, IVVc::Number, recid));
    EXPECT_TRUE(RecLog.empty());
}

// Without the ledger printout installed, kind 12 prints nothing, tells the
// user and leaves the voucher as it was; the printout gets the voucher
// and the report number once it is installed.
TEST_F(VoucherPrintKind, WithoutThePrintoutTheUserIsToldAndNothingPrints)
{
    uint32_t recid = StoreRecord(Voucher::Number, [](uint8_t *v) {
        PutU16(v, Voucher::YearCode, 1);
        PutU32(v, Voucher::SerNr, 43);
        PutDate(v, Voucher::TransDate, DateRec{1, 2, 2024});
    });
    ASSERT_NE(recid, 0u);
    LedgerPrint = LedgerPrintRec{};
    RecorderInstall rec({OutPrinter});
    RecLog.clear();
    shown.clear();
    EXPECT_TRUE(ApproveRecord(ApproveKindPrintVoucher, Voucher::Number, recid));
    EXPECT_TRUE(RecLog.empty());
    EXPECT_TRUE(WasShown(Texts::FunctionNotYet));
    uint8_t row[4] = {};
    EXPECT_FALSE(LedgerPrintAccountRows(row));

    static int report;
    static uint32_t serial;
    LedgerPrint.voucher = [](int r, const uint8_t *v) {
        report = r;
        serial = GetU32(v, Voucher::SerNr);
    };
    shown.clear();
    EXPECT_TRUE(ApproveRecord(ApproveKindPrintVoucher, Voucher::Number, recid));
    EXPECT_EQ(report, 25);
    EXPECT_EQ(serial, 43u);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
