// general_ledger_report.cpp - report 6, the general ledger: account by
// account over a code range, the opening balance, every posting of the
// period with a running balance, the debit and credit sums and the closing
// balance (detailed form), or one line per account (summary form); then
// the grand sums, the voucher number ranges and a summary by VAT code.
//
// The postings are found through register 18 by (account, date) and read
// from their source records: vouchers (11), preliminary entries (9, only
// with the second balance kind), person entries (126) and opening
// balances (51). A source that is missing, renumbered or dated otherwise
// than its posting is passed over, except a re-dated voucher, whose rows
// as they stood on the posting's date are shown as corrections (style 1)
// when the user asks for rows of non-zero style.
#include <algorithm>
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

namespace P = ReportParamsVc;
// Column stops of the report's layout.
constexpr int ColRight = 1, ColDate = 2, ColDebit = 3, ColCredit = 4, ColBalance = 5, ColText = 6, ColObjects = 7,
              ColMonthRule = 8, ColSumRule = 9;
constexpr int LineHeight = 15;
constexpr int TextVatColumn = 3199;   // the heading over the rows' VAT codes
constexpr int RuleGap = 4;     // report units between a row's line and the sums rule below it
constexpr int ColumnGap = 6;   // report units left free before the next column's text

// The selection and the running state of one run.
struct Ledger {
    bool summary, secondKind, styled, keepUntyped, counter, column7, headOnlyWithLines;
    DateRec from, to;
    PString objects, objectType, textFilter, vatFilter;
    ObjectSlots wanted;
    PackedDecimal grandDebit, grandCredit;
    std::vector<VatSummaryEntry> vat;
    // The account at hand.
    const uint8_t *account;
    PString code, name;
    bool negate, headPrinted, columnHeadPrinted, hasLines;
    uint16_t lastMonth;
    PackedDecimal opening, running, debit, credit;
    // Where the objects and text columns start on the job's device.
    int objectsX, textX;
};

// One row of a source record as the ledger lists it.
struct LedgerRow {
    const uint8_t *source;   // the record the row belongs to
    int reg;
    const uint8_t *objects;  // PString
    const uint8_t *text;     // PString
    const uint8_t *vatCode;  // PString
    PackedDecimal amount;
    int style;
    DateRec date;
};

Ledger *Run = nullptr;

// The amount with the company's ledger sign of the account's type.
PackedDecimal Shown(const PackedDecimal *amount) {
    PackedDecimal out = *amount;
    if (Run->negate) DecNegateInto(amount, &out);
    return out;
}

// The codes of list whose object (register 15) is of type, joined by ",".
void ObjectsOfType(const uint8_t *list, const uint8_t *type, uint8_t *out) {
    out[0] = 0;
    RuleRecord object(OBVc::Number);
    if (!object.record) return;
    PString code, objectType;
    for (int position = 1; position <= list[0];) {
        NextObjectCode(list, &position, code);
        if (code[0] == 0) continue;
        PutText(object.record, OBVc::Code, code);
        uint32_t recid = 0, at = 0;
        if (!RecFindByIndex(OBVc::Number, "Code", object.record, 1, 1, &recid, &at)) continue;
        GetText(object.record, OBVc::ObjType, objectType);
        if (!PStringEqual(objectType, type)) continue;
        if (out[0]) PStringAppendC(out, ",");
        PStringAppend(out, code);
    }
}

// The source record's own text: the voucher's, the entry's.
void SourceText(const LedgerRow &row, uint8_t *out) {
    uint32_t at = Voucher::Text;
    if (row.reg == SMVc::Number) at = SMVc::Text;
    else if (row.reg == PersEntryVc::Number) at = PersEntryVc::Text;
    else if (row.reg == OpenBalVc::Number) at = OpenBalVc::Text;
    GetPString(row.source, at, 60, out);
}

