// trans_journal_report.cpp - report 15, the transaction journal: the
// vouchers with all their rows in number order within each series, or in
// transaction-date order, then the sum and count of the rows and the sums
// per VAT code (and, for company variant 25, per account).
#include <cassert>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/journal_reports.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/accounts.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

namespace P = ReportParamsVc;
namespace Row = Voucher::Rows;
constexpr int LineHeight = 15;

// What the selection asks for, read once.
struct JournalSelection {
    bool byDate, ranged;
    uint16_t codeFrom, codeTo;
    uint32_t numberFrom, numberTo;
    DateRec from, to;
    PString vatCode;
};

void ReadSelection(const uint8_t *selection, JournalSelection *s) {
    // Only 1 asks for the date order; any other value walks by number.
    s->byDate = GetU16(selection, P::Option11) == 1;
    s->ranged = selection[P::SelText1] != 0;
    s->codeFrom = GetU16(selection, P::Option1);
    s->codeTo = GetU16(selection, P::Option2);
    s->numberFrom = GetU32(selection, P::NumberFrom);
    if (s->numberFrom == 0xFFFFFFFFu) s->numberFrom = 0;   // all bits set: none given
    s->numberTo = GetU32(selection, P::NumberTo);
    s->from = GetDate(selection, P::DateFrom);
    s->to = GetDate(selection, P::DateTo);
    GetText(selection, P::SelText2, s->vatCode);
}

// True when the voucher lies past the range's last series and number.
bool PastRange(const uint8_t *voucher, const JournalSelection &s) {
    const uint16_t code = GetU16(voucher, Voucher::YearCode);
    if (code != s.codeTo) return code > s.codeTo;
    return GetU32(voucher, Voucher::SerNr) > s.numberTo;
}

bool InRange(const uint8_t *voucher, const JournalSelection &s) {
    const uint16_t code = GetU16(voucher, Voucher::YearCode);
    const uint32_t number = GetU32(voucher, Voucher::SerNr);
    return code >= s.codeFrom && code <= s.codeTo && number >= s.numberFrom && number <= s.numberTo;
}

// True when one of the voucher's account rows carries the VAT code.
bool HasVatCode(const uint8_t *voucher, const uint8_t *vatCode) {
    uint8_t row[Row::Size];
    PString code;
    const int32_t rows = MatrixRowCount(Voucher::Number, 0, voucher);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) break;
        if (GetU16(row, Row::Kind) != RowAccount) continue;
        GetText(row, Row::VatCode, code);
        if (PStringEqual(code, vatCode)) return true;
    }
    return false;
}

void Headings() {
    ReportHeadings(LineHeight, {{0, 3068}, {80, 3069}, {140, 3070}, {200, 3080}, {280, 3072}, {1, 3071, 1}});
    ReportHeadings(20, {{20, 3073}, {60, 3074}, {160, 3075}, {380, 3076, 1}, {1, 3077, 1}});
}

void TextField(int x, const uint8_t *record, uint32_t at, int width, int align = 0) {
    PString t;
    GetPString(record, at, width, t);
    RepTextEx(x, -1, 0, align, 0, t);
}

// One voucher: its head line, its rows (summed, counted and summarised)
// and its debit and credit totals.
void VoucherLines(const uint8_t *voucher, PackedDecimal *sum, CodeSummary &vat, CodeSummary &accounts) {
    RepRuleFull(1, 4);
    PString text;
    VoucherYearCodeText(text, voucher);
    RepStartLine(LineHeight);
    RepTextEx(0, -1, 0, 0, 0, text);
    RepValue(80, 0, voucher + Voucher::RegDate, FtDate, 0);
    RepValue(140, 0, voucher + Voucher::TransDate, FtDate, 0);
    TextField(200, voucher, Voucher::Text2, 20);
    TextField(280, voucher, Voucher::Text, 60);
    TextField(1, voucher, Voucher::Code, 5, 1);
    RepEndLine();
    uint8_t row[Row::Size];
    PString code;
    const int32_t rows = MatrixRowCount(Voucher::Number, 0, voucher);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) break;
        PrintVoucherRow(15, voucher, row, sum, 0);
        // The summaries take the rows the journal counts: account rows
        // in no other style.
        if (GetU16(row, Row::Kind) != RowAccount || GetU16(row, Row::Flag) != 0) continue;
        const PackedDecimal amount = GetDec(row, Row::Amount);
        GetText(row, Row::VatCode, code);
        CodeSummaryAdd(vat, code, &amount);
        GetText(row, Row::Account, code);
        CodeSummaryAdd(accounts, code, &amount);
    }
    RepStartLine(LineHeight);
    RepRule(300, 480, 2);
    RepEndLine();
    RepStartLine(LineHeight);
    RepValue(380, 0, voucher + Voucher::DebitTotal, FtDebit, 1);
    RepValue(5, 0, voucher + Voucher::CreditTotal, FtCredit, 1);
    RepEndLine();
}

