// voucher_lists.cpp - the voucher reports: the print-out of a range, the
// transactions by date, the number ranges and the account-row record.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/accounts.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// True when date lies in [from, to].
bool DateWithin(const DateRec *date, const DateRec *from, const DateRec *to) {
    return DateCompare(date, from) >= 0 && DateCompare(date, to) <= 0;
}

// True when the voucher lies past (toCode, toNumber) in index 2's order.
bool PastRangeEnd(const uint8_t *voucher, uint16_t toCode, uint32_t toNumber) {
    uint16_t code = GetU16(voucher, Voucher::YearCode);
    if (code != toCode) return code > toCode;
    return GetU32(voucher, Voucher::SerNr) > toNumber;
}

// Prints one line of the number-range list: first, and ":last" when the
// run holds more than one number.
void PrintNumberRun(uint16_t code, uint32_t first, uint32_t last) {
    uint8_t text[256], tail[256];
    YearCodeText(text, code, first);
    if (last != first) {
        YearCodeText(tail, code, last);
        PStringAppendC(text, ":");
        PStringAppend(text, tail);
    }
    RepStartLine(15);
    RepText(0, 0, text, 0);
    RepEndLine();
}

// Opens report 25's print job laid out as a report's (for a client, on
// its printer); false when the job stopped (the printer refused, or the
// user cancelled its dialog).
bool VoucherJobOpen() {
    const uint8_t empty[1] = {0};
    RepOpenReportJob(empty);
    return !RepStopped;
}

}  // namespace

// Report 25: prints every voucher of the job record's series and number
// range whose transaction date lies in the period, a page each. The
// printer only: on another device the run is cancelled and prints nothing.
// The job opens at the first voucher to print, so a range without one
// writes no file and says there is nothing to print.
void VoucherPrintRun(ReportJob &job) {
    if (!job.selection) return;
    if (GetU16(job.selection, ReportParamsVc::OutputKind) != OutPrinter) {
        CancelFlag = 1;
        return;
    }
    const uint16_t codeFrom = GetU16(job.selection, ReportParamsVc::Option1);
    const uint16_t codeTo = GetU16(job.selection, ReportParamsVc::Option2);
    uint32_t numberFrom = GetU32(job.selection, ReportParamsVc::NumberFrom);
    if (numberFrom == 0xFFFFFFFFu) numberFrom = 0;   // all ones: not given
    const uint32_t numberTo = GetU32(job.selection, ReportParamsVc::NumberTo);
    const bool bounded = job.selection[ReportParamsVc::SelText1] != 0;
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);

    RuleRecord v(Voucher::Number);
    if (!v.record) return;
    bool opened = false;
    PutU16(v.record, Voucher::YearCode, codeFrom);
    PutU32(v.record, Voucher::SerNr, numberFrom);
    IndexWalkFrom(Voucher::Number, "Number", v.record, 2, [&](const uint8_t *voucher) {
        if (opened && RepStopped) return false;
        if (bounded && PastRangeEnd(voucher, codeTo, numberTo)) return false;
        const DateRec date = GetDate(voucher, Voucher::TransDate);
        if (DateWithin(&date, &from, &to)) {
            if (!opened) {
                opened = true;
                if (!VoucherJobOpen()) return false;
            }
            PrintVoucher(25, voucher);
            RepNewPage(0);
        }
        return true;
    });
    if (opened)
        RepEndJob();
    else if (!CancelFlag)
        ShowTextMessage(Texts::NothingToPrint);
}

// Report 24: the vouchers by transaction date with their dated notes and
// references; when Date3 is given, lines dated before it are left out.
void TransByDateReport(ReportJob &job) {
    if (!job.selection) return;
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
    const DateRec cutoff = GetDate(job.selection, ReportParamsVc::Date3);
    const bool cut = cutoff.year != 0;
    auto before = [&](const DateRec &d) { return cut && DateCompare(&d, &cutoff) < 0; };

    RepBeginJobNr(3101);
    ReportHeadings(20, {{0, 3105}, {90, 3106}, {170, 3107}, {350, 3108}});
    RuleRecord v(Voucher::Number);
    if (!v.record) {
        RepEndJob();
        return;
    }
    PutDate(v.record, Voucher::TransDate, from);
    uint8_t own[256], ref[256], row[Voucher::Rows::Size];
    IndexWalkFrom(Voucher::Number, "TransDate", v.record, 1, [&](const uint8_t *voucher) {
        if (RepStopped) return false;
        const DateRec trans = GetDate(voucher, Voucher::TransDate);
        if (DateCompare(&trans, &to) > 0) return false;
        VoucherYearCodeText(own, voucher);
        auto lineStart = [&]() {
            RepStartLine(15);
            RepText(0, 0, own, 0);
            RepValueFmt(90, 0, voucher + Voucher::TransDate, FtDate, 0, 0);
        };
        if (!before(GetDate(voucher, Voucher::RegDate))) {
            lineStart();
            RepTextNr(170, 0, 3102, 0);
            RepValueFmt(350, 0, voucher + Voucher::RegDate, FtDate, 0, 0);
            RepEndLine();
        }
        int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(Voucher::Number, voucher, i, row)) continue;
            uint16_t kind = GetU16(row, Voucher::Rows::Kind);
            if (kind == 2 && !before(GetDate(row, Voucher::Rows::Date))) {
                lineStart();
                RepTextNr(170, 0, 3103, 0);
                RepValueFmt(350, 0, row + Voucher::Rows::Date, FtDate, 0, 0);
                RepEndLine();
            } else if (kind == 3 && !before(GetDate(row, Voucher::Rows::LinkDate))) {
                lineStart();
                RepTextNr(170, 0, 3104, 0);
                YearCodeText(ref, GetU16(row, Voucher::Rows::LinkYearCode), GetU32(row, Voucher::Rows::LinkSerNr));
                RepText(300, 0, ref, 1);
                RepValueFmt(350, 0, row + Voucher::Rows::LinkDate, FtDate, 0, 0);
                RepEndLine();
            }
        }
        return true;
    });
    RepEndJob();
}

