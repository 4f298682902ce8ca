// voucher_print.cpp - a voucher on paper: its heads, its rows and the
// print of one voucher on the printer.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/accounts.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

int32_t VoucherRowCounter = 0;

namespace {

constexpr int RowsPerPage = 30;   // the counter restarts past this: 30 rows on page 1, 31 on later ones
constexpr int HeadValueX = 360;   // the voucher head's values, after their labels

// Writes interface text n followed by the PString tail into out (a 256-byte PString).
void TextNrJoined(int n, const uint8_t *tail, uint8_t *out) {
    uint8_t head[256];
    GetUiText(head, n);
    PStringCopy(out, head);
    PStringAppend(out, tail);
}

// The series-and-number text of a voucher reference (code, number).
void ReferenceText(uint16_t code, uint32_t number, uint8_t *out) {
    YearCodeText(out, code, number);
}

// The label of an account row: the account's name, or the row text when
// useName is 0, the name is not found, or the text is not the beginning
// of the name.
void AccountRowLabel(const uint8_t *row, int useName, uint8_t *out) {
    uint8_t text[256], account[256], name[256];
    GetText(row, Voucher::Rows::Text, text);
    PStringCopy(out, text);
    if (!useName) return;
    GetText(row, Voucher::Rows::Account, account);
    if (!AccountNameOf(account, name, 60)) return;
    if (text[0] == 0 || (text[0] <= name[0] && std::memcmp(text + 1, name + 1, text[0]) == 0))
        PStringCopy(out, name);
}

// Prints the rows of kinds 2 to 4 (the note, reference and plain
// reference lines) with the texts of the print-out or of the row printer.
void PrintOtherRow(const uint8_t *voucher, const uint8_t *row, int inJournal) {
    uint16_t kind = GetU16(row, Voucher::Rows::Kind);
    uint8_t text[256], joined[256];
    if (kind == 2) {
        GetText(row, Voucher::Rows::Code, text);
        RepStartLine(15);
        if (inJournal) {
            RepTextNr(20, 0, 3063, 0);
            RepValueFmt(150, 0, row + Voucher::Rows::Date, FtDate, 0, 0);
            TextNrJoined(3062, text, joined);
            RepText(280, 0, joined, 1);
            RepTextNr(420, 0, 3064, 1);
            RepValueFmt(1, 0, row + Voucher::Rows::Date2, FtDate, 1, 0);
        } else {
            TextNrJoined(3051, text, joined);
            RepTextNr(20, 0, 3052, 0);
            RepValueFmt(150, 0, row + Voucher::Rows::Date, FtDate, 0, 0);
            RepText(280, 0, joined, 1);
            DateRec second = GetDate(row, Voucher::Rows::Date2), trans = GetDate(voucher, Voucher::TransDate);
            if (DateCompare(&second, &trans) != 0) {
                RepTextNr(420, 0, 3053, 1);
                RepValueFmt(1, 0, row + Voucher::Rows::Date2, FtDate, 1, 0);
            }
        }
        RepEndLine();
    } else if (kind == 3 || kind == 4) {
        ReferenceText(GetU16(row, Voucher::Rows::LinkYearCode), GetU32(row, Voucher::Rows::LinkSerNr), text);
        RepStartLine(15);
        if (kind == 3 && inJournal) {
            RepTextNr(20, 0, 3065, 0);
            RepText(150, 0, text, 0);
            RepTextNr(200, 0, 3066, 0);
            RepValueFmt(280, 0, row + Voucher::Rows::LinkDate, FtDate, 0, 0);
        } else if (kind == 3) {
            RepTextNr(180, 0, 3054, 1);
            RepText(200, 0, text, 0);
            RepTextNr(350, 0, 3055, 1);
            RepValueFmt(370, 0, row + Voucher::Rows::LinkDate, FtDate, 0, 0);
        } else if (inJournal) {
            RepTextNr(20, 0, 3067, 0);
            RepText(150, 0, text, 0);
        } else {
            RepTextNr(180, 0, 3056, 1);
            RepText(200, 0, text, 0);
        }
        RepEndLine();
    }
}

}  // namespace