// The name of a VAT code in block 208; empty when the code is not there.
void VatCodeName(const uint8_t *code, uint8_t *name) {
    name[0] = 0;
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeBlk::Rows::Size);
    PString own;
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *r = rows.data + (size_t)i * VatCodeBlk::Rows::Size;
        GetText(r, VatCodeBlk::Rows::Code, own);
        if (PStringEqual(own, code)) {
            GetText(r, VatCodeBlk::Rows::Name, name);
            return;
        }
    }
}

// A summary under its heading: one line per code with its name, between
// two rules, then the two column totals.
void SummaryLines(const CodeSummary &summary, int heading, bool accounts) {
    RepStartLine(LineHeight);
    RepEndLine();
    ReportHeadings(LineHeight, {{100, heading}, {380, 3187, 1}, {5, 3188, 1}});
    RepStartLine(LineHeight);
    RepRule(100, 1, 4);
    RepEndLine();
    PackedDecimal plus, minus;
    DecSetZero(&plus);
    DecSetZero(&minus);
    uint8_t name[256];
    for (const CodeSummaryEntry &e : summary) {
        if (accounts) {
            if (!AccountNameOf(e.code, name, 60)) name[0] = 0;
        } else {
            VatCodeName(e.code, name);
        }
        RepStartLine(LineHeight);
        RepTextEx(100, -1, 0, 0, 0, e.code);
        RepTextEx(130, -1, 0, 0, 0, name);
        PrintAmountAt(380, &e.plus);
        PrintAmountAt(5, &e.minus);
        RepEndLine();
        DecAdd(&plus, &e.plus, &plus);
        DecAdd(&minus, &e.minus, &minus);
    }
    RepStartLine(LineHeight);
    RepRule(100, 1, 4);
    RepEndLine();
    RepStartLine(LineHeight);
    PrintAmountAt(380, &plus);
    PrintAmountAt(5, &minus);
    RepEndLine();
}

}  // namespace

// Report 15. Esc stops after the voucher at hand; the sums gathered so
// far and the summaries still print.
void TransJournalReport(ReportJob &job) {
    assert(job.selection);
    JournalSelection s{};
    ReadSelection(job.selection, &s);
    CodeSummary vat, accounts;
    PackedDecimal sum;
    DecSetBlank(&sum);   // blank until a row adds to it
    VoucherRowCounter = 0;

    TitleFromSelection = job.selection[P::SelText3] != 0 ? 1 : 0;
    RepBeginJobNr(3061);
    TitleFromSelection = 0;
    Headings();

    RuleRecord v(Voucher::Number);
    if (v.record) {
        const char *index = s.byDate ? "TransDate" : "Number";
        uint32_t recid = 0, position = 0;
        bool more;
        if (s.byDate) {
            PutDate(v.record, Voucher::TransDate, s.from);
            more = RecFindByIndex(Voucher::Number, index, v.record, 1, 0, &recid, &position);
        } else {
            PutU16(v.record, Voucher::YearCode, s.ranged ? s.codeFrom : 0);
            PutU32(v.record, Voucher::SerNr, s.ranged ? s.numberFrom : 0);
            more = RecFindByIndex(Voucher::Number, index, v.record, 2, 0, &recid, &position);
        }
        for (int32_t p = (int32_t)position; more; p++) {
            if (p != (int32_t)position) {
                RecFreeMatrix(Voucher::Number, v.record);
                if (!RecReadAtIndex(Voucher::Number, index, p, v.record, &recid)) break;
            }
            const DateRec trans = GetDate(v.record, Voucher::TransDate);
            bool take;
            if (s.byDate) {
                if (s.to.year != 0 && DateCompare(&trans, &s.to) > 0) break;
                take = !s.ranged || InRange(v.record, s);
            } else {
                if (s.ranged && PastRange(v.record, s)) break;
                take = DateInOpenRange(&trans, &s.from, &s.to);
            }
            if (take && s.vatCode[0]) take = HasVatCode(v.record, s.vatCode);
            if (take) VoucherLines(v.record, &sum, vat, accounts);
            if (ReportCancelled()) break;
        }
        RecFreeMatrix(Voucher::Number, v.record);
    }

    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 3078, 0);
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, sum);
    RepValue(160, 0, slot, FtAmount2, 0);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 3079, 0);
    uint8_t count[4];
    PutI32(count, 0, VoucherRowCounter);
    RepValue(160, 0, count, FtLong, 0);
    RepEndLine();
    if (!vat.empty()) SummaryLines(vat, 3198, false);
    if (CompanyVariantIs(CountryVariant::V25) && !accounts.empty()) SummaryLines(accounts, 2407, true);
    RepEndJob();
}