// The source text and the row text joined by ", ".
void JoinedText(const uint8_t *source, const uint8_t *text, uint8_t *out) {
    PStringCopy(out, source);
    if (text[0] == 0) return;
    if (out[0]) PStringAppendC(out, ", ");
    PStringAppend(out, text);
}

// True when the row is one the selection lists.
bool RowTaken(const LedgerRow &row) {
    if (row.style != 0 && !Run->styled) return false;
    if (!ObjectListContainsAll(&Run->wanted, row.objects)) return false;
    if (Run->objectType[0] && !Run->keepUntyped) {
        PString typed;
        ObjectsOfType(row.objects, Run->objectType, typed);
        if (typed[0] == 0) return false;
    }
    if (Run->textFilter[0]) {
        PString source, joined;
        SourceText(row, source);
        JoinedText(source, row.text, joined);
        UpperPString(joined);
        if (PStringFind(joined, Run->textFilter) == 0) return false;
    }
    return Run->vatFilter[0] == 0 || PStringEqual(row.vatCode, Run->vatFilter);
}

// The account's head: text 3182, the code, two blanks and the name.
void AccountHead() {
    Run->headPrinted = true;
    Run->hasLines = true;
    if (Run->summary) return;
    PString t, label;
    GetUiText(label, 3182);
    PStringCopy(t, label);
    PStringAppend(t, Run->code);
    PStringAppendC(t, "  ");
    PStringAppend(t, Run->name);
    RepStartLine(LineHeight);
    RepText(0, 0, t, 0);
    RepEndLine();
}

void ColumnHead() {
    Run->columnHeadPrinted = true;
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 3183, 0);
    RepTextNr(ColDate, 0, 3184, 0);
    if (Run->objectType[0]) RepTextNr(Run->objectsX, 0, 3185, 0);
    RepTextNr(Run->textX, 0, 3186, 0);
    RepTextNr(ColDebit, 0, 3187, 1);
    RepTextNr(ColCredit, 0, 3188, 1);
    RepTextNr(ColBalance, 0, 3189, 1);
    // The rows print their VAT code at the right edge: it gets its heading.
    RepTextNr(ColRight, 0, TextVatColumn, 1);
    RepEndLine();
    RepRuleFull(1, 4);
}

// The number text of column 0: the voucher's series and number, or the
// source's label, ":" and its number.
void NumberText(const LedgerRow &row, uint8_t *out) {
    if (row.reg == Voucher::Number) {
        VoucherYearCodeText(out, row.source);
        return;
    }
    int label = 1155;
    uint32_t serial = OpenBalVc::SerNr;
    if (row.reg == SMVc::Number) label = 1154, serial = SMVc::SerNr;
    else if (row.reg == PersEntryVc::Number) label = 1173, serial = PersEntryVc::SerNr;
    GetUiText(out, label);
    PStringAppendC(out, ":");
    PString number;
    LongToDigitText((int32_t)GetU32(row.source, serial), number);
    PStringAppend(out, number);
}

// Where the text of a posting must end: before its debit, which stands
// right-aligned in the debit column; a credit leaves that column empty,
// but the devices still take the empty text's place as taken.
int TextEnd(const PackedDecimal *amount) {
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, *amount);
    PString debit;
    FieldToText(slot, FtDebit, debit);
    return RepOutputState.positions[ColDebit] - RepTextUnits(debit) - ColumnGap;
}

