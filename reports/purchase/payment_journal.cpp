// payment_journal.cpp - reports 28 and 92, the payment journals: the
// outgoing payments (register 30) or the person payments (register 110)
// of a number range, each with its rows and its currency sum, then the
// home-currency sums per payment mode of block 131, the sum of those
// without a mode, and the grand total of every payment listed.
//
// Both registers lay a payment out alike except for a few fields; one
// walk serves both through the table of where each keeps them.
#include <cassert>
#include <iterator>
#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;
constexpr int StopRight = 1;
constexpr int HomeCurrencyText = 2369;

// What a cell of a payment row holds: the paid invoice's number (none for
// a payment on account), a text, or a vendor's code followed by its name.
enum class Cell { InvoiceNumber, Text, Vendor };

// A column of the payment rows: where it stands, the heading over it, and
// the row's field (at most max characters) it prints.
struct RowColumn {
    int x;
    int heading;
    uint32_t at;
    int max;
    Cell cell;
};

// Where a payment register keeps what the journal prints, and the texts
// of its heading (0: none).
struct PaymentJournalDef {
    int reg;
    int title;
    int head1[5];          // at 0, 60, 120, 170, 220
    RowColumn columns[4];  // the row's columns left of the amount (heading 0: none)
    int rateHead, amountHead;   // at 380 r and stop 1 r
    uint32_t serNr, text, text2, total, transDate, payDate, payMode, approved, posted, currency, rate, home, extra;
    uint32_t rowSize, rowFlag, rowAmount;
    int modeRuleFrom;       // where the rule over the grand total starts
};

// An outgoing payment's row pays an invoice to a vendor: the giro or
// text it goes with, the vendor, and the vendor's account the bank files
// pay to, each under its own heading (as the payment window heads them).
constexpr PaymentJournalDef OutPayments{
    OPVc::Number, 4081, {4087, 4088, 4089, 4090, 4091},
    {{20, 4082, OPVc::Rows::InvoiceNr, 0, Cell::InvoiceNumber},
     {60, 4083, OPVc::Rows::InvPayText, OPVc::Rows::InvPayText.Length, Cell::Text},
     {160, 4084, OPVc::Rows::VendCode, OPVc::Rows::VendCode.Length, Cell::Vendor},
     {270, Texts::HeadingOpAccount, OPVc::Rows::AccountText, OPVc::Rows::AccountText.Length, Cell::Text}},
    4085, 4086,
    OPVc::SerNr, OPVc::PayText, OPVc::Text2, OPVc::RowsTotal, OPVc::TransDate, OPVc::PayDate, OPVc::PayMode,
    OPVc::Approved, OPVc::Posted, OPVc::CurncyCode, OPVc::Rate, OPVc::HomeTotal, OPVc::BankCharges,
    OPVc::Rows::Size, OPVc::Rows::Flag, OPVc::Rows::Amount, 6};

// The person payments have no column layout of their own: the rule over
// the grand total starts where report 28's stop 6 lies. Their rate is
// headed as report 28 heads it. A row pays a person: its code, the
// row's text and the person's name.
constexpr PaymentJournalDef PersonPayments{
    PersPayVc::Number, 5161, {5167, 5168, 5169, 5170, 5171},
    {{20, 5162, PersPayVc::Rows::Person, PersPayVc::Rows::Person.Length, Cell::Text},
     {60, 5163, PersPayVc::Rows::RowText, PersPayVc::Rows::RowText.Length, Cell::Text},
     {160, 5164, PersPayVc::Rows::Name, PersPayVc::Rows::Name.Length, Cell::Text},
     {0, 0, 0, 0, Cell::Text}},
    4085, 5166,
    PersPayVc::SerNr, PersPayVc::Text, PersPayVc::Text66, PersPayVc::Total, PersPayVc::TransDate,
    PersPayVc::PayDate, PersPayVc::PayMode, PersPayVc::Approved, PersPayVc::Posted, PersPayVc::CurncyCode,
    PersPayVc::Rate, PersPayVc::BankAmount, PersPayVc::BankCharges,
    PersPayVc::Rows::Size, PersPayVc::Rows::Flag, PersPayVc::Rows::Amount, 288};