// Lists the vouchers of the period of the job record selection as runs of
// consecutive numbers in one series, read in the register's current order.
void VoucherNumberRanges(const uint8_t *selection) {
    if (!selection) return;
    VoucherNumberRanges(GetDate(selection, ReportParamsVc::DateFrom), GetDate(selection, ReportParamsVc::DateTo));
}

// The same over the period from..to.
void VoucherNumberRanges(const DateRec &from, const DateRec &to) {
    RepStartLine(20);
    RepTextNr(0, 0, 3168, 0);
    RepEndLine();
    RuleRecord v(Voucher::Number);
    if (!v.record) return;
    bool open = false;
    uint16_t runCode = 0;
    uint32_t first = 0, last = 0, recid = 0;
    for (int32_t p = 1; !RepStopped; p++) {   // positions count from 1
        RecFreeMatrix(Voucher::Number, v.record);
        if (!RecReadAt(Voucher::Number, p, v.record, &recid)) break;
        const DateRec date = GetDate(v.record, Voucher::TransDate);
        if (!DateWithin(&date, &from, &to)) continue;
        const uint16_t code = GetU16(v.record, Voucher::YearCode);
        const uint32_t number = GetU32(v.record, Voucher::SerNr);
        if (open && code == runCode && number == last + 1) {
            last = number;
            continue;
        }
        if (open) PrintNumberRun(runCode, first, last);
        open = true;
        runCode = code;
        first = last = number;
        if (ReportCancelled()) break;
    }
    RecFreeMatrix(Voucher::Number, v.record);
    if (open) PrintNumberRun(runCode, first, last);
}

// Prints a record that carries 82-byte account rows (the register-9
// layout): its head line, the rows (each naming its account whole where
// the row keeps the beginning of the name), a rule and the two totals
// under the words that say they are the totals.
void PrintAccountRowRecord(const uint8_t *record) {
    assert(record);
    namespace R = SMVc;
    uint8_t text[256], row[R::Rows::Size];
    RepStartLine(15);
    RepValueFmt(0, 0, record + R::SerNr, FtLongOrEmpty, 0, 0);
    RepValueFmt(100, 0, record + R::Date, FtDate, 0, 0);
    GetText(record, R::Code, text);
    RepText(200, 0, text, 0);
    GetText(record, R::Text, text);
    RepText(280, 0, text, 0);
    GetText(record, R::Text2, text);
    RepText(1, 0, text, 1);
    RepEndLine();
    int32_t count = MatrixRowCount(R::Number, 0, record);
    for (int32_t i = 0; i < count && !RepStopped; i++) {
        if (!MatrixRowRead(R::Number, record, i, row)) continue;
        RepStartLine(15);
        GetText(row, R::Rows::Account, text);
        RepText(20, 0, text, 0);
        GetText(row, R::Rows::Objects, text);
        RepText(60, 0, text, 0);
        uint8_t account[256], own[256];
        GetText(row, R::Rows::Account, account);
        GetText(row, R::Rows::Text, own);
        AccountRowShownText(account, own, text);
        RepText(100, 0, text, 0);
        RepValueFmt(380, 0, row + R::Rows::Amount, FtDebit, 1, 0);
        RepValueFmt(465, 0, row + R::Rows::Amount, FtCredit, 1, 0);
        RepValueFmt(480, 0, row + R::Rows::VatCode, FtCodeNoSep, 1, 0);
        RepEndLine();
    }
    RepRule(300, 480, 2);
    RepStartLine(15);
    RepTextNr(100, 0, Texts::ReportTotalLabel, 0);
    RepValueFmt(380, 0, record + R::Debit, FtDebit, 1, 0);
    RepValueFmt(465, 0, record + R::Credit, FtCredit, 1, 0);
    RepEndLine();
}