// Lists one taken row: heads first where due, the month rule, the sums.
void ListRow(const LedgerRow &row) {
    if (!Run->headPrinted) AccountHead();
    if (!Run->summary && !Run->columnHeadPrinted) {
        ColumnHead();
        Run->lastMonth = MonthIndex(&row.date);
    }
    if (row.style == 0) {
        DecAdd(&Run->running, &row.amount, &Run->running);
        PackedDecimal *sum = DecIsNegative(&row.amount) ? &Run->credit : &Run->debit;
        DecAdd(sum, &row.amount, sum);
    }
    if (Run->summary) return;
    const uint16_t month = MonthIndex(&row.date);
    if (month != Run->lastMonth) RepRule(ColMonthRule, ColRight, 4);
    Run->lastMonth = month;
    if (row.style == 0) AddVatSummary(Run->vat, row.vatCode, &row.amount);

    PString t, source;
    RepStartLine(LineHeight);
    NumberText(row, t);
    RepCutToUnits(t, RepOutputState.positions[ColDate] - ColumnGap, true);
    RepText(0, 0, t, 0);
    RepValueFmt(ColDate, 0, reinterpret_cast<const uint8_t *>(&row.date), FtDate, 0, row.style);
    if (Run->column7) {
        if (Run->counter) {
            t[0] = 0;
            if (row.reg == Voucher::Number) CounterAccountList(row.source, Run->code, DecIsNegative(&row.amount), t);
        } else if (Run->objectType[0]) {
            ObjectsOfType(row.objects, Run->objectType, t);
        } else {
            PStringCopy(t, row.objects);
        }
        RepCutToUnits(t, Run->textX - Run->objectsX - ColumnGap);
        RepTextEx(Run->objectsX, -1, 0, 0, row.style, t);
    }
    const bool textIsName = row.text[0] <= Run->name[0] && PStringPrefixEqual(row.text, Run->name);
    SourceText(row, source);
    JoinedText(source, textIsName ? (const uint8_t *)"" : row.text, t);
    RepCutToUnits(t, TextEnd(&row.amount) - Run->textX);
    RepTextEx(Run->textX, -1, 0, 0, row.style, t);
    LedgerAmount(ColDebit, &row.amount, FtDebit, row.style);
    LedgerAmount(ColCredit, &row.amount, FtCredit, row.style);
    if (row.style == 0) {
        const PackedDecimal shown = Shown(&Run->running);
        LedgerAmount(ColBalance, &shown);
    }
    RepTextEx(ColRight, -1, 0, 1, row.style, row.vatCode);
    RepEndLine();
}

// The voucher's account rows on account as they stood on date: all its
// rows when it is dated so, else (rows of corrections asked for) the rows
// recorded before its last dated note of that date, in style 1.
void VoucherRows(const uint8_t *voucher, const DateRec &date) {
    const DateRec trans = GetDate(voucher, Voucher::TransDate);
    const int32_t n = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    int32_t end = n;
    int forcedStyle = -1;
    if (DateCompare(&trans, &date) != 0) {
        if (!Run->styled) return;
        end = -1;
        for (int32_t i = n - 1; i >= 0 && end < 0; i--) {
            if (!MatrixRowRead(Voucher::Number, voucher, i, row)) return;
            const DateRec noted = GetDate(row, TransRow::Date);
            if (GetU16(row, TransRow::Kind) == RowDated && DateCompare(&noted, &date) == 0) end = i;
        }
        if (end < 0) return;
        forcedStyle = 1;
    }
    PString account, objects, text, vat;
    for (int32_t i = 0; i < end; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) return;
        if (GetU16(row, TransRow::Kind) != RowAccount) continue;
        GetText(row, TransRow::Account, account);
        if (!PStringEqual(account, Run->code)) continue;
        GetText(row, TransRow::Objects, objects);
        GetText(row, TransRow::Text, text);
        GetText(row, TransRow::VatCode, vat);
        LedgerRow r{voucher, Voucher::Number, objects, text, vat, GetDec(row, TransRow::Amount),
                    forcedStyle >= 0 ? forcedStyle : (int)GetU16(row, TransRow::Flag), date};
        if (RowTaken(r)) ListRow(r);
    }
}