// Prints a voucher: the company and voucher heads, the column heads and
// every row, a new page before each 31st row; Esc ends the rows. The
// head's values stand beside their labels (right-aligned at 350); a value
// begun at the line's right edge would have no room there and fall down
// the margin a letter a line.
void PrintVoucher(int, const uint8_t *voucher) {
    assert(voucher);
    uint8_t text[256];
    RepStartLine(15);
    RepEndLine();
    RepStartLine(15);
    if (CompanyBlock) {
        GetText(CompanyBlock, CompanyBlk::CompanyName, text);
        RepText(0, 0, text, 0);
    }
    RepTextNr(350, 0, 3041, 1);
    VoucherYearCodeText(text, voucher);
    RepText(HeadValueX, 0, text, 0);
    RepEndLine();
    struct Head { int label; uint32_t field; int width; int right; uint32_t date; };
    const Head heads[] = {{3042, Voucher::Text, 60, 3043, Voucher::RegDate},
                          {3044, Voucher::Code, 5, 3045, Voucher::TransDate}};
    for (const Head &h : heads) {
        RepStartLine(15);
        RepTextNr(0, 0, h.label, 0);
        GetPString(voucher, h.field, h.width, text);
        RepText(60, 0, text, 0);
        RepTextNr(350, 0, h.right, 1);
        RepValueFmt(HeadValueX, 0, voucher + h.date, FtDate, 0, 0);
        RepEndLine();
    }
    RepStartLine(15);
    RepTextNr(350, 0, 3057, 1);
    GetText(voucher, Voucher::Text2, text);
    RepText(HeadValueX, 0, text, 0);
    RepEndLine();
    RepStartLine(60);
    RepEndLine();
    ReportHeadings(15, {{20, 3046}, {60, 3047}, {160, 3048}, {380, 3049, 1}, {1, 3050, 1}});
    RepStartLine(2);
    RepEndLine();

    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[Voucher::Rows::Size];
    int32_t onPage = 0;
    for (int32_t i = 0; i < count && !CancelFlag; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) continue;
        if (++onPage > RowsPerPage) {
            onPage = 0;
            RepNewPage(0);
            RepStartLine(60);
            RepEndLine();
        }
        if (GetU16(row, Voucher::Rows::Kind) != RowAccount) {
            PrintOtherRow(voucher, row, 0);
            continue;
        }
        int style = GetU16(row, Voucher::Rows::Flag);
        PackedDecimal amount = GetDec(row, Voucher::Rows::Amount);
        RepStartLine(15);
        GetText(row, Voucher::Rows::Account, text);
        RepTextEx(20, -1, 0, 0, style, text);
        GetText(row, Voucher::Rows::Objects, text);
        RepTextEx(60, -1, 0, 0, style, text);
        AccountRowLabel(row, 1, text);
        uint8_t own[256];
        GetText(row, Voucher::Rows::Text, own);
        RepTextEx(160, -1, 0, 0, style, own[0] ? own : text);
        RepValueFmt(380, 0, reinterpret_cast<const uint8_t *>(&amount), FtDebit, 1, style);
        RepValueFmt(1, 0, reinterpret_cast<const uint8_t *>(&amount), FtCredit, 1, style);
        RepEndLine();
    }
}

void VoucherRowsHeading(int height) {
    ReportHeadings(height, {{20, 2744}, {60, 2748}, {380, 2745, 1}, {5, 2746, 1}, {1, Texts::ReportVatHeading, 1}});
}

// Prints one voucher row for a journal: account rows with the label
// report 15 and 65 take, style-0 rows counted and their positive amounts
// added to debitTotal; other kinds with the journal's texts.
void PrintVoucherRow(int report, const uint8_t *voucher, const uint8_t *row, PackedDecimal *debitTotal,
                     MemBlock vatSummary) {
    assert(row && debitTotal);
    assert(vatSummary == 0);   // report 15's VAT summary belongs to a later report
    if (GetU16(row, Voucher::Rows::Kind) != RowAccount) {
        PrintOtherRow(voucher, row, 1);
        return;
    }
    int style = GetU16(row, Voucher::Rows::Flag);
    PackedDecimal amount = GetDec(row, Voucher::Rows::Amount);
    if (style == 0) {
        VoucherRowCounter++;
        if (DecSign(&amount) > 0) DecAdd(debitTotal, &amount, debitTotal);
    }
    uint8_t text[256];
    RepStartLine(15);
    GetText(row, Voucher::Rows::Account, text);
    RepTextEx(20, -1, 0, 0, style, text);
    GetText(row, Voucher::Rows::Objects, text);
    RepTextEx(60, -1, 0, 0, style, text);
    AccountRowLabel(row, report == 15 || report == 65, text);
    RepTextEx(report == 65 ? 100 : 160, -1, 0, 0, style, text);
    RepValueFmt(380, 0, reinterpret_cast<const uint8_t *>(&amount), FtDebit, 1, style);
    RepValueFmt(5, 0, reinterpret_cast<const uint8_t *>(&amount), FtCredit, 1, style);
    RepValueFmt(1, 0, row + Voucher::Rows::VatCode, FtCodeNoSep, 1, style);
    RepEndLine();
}

// Prints one voucher on the printer as report `report`, as a job of its
// own: a copy of the job record the output prints from with the report,
// the printer and no set-up dialog, so the user's report selection
// survives a print made on approval. ThousandsFlag is put back afterwards.
void PrintVoucherNow(int report, const uint8_t *voucher) {
    assert(voucher);
    std::vector<uint8_t> selection(ReportParamsVc::Size, 0);
    if (const uint8_t *current = CurrentJobRecord()) std::memcpy(selection.data(), current, selection.size());
    ReportJob job{selection.data()};
    OutputJobAttach attached(job);
    const uint8_t thousands = ThousandsFlag;
    ThousandsFlag = 1;
    PutU16(job.selection, ReportParamsVc::ReportNumber, uint16_t(report));
    PutU16(job.selection, ReportParamsVc::OutputKind, OutPrinter);
    PutU16(job.selection, ReportParamsVc::SetupDialog, 0);
    const uint8_t empty[1] = {0};
    RepOpenJob(empty);
    PrintVoucher(25, voucher);
    RepEndJob();
    ThousandsFlag = thousands;
}