// True when the journal's selection takes payment: its payment mode
// (SelText3), its payment date within the period, and its state (Option1
// unapproved, Option2 approved and unposted, Option3 posted; none ticked
// takes every state).
bool PaymentWanted(const uint8_t *selection, const PaymentJournalDef &d, const uint8_t *payment) {
    uint8_t want[256], mode[256];
    GetText(selection, ReportParamsVc::SelText3, want);
    GetPString(payment, d.payMode, 1, mode);
    if (want[0] && !PStringEqual(want, mode)) return false;
    const DateRec date = GetDate(payment, d.payDate);
    const DateRec from = GetDate(selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(selection, ReportParamsVc::DateTo);
    if (!DateInRange(&date, &from, &to)) return false;
    const bool approved = GetU16(payment, d.approved) != 0, posted = GetU16(payment, d.posted) != 0;
    namespace P = ReportParamsVc;
    return ParamBoxesAdmit(selection, {P::Option1, P::Option2, P::Option3}, posted ? 2 : approved ? 1 : 0);
}

// The vendor of code as a row names it: the code, a blank and the
// vendor's name (the code alone when the register lacks the vendor).
void VendorText(const uint8_t *code, uint8_t *text) {
    PStringCopy(text, code);
    RuleRecord vendor(VEVc::Number);
    if (code[0] == 0 || !VendorRead(code, vendor)) return;
    uint8_t name[256];
    GetText(vendor.record, VEVc::Name, name);
    PStringAppendC(text, " ");
    PStringAppend(text, name);
}

// The cells of a payment row left of its amount (which begins at
// amountAt), each in the row's style and cut where the next one begins.
void PrintRowCells(const PaymentJournalDef &d, const uint8_t *row, int amountAt, int style) {
    for (size_t c = 0; c < std::size(d.columns) && d.columns[c].heading; c++) {
        const RowColumn &col = d.columns[c];
        const bool last = c + 1 == std::size(d.columns) || d.columns[c + 1].heading == 0;
        const int end = last ? amountAt : RepPositionUnits(d.columns[c + 1].x);
        if (col.cell == Cell::InvoiceNumber) {
            if (GetI32(row, col.at) != -1) RepValueFmt(col.x, 0, row + col.at, FtLong, 0, style);
            continue;
        }
        uint8_t text[256];
        GetPString(row, col.at, col.max, text);
        if (col.cell == Cell::Vendor) {
            uint8_t code[256];
            PStringCopy(code, text);
            VendorText(code, text);
        }
        RepCutToUnits(text, end - RepPositionUnits(col.x) - RepColumnGap);
        RepTextEx(col.x, -1, 0, 0, style, text);
    }
}

// Prints one payment: a rule, its line, its rows in their style, then
// (when its counting rows sum to anything) its currency (or the words
// for home currency), rate and sum, the extra amount and the home total
// where they tell something.
void PrintPayment(const PaymentJournalDef &d, const uint8_t *payment) {
    RepRuleFull(1, 1);
    RepStartLine(LineHeight);
    RepValue(0, 0, payment + d.serNr, FtLong, 0);
    RepValue(60, 0, payment + d.transDate, FtDate, 0);
    RepValue(120, 0, payment + d.payDate, FtDate, 0);
    RepTextField(180, payment, d.text2, 5);
    RepTextField(220, payment, d.text, 60);
    RepEndLine();

    PackedDecimal sum;
    DecSetBlank(&sum);
    std::vector<uint8_t> row(d.rowSize);
    const int32_t rows = MatrixRowCount(d.reg, 0, payment);
    for (int32_t i = 0; i < rows && MatrixRowRead(d.reg, payment, i, row.data()); i++) {
        const int style = GetU16(row.data(), d.rowFlag);
        const PackedDecimal amount = GetDec(row.data(), d.rowAmount);
        RepStartLine(LineHeight);
        PrintRowCells(d, row.data(), RepAmountStart(StopRight, amount), style);
        RepAmountAt(StopRight, &amount, FtAmount2, -1, style);
        RepEndLine();
        if (style == 0) DecAdd(&sum, &amount, &sum);
    }
    if (DecIsBlank(&sum)) return;
    RepRule(350, StopRight, 2);
    RepStartLine(LineHeight);
    // The sum names its currency: a payment in home currency has no code,
    // and says so, so that no amount stands without its word.
    uint8_t currency[256];
    GetPString(payment, d.currency, 5, currency);
    if (currency[0] != 0) RepTextField(280, payment, d.currency, 5, 0, -1);
    else RepTextNr(280, 0, HomeCurrencyText, -1);
    // A rate of zero is none (the payment is not converted): under "Rate"
    // it would read as a rate of nothing, so it prints blank (a text file
    // keeps its empty field, the columns after it in place).
    PackedDecimal rate = GetDec(payment, d.rate);
    if (DecIsZero(&rate)) DecSetBlank(&rate);
    RepAmountAt(380, &rate);
    RepAmountAt(StopRight, &sum);
    RepEndLine();
    const PackedDecimal extra = GetDec(payment, d.extra);
    if (!DecIsZero(&extra)) {
        RepStartLine(LineHeight);
        RepAmountAt(StopRight, &extra);
        RepEndLine();
    }
    const PackedDecimal home = GetDec(payment, d.home), total = GetDec(payment, d.total);
    if (!DecEqual(&home, &total)) {
        RepStartLine(LineHeight);
        RepAmountAt(StopRight, &home);
        RepEndLine();
    }
}

// The journal of either register.
void PaymentJournal(const uint8_t *selection, const PaymentJournalDef &d) {
    assert(selection);
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    std::vector<PackedDecimal> modeSums((size_t)(modes.count > 0 ? modes.count : 0));
    for (PackedDecimal &s : modeSums) DecSetBlank(&s);
    PackedDecimal grand, modeless;
    DecSetZero(&grand);
    DecSetBlank(&modeless);

    RepBeginJobNr(d.title);
    RepStartLine(LineHeight);
    const int x1[5] = {0, 60, 120, 170, 220};
    for (int i = 0; i < 5; i++) RepTextNr(x1[i], 0, d.head1[i], 0);
    RepEndLine();
    RepStartLine(20);
    for (const RowColumn &col : d.columns)
        if (col.heading) RepTextNr(col.x, 0, col.heading, 0);
    RepTextNr(380, 0, d.rateHead, -1);
    RepTextNr(StopRight, 0, d.amountHead, -1);
    RepEndLine();

    SerialRangeWalk(selection, d.reg, d.serNr, [&](const uint8_t *payment, uint32_t) {
        if (!PaymentWanted(selection, d, payment)) return true;
        uint8_t mode[256];
        GetPString(payment, d.payMode, 1, mode);
        PackedDecimal home = GetDec(payment, d.home);
        if (DecIsBlank(&home)) DecSetZero(&home);
        DecAdd(&grand, &home, &grand);
        if (!mode[0]) DecAdd(&modeless, &home, &modeless);
        if (mode[0]) {
            for (int32_t i = 0; i < modes.count; i++) {
                uint8_t code[256];
                GetText(modes.data + (size_t)i * PaymentModeBlk::Rows::Size, PaymentModeBlk::Rows::Code, code);
                if (PStringEqual(code, mode)) DecAdd(&modeSums[(size_t)i], &home, &modeSums[(size_t)i]);
            }
        }
        PrintPayment(d, payment);
        return true;
    });

    RepRuleFull(1, 1);
    RepStartLine(10);
    RepEndLine();
    for (int32_t i = 0; i < modes.count; i++) {
        if (DecIsBlank(&modeSums[(size_t)i])) continue;
        const uint8_t *row = modes.data + (size_t)i * PaymentModeBlk::Rows::Size;
        RepStartLine(LineHeight);
        RepTextField(50, row, PaymentModeBlk::Rows::Code);
        RepTextField(100, row, PaymentModeBlk::Rows::Name);
        RepAmountAt(StopRight, &modeSums[(size_t)i]);
        RepEndLine();
    }
    // Payments without a mode have a line of their own, so that the lines
    // above the rule add up to the grand total.
    if (!DecIsBlank(&modeless)) {
        RepStartLine(LineHeight);
        RepTextNr(100, 0, Texts::PaymentsWithoutMode, 0);
        RepAmountAt(StopRight, &modeless);
        RepEndLine();
    }
    // The sums stand under the amounts they add, in the Amount column.
    RepRule(d.modeRuleFrom, StopRight, 2);
    RepStartLine(LineHeight);
    RepTextNr(100, 0, 2429, 0);
    RepAmountAt(StopRight, &grand);
    RepEndLine();
    RepEndJob();
}

}  // namespace

// Report 28: the outgoing payments of SelText1's number range that the
// selection takes, each with its rows; then the sums per payment mode,
// the sum of the payments without one and the grand total of all. Esc
// stops the walk after the payment at hand; the sums and the job's end
// still come.
void ReportPurchInvoicePayments(ReportJob &job) { PaymentJournal(job.selection, OutPayments); }

// Report 92: the person payments, as report 28 lists the outgoing ones.
void Register110Report(ReportJob &job) { PaymentJournal(job.selection, PersonPayments); }