// The rows on account of a register-9, 126 or 51 record.
void EntryRows(int reg, const uint8_t *record, const DateRec &date) {
    uint32_t accountAt = Sp1Row::Account, objectsAt = Sp1Row::Objects, textAt = Sp1Row::Name,
             amountAt = Sp1Row::Amount, vatAt = 0;
    int textMax = 60;
    if (reg == SMVc::Number) {
        accountAt = AccountRow::Account, objectsAt = AccountRow::Objects, textAt = AccountRow::Text;
        amountAt = AccountRow::Amount, vatAt = AccountRow::VatCode, textMax = 20;
    } else if (reg == OpenBalVc::Number) {
        accountAt = Fb1Row::Account, objectsAt = 0, textAt = Fb1Row::AccName, amountAt = Fb1Row::Amount;
        textMax = 20;
    }
    uint8_t row[TransRow::Size];
    assert(RecRowSize(reg) <= sizeof row);
    PString account, objects, text, vat;
    if (objectsAt == 0) GetText(record, OpenBalVc::Objects, objects);
    const int32_t n = MatrixRowCount(reg, 0, record);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(reg, record, i, row)) return;
        GetPString(row, accountAt, 10, account);
        if (!PStringEqual(account, Run->code)) continue;
        if (objectsAt) GetPString(row, objectsAt, ObjectListMax, objects);
        GetPString(row, textAt, textMax, text);
        vat[0] = 0;
        if (vatAt) GetPString(row, vatAt, 2, vat);
        LedgerRow r{record, reg, objects, text, vat, GetDec(row, amountAt), 0, date};
        if (RowTaken(r)) ListRow(r);
    }
}

// Where each source register keeps its serial number and date.
bool SourceFields(int reg, uint32_t *serial, uint32_t *date) {
    switch (reg) {
    case Voucher::Number: *serial = Voucher::SerNr, *date = Voucher::TransDate; return true;
    case SMVc::Number: *serial = SMVc::SerNr, *date = SMVc::Date; return true;
    case PersEntryVc::Number: *serial = PersEntryVc::SerNr, *date = PersEntryVc::TransDate; return true;
    case OpenBalVc::Number: *serial = OpenBalVc::SerNr, *date = OpenBalVc::TransDate; return true;
    default: return false;
    }
}

// Walks the account's postings of the period; false when Esc stopped it.
bool AccountPostings() {
    uint8_t entry[ATVc::Size] = {};
    PutText(entry, ATVc::Account, Run->code);
    PutDate(entry, ATVc::Date, Run->from);
    RuleRecord vouchers(Voucher::Number), sm1(SMVc::Number), sp1(PersEntryVc::Number), fb1(OpenBalVc::Number);
    if (!vouchers.record || !sm1.record || !sp1.record || !fb1.record) return true;
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ATVc::Number, "AccDate", entry, 2, 0, &recid, &position)) return true;
    PString code;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(ATVc::Number, "AccDate", (int32_t)p, entry, &recid)) break;
        GetText(entry, ATVc::Account, code);
        if (!PStringEqual(code, Run->code)) break;
        const DateRec date = GetDate(entry, ATVc::Date);
        if (!DateIsEmpty(&Run->to) && DateCompare(&date, &Run->to) > 0) break;
        const int reg = GetU16(entry, ATVc::SourceReg);
        uint32_t serialAt = 0, dateAt = 0;
        if (SourceFields(reg, &serialAt, &dateAt) && (reg != SMVc::Number || Run->secondKind)) {
            uint8_t *source = reg == Voucher::Number ? vouchers.record
                              : reg == SMVc::Number  ? sm1.record
                              : reg == PersEntryVc::Number ? sp1.record
                                                           : fb1.record;
            RecFreeMatrix(reg, source);
            const bool found = RecReadById(reg, GetU32(entry, ATVc::SourceRecId), source) &&
                               GetU32(source, serialAt) == GetU32(entry, ATVc::SourceSerNr) &&
                               (reg != Voucher::Number ||
                                GetU16(source, Voucher::YearCode) == GetU16(entry, ATVc::YearCode));
            const DateRec own = GetDate(source, dateAt);
            if (found && reg == Voucher::Number) VoucherRows(source, date);
            else if (found && DateCompare(&own, &date) == 0) EntryRows(reg, source, date);
            RecFreeMatrix(reg, source);
        }
        if (ReportCancelled()) return false;
    }
    return true;
}

// The account's opening balance for the period.
void OpeningBalance(int type, PackedDecimal *out) {
    DecSetZero(out);
    if (type <= 2) {
        AccountBalanceBefore(Run->code, Run->objects, &Run->from, 0, Run->secondKind, out);
    } else if (YearToDate) {
        DateRec dayBefore;
        DateAddDays(&Run->from, -1, &dayBefore);
        AccountBalanceChange(Run->code, Run->objects, &YearStart, &dayBefore, 0, Run->secondKind, out);
    }
}

// The closing lines of an account.
void AccountEnd() {
    if (!Run->headPrinted && !DecIsZero(&Run->opening)) AccountHead();
    if (Run->hasLines && !Run->summary && DecIsBlank(&Run->debit) && DecIsBlank(&Run->credit)) Run->hasLines = false;
    const PackedDecimal closing = Shown(&Run->running);
    if (Run->hasLines) {
        DecAdd(&Run->grandDebit, &Run->debit, &Run->grandDebit);
        DecAdd(&Run->grandCredit, &Run->credit, &Run->grandCredit);
        if (Run->summary) {
            RepStartLine(LineHeight);
            RepText(0, 0, Run->code, 0);
            RepText(50, 0, Run->name, 0);
            // Both sums as amounts, the credit as a positive one, so that
            // a zero shows in either column alike.
            PackedDecimal credit;
            DecNegateInto(&Run->credit, &credit);
            LedgerAmount(ColDebit, &Run->debit);
            LedgerAmount(ColCredit, &credit);
            LedgerAmount(ColRight, &closing);
            RepEndLine();
        } else {
            // On a drawn page a short gap first: the rule is drawn where the
            // last row's line ends, which would cross the descenders of its
            // text. A file's lines have no descenders and get no gap.
            if (RepDeviceDraws()) {
                RepStartLine(RuleGap);
                RepEndLine();
            }
            RepRule(ColSumRule, ColRight, 2);
            RepStartLine(LineHeight);
            RepTextNr(Run->textX, 0, 3192, 0);
            LedgerAmount(ColDebit, &Run->debit, FtDebit);
            LedgerAmount(ColCredit, &Run->credit, FtCredit);
            RepEndLine();
            RepStartLine(5);
            RepEndLine();
        }
    }
    if (Run->summary || !Run->headPrinted) return;
    const PackedDecimal opening = Shown(&Run->opening);
    RepStartLine(LineHeight);
    RepTextNr(Run->textX, 0, 3193, 0);
    LedgerAmount(ColBalance, &opening);
    RepEndLine();
    if (Run->hasLines) {
        PackedDecimal net;
        DecAdd(&Run->debit, &Run->credit, &net);
        RepStartLine(LineHeight);
        RepTextNr(Run->textX, 0, 3194, 0);
        LedgerAmount(ColDebit, &net, FtDebit);
        LedgerAmount(ColCredit, &net, FtCredit);
        RepEndLine();
        RepStartLine(LineHeight);
        RepTextNr(Run->textX, 0, 3195, 0);
        LedgerAmount(ColBalance, &closing);
        RepEndLine();
    }
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepEndLine();
}

bool EachAccount(const uint8_t *account, void *) {
    Run->account = account;
    GetText(account, ACVc::Code, Run->code);
    GetText(account, ACVc::Name, Run->name);
    const int type = GetU16(account, ACVc::AccType);
    Run->negate = LedgerSignNegates(type);
    Run->headPrinted = Run->columnHeadPrinted = Run->hasLines = false;
    Run->lastMonth = 0;
    OpeningBalance(type, &Run->opening);
    Run->running = Run->opening;
    if (Run->summary) {
        DecSetZero(&Run->debit);
        DecSetZero(&Run->credit);
    } else {
        DecSetBlank(&Run->debit);
        DecSetBlank(&Run->credit);
    }
    if (!Run->headOnlyWithLines) AccountHead();
    const bool whole = AccountPostings();
    AccountEnd();
    return whole;
}

// The summary by VAT code: a line per code with its name (block 208).
void PrintVatSummary() {
    ReportHeadings(LineHeight, {{60, 3198}, {ColDebit, 3187, 1}, {ColCredit, 3188, 1}});
    RepRuleFull(1, 4);
    SettingsRows codes(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    PackedDecimal debit, credit;
    DecSetZero(&debit);
    DecSetZero(&credit);
    PString code, name;
    for (const VatSummaryEntry &e : Run->vat) {
        name[0] = 0;
        for (int32_t i = 0; i < codes.count; i++) {
            GetText(codes.data + (size_t)i * VatCodeRow::Size, VatCodeRow::Code, code);
            if (PStringEqual(code, e.code)) {
                GetText(codes.data + (size_t)i * VatCodeRow::Size, VatCodeRow::Name, name);
                break;
            }
        }
        RepStartLine(LineHeight);
        RepText(60, 0, e.code, 0);
        RepText(90, 0, name, 0);
        LedgerAmount(ColDebit, &e.debit);
        LedgerAmount(ColCredit, &e.credit);
        RepEndLine();
        DecAdd(&debit, &e.debit, &debit);
        DecAdd(&credit, &e.credit, &credit);
    }
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    LedgerAmount(ColDebit, &debit);
    LedgerAmount(ColCredit, &credit);
    RepEndLine();
}

// True when register 11 holds a voucher.
bool AnyVoucher() {
    RuleRecord v(Voucher::Number);
    uint32_t recid = 0;
    const bool any = v.record && RecReadAt(Voucher::Number, 1, v.record, &recid);
    if (v.record) RecFreeMatrix(Voucher::Number, v.record);
    return any;
}

}  // namespace

void AddVatSummary(std::vector<VatSummaryEntry> &summary, const uint8_t *code, const PackedDecimal *amount) {
    assert(code && amount);
    if (code[0] == 0) return;
    VatSummaryEntry *entry = nullptr;
    for (VatSummaryEntry &e : summary)
        if (PStringEqual(e.code, code)) entry = &e;
    if (!entry) {
        VatSummaryEntry e{};
        PutPString(e.code, 0, 10, code);
        DecSetZero(&e.debit);
        DecSetZero(&e.credit);
        summary.push_back(e);
        entry = &summary.back();
    }
    if (DecIsNegative(amount)) {
        PackedDecimal magnitude;
        DecAbs(amount, &magnitude);
        DecAdd(&entry->credit, &magnitude, &entry->credit);
    } else {
        DecAdd(&entry->debit, amount, &entry->debit);
    }
}

void CounterAccountList(const uint8_t *voucher, const uint8_t *account, bool credit, uint8_t *out) {
    assert(voucher && account && out);
    (void)account;   // the other rows are those of the opposite sign
    out[0] = 0;
    uint8_t row[TransRow::Size];
    PString other;
    int found = 0;
    const int32_t n = MatrixRowCount(Voucher::Number, 0, voucher);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) break;
        if (GetU16(row, TransRow::Kind) != RowAccount || GetU16(row, TransRow::Flag) != 0) continue;
        const PackedDecimal amount = GetDec(row, TransRow::Amount);
        if (credit ? DecCompareDouble(&amount, 1.0) < 0 : DecCompareDouble(&amount, -1.0) > 0) continue;
        if (++found > 3) {
            // An ellipsis of plain points: the same in every character set.
            PStringAppendC(out, "...");
            return;
        }
        GetText(row, TransRow::Account, other);
        if (found > 1) PStringAppendC(out, ",");
        PStringAppend(out, other);
    }
}

namespace {

// The objects and text columns start at their stops or, on a device whose
// date is wider than the room the stops leave it (the preview's screen
// font), just past the date, so that a date never pushes the rest of its
// posting onto a line of its own. All dates are as wide as today's. A
// device that measures nothing (a file, the client of a remote session)
// keeps the stops themselves.
void PlaceTextColumns() {
    Run->objectsX = ColObjects;
    Run->textX = ColText;
    PString date;
    FieldToText(reinterpret_cast<const uint8_t *>(&TodayDate), FtDate, date);
    const int dateWidth = RepTextUnits(date);
    if (dateWidth == 0) return;
    const PositionTable &stops = RepOutputState.positions;
    const int dateEnd = stops[ColDate] + dateWidth + ColumnGap;
    Run->objectsX = std::max<int>(stops[ColObjects], dateEnd);
    Run->textX = std::max<int>(stops[ColText], dateEnd);
}

}  // namespace

// Report 6.
void LedgerReport6(ReportJob &job) {
    assert(job.selection);
    Ledger run{};
    Run = &run;
    run.summary = GetU16(job.selection, P::ReportLayout) != 0;
    run.secondKind = GetU16(job.selection, P::SecondKind) != 0;
    run.styled = GetU16(job.selection, P::Option2) != 0;
    run.keepUntyped = GetU16(job.selection, P::Option3) != 0;
    run.counter = GetU16(job.selection, P::Option4) != 0;
    run.column7 = run.counter || GetU16(job.selection, P::Option7) != 0;
    run.headOnlyWithLines = GetU16(job.selection, P::RangeKind) != 0;
    run.from = GetDate(job.selection, P::DateFrom);
    run.to = GetDate(job.selection, P::DateTo);
    GetText(job.selection, P::ObjectSel, run.objects);
    ParseObjectList(run.objects, &run.wanted);
    GetText(job.selection, P::ObjectType, run.objectType);
    GetText(job.selection, P::SelText4, run.textFilter);
    UpperPString(run.textFilter);
    GetTextPrefix(job.selection, P::SelText1, 10, run.vatFilter);
    PString range, from, to;
    GetText(job.selection, P::SelText7, range);
    RangeSplitToFields(range, job.selection + P::SelText5, job.selection + P::SelText6, 10);
    GetTextPrefix(job.selection, P::SelText5, 10, from);
    GetTextPrefix(job.selection, P::SelText6, 10, to);
    ReportFiscalYear(job.selection);
    DecSetZero(&run.grandDebit);
    DecSetZero(&run.grandCredit);
    if (CancelFlag) {
        Run = nullptr;
        return;
    }

    RepBeginJobNr(3181);
    PlaceTextColumns();
    if (!run.summary) {
        RepStartLine(10);
        RepEndLine();
    } else {
        ReportHeadings(20, {{0, 3242}, {50, 3243}, {ColDebit, 3187, 1}, {ColCredit, 3188, 1}, {ColRight, 3189, 1}});
    }
    if (!AnyVoucher()) LedgerTextLine(LineHeight, 0, 3190);
    if (WalkAccountRange(from, to, EachAccount, nullptr)) {
        RepStartLine(LineHeight);
        RepTextNr(Run->textX, 0, 3196, 0);
        PackedDecimal credit;
        DecNegateInto(&run.grandCredit, &credit);
        LedgerAmount(ColDebit, &run.grandDebit);
        LedgerAmount(ColCredit, &credit);
        RepEndLine();
        if (GetU16(job.selection, P::Option5) != 0) VoucherNumberRanges(job.selection);
        if (GetU16(job.selection, P::Option6) != 0) PrintVatSummary();
    }
    RepEndJob();
    Run = nullptr;
}
