// receipt_journal.cpp - report 13, the customer-receipt journal: each
// receipt with its rows and totals, then the home-currency sums per
// payment mode, of cash discounts and of bank charges, and the grand
// total.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/sales_reports.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr int LineHeight = 12;
// Column stops of the report's layout (ReportColumnLayout): amounts at 1.
constexpr int Col1 = 1, Col2 = 2, Col3 = 3, Col4 = 4;

// A home-currency sum per payment mode code, in first-seen order.
struct ModeSum {
    uint8_t code[8];
    PackedDecimal sum;
};

// The walk's sums: per payment mode, of kind-5 and kind-6 rows, in all.
struct ReceiptTotals {
    std::vector<ModeSum> modes;
    PackedDecimal discounts, charges, grand;
};

// Writes the PString text at x, aligned by align.
void Text(int x, const uint8_t *text, int align = 0) { RepTextEx(x, -1, 0, align, 0, text); }

// Adds amount to the sum of payment mode code.
void AddToMode(ReceiptTotals *t, const uint8_t *code, const PackedDecimal *amount) {
    for (ModeSum &m : t->modes)
        if (PStringEqual(m.code, code)) {
            DecAdd(&m.sum, amount, &m.sum);
            return;
        }
    ModeSum m{};
    PStringCopy(m.code, code);
    DecSetZero(&m.sum);
    DecAdd(&m.sum, amount, &m.sum);
    t->modes.push_back(m);
}

// The name of customer code into name; empty when there is none.
void CustomerName(const uint8_t *code, uint8_t *name) {
    name[0] = 0;
    RuleRecord c(CUVc::Number);
    if (!c.record) return;
    PutText(c.record, CUVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(CUVc::Number, c.record, 1, 1, &recid, &position)) GetText(c.record, CUVc::Name, name);
}

// True when receipt passes the job record's filters, in their order:
// payment mode (SelText3), the unposted box (Option2) or the posted
// box (Option3), neither admitting both, the receipt date from DateFrom and to DateTo when set.
bool ReceiptWanted(const uint8_t *selection, const uint8_t *receipt) {
    PString mode, want;
    GetText(selection, ReportParamsVc::SelText3, want);
    GetText(receipt, IPVc::PayMode, mode);
    if (want[0] && !PStringEqual(mode, want)) return false;
    const bool posted = GetU16(receipt, IPVc::Posted) != 0;
    if (!ParamStateAdmits(selection, ReportParamsVc::Option2, ReportParamsVc::Option3, posted)) return false;
    const DateRec date = GetDate(receipt, IPVc::TransDate);
    const DateRec from = GetDate(selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(selection, ReportParamsVc::DateTo);
    if (!DateIsEmpty(&from) && DateCompare(&date, &from) < 0) return false;
    if (!DateIsEmpty(&to) && DateCompare(&date, &to) > 0) return false;
    return true;
}

// Prints one row of receipt: invoice, customer, name, the row's date
// where it differs from the receipt's (kinds 5 and 6 their texts
// instead), the amount; kind-5 and kind-6 amounts go to their sums at
// rate.
void PrintReceiptRow(const uint8_t *receipt, const uint8_t *row, const PackedDecimal *rate, ReceiptTotals *t) {
    const PaidRowKind kind = PaidRowKind(GetU16(row, IPVc::Rows::Kind));
    PString code, name;
    RepStartLine(LineHeight);
    if (GetI32(row, IPVc::Rows::InvoiceNr) != -1) RepValue(30, 0, row + IPVc::Rows::InvoiceNr, FtLong, 0);
    GetText(row, IPVc::Rows::CustCode, code);
    if (code[0]) {
        Text(Col2, code);
        CustomerName(code, name);
        Text(Col3, name);
    }
    const PackedDecimal amount = GetDec(row, IPVc::Rows::Amount);
    PackedDecimal home;
    AmountTimesRate(&amount, rate, &home);
    if (kind == PaidRowKind::Discount || kind == PaidRowKind::Fee) {
        RepTextNr(Col4, 0, kind == PaidRowKind::Discount ? 2449 : 2451, 0);
        PackedDecimal *sum = kind == PaidRowKind::Discount ? &t->discounts : &t->charges;
        DecAdd(sum, &home, sum);
    } else {
        const DateRec date = GetDate(row, IPVc::Rows::PayDate), own = GetDate(receipt, IPVc::TransDate);
        if (!DateIsEmpty(&date) && DateCompare(&date, &own) != 0) RepValue(Col4, 0, row + IPVc::Rows::PayDate, FtDate, 0);
    }
    RepAmountAt(Col1, &amount);
    RepEndLine();
}

// Prints receipt: its head line, every row, then its currency, rate and
// total on a line labelled so, and its further sums; adds its home amount
// to its mode's sum.
void PrintReceipt(const uint8_t *receipt, ReceiptTotals *t) {
    PString text, mode, currency;
    RepStartLine(LineHeight);
    RepValue(0, 0, receipt + IPVc::SerNr, FtLong, 0);
    GetText(receipt, IPVc::Text, text);
    Text(Col2, text);
    GetText(receipt, IPVc::PayMode, mode);
    Text(Col3, mode);
    RepValue(Col4, 0, receipt + IPVc::TransDate, FtDate, 0);
    RepEndLine();

    const PackedDecimal rate = GetDec(receipt, IPVc::Rate);
    uint8_t row[IPVc::Rows::Size];
    const int32_t rows = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < rows && MatrixRowRead(IPVc::Number, receipt, i, row); i++)
        PrintReceiptRow(receipt, row, &rate, t);

    RepRule(400, Col1, 1);
    const PackedDecimal total = GetDec(receipt, IPVc::Total);
    RepStartLine(LineHeight);
    RepTextNr(Col2, 0, Texts::ReportTotalLabel, 0);
    GetText(receipt, IPVc::CurncyCode, currency);
    Text(280, currency, -1);
    PackedDecimal hundred;
    DecFromLong(&hundred, 100);
    if (!DecIsBlank(&rate) && !DecIsZero(&rate) && DecCompare(&rate, &hundred) != 0) RepAmountAt(380, &rate);
    RepAmountAt(Col1, &total);
    RepEndLine();
    const PackedDecimal further = GetDec(receipt, IPVc::FurtherAmount), received = GetDec(receipt, IPVc::AmountRec);
    if (!DecIsBlank(&further) && !DecIsZero(&further)) {
        RepStartLine(LineHeight);
        RepAmountAt(Col1, &further);
        RepEndLine();
    }
    if (!DecIsBlank(&received) && !DecIsZero(&received) && DecCompare(&received, &total) != 0) {
        RepStartLine(LineHeight);
        RepAmountAt(Col1, &received);
        RepEndLine();
    }
    RepRuleFull(1, 4);

    PackedDecimal home;
    AmountTimesRate(&total, &rate, &home);
    AddToMode(t, mode, &home);
    DecAdd(&t->grand, &home, &t->grand);
}

// Prints the sums after the walk: per payment mode in block 131's order,
// the kind-5 and kind-6 sums with block 133's accounts, and the grand total.
void PrintReceiptSums(ReceiptTotals *t) {
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    for (int32_t i = 0; i < modes.count; i++) {
        const uint8_t *row = modes.data + (size_t)i * PaymentModeBlk::Rows::Size;
        PString code, name, account;
        GetText(row, PaymentModeBlk::Rows::Code, code);
        for (const ModeSum &m : t->modes) {
            if (!PStringEqual(m.code, code)) continue;
            GetText(row, PaymentModeBlk::Rows::Name, name);
            GetText(row, PaymentModeBlk::Rows::Account, account);
            RepStartLine(LineHeight);
            Text(50, code);
            Text(100, name);
            Text(Col4, account, -1);
            RepAmountAt(Col1, &m.sum);
            RepEndLine();
        }
    }
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    const struct {
        const PackedDecimal *sum;
        int text;
        uint32_t account;
    } extras[] = {{&t->discounts, 2449, SalesAccountsBlk::DiscAcc}, {&t->charges, 2451, SalesAccountsBlk::FeeAcc}};
    for (const auto &e : extras) {
        if (DecIsBlank(e.sum)) continue;
        PString account;
        account[0] = 0;
        if (accounts) GetPString(accounts, e.account, 10, account);
        RepStartLine(LineHeight);
        RepTextNr(100, 0, e.text, 0);
        Text(Col4, account);
        RepAmountAt(Col1, e.sum);
        RepEndLine();
    }
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2429, 0);
    RepAmountAt(Col1, &t->grand);
    RepEndLine();
}

}  // namespace

// Report 13: the receipts (register 10) by number over SelText1's range,
// filtered by payment mode, posted state and date, each with its rows and
// totals; then the sums. Esc stops the walk after the receipt at hand;
// the sums and the job's end still come.
void ReceiptJournalReport(ReportJob &job) {
    assert(job.selection);
    ReceiptTotals totals;
    DecSetBlank(&totals.discounts);
    DecSetBlank(&totals.charges);
    DecSetZero(&totals.grand);
    PString range;
    GetText(job.selection, ReportParamsVc::SelText1, range);
    int32_t from = -1, to = -1;
    RangeSplitNumber(range, &from, &to);

    RepBeginJobNr(2441);
    ReportHeadings(LineHeight, {{0, 2442}, {Col3, 2445}, {Col4, 2444}});
    ReportHeadings(LineHeight, {{30, 2443}, {Col2, 2447}, {Col3, 2448}, {Col1, 2450, -1}});
    RepRuleFull(1, 4);

    RuleRecord receipt(IPVc::Number);
    uint32_t recid = 0, position = 0;
    if (receipt.record) PutI32(receipt.record, IPVc::SerNr, from < 0 ? 0 : from);
    bool more = receipt.record && RecFindByIndex(IPVc::Number, "SerNr", receipt.record, 1, 0, &recid, &position);
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position) {
            RecFreeMatrix(IPVc::Number, receipt.record);
            if (!RecReadAtIndex(IPVc::Number, "SerNr", p, receipt.record, &recid)) break;
        }
        if (to >= 0 && GetI32(receipt.record, IPVc::SerNr) > to) break;
        if (ReceiptWanted(job.selection, receipt.record)) PrintReceipt(receipt.record, &totals);
        if (ReportCancelled()) break;
    }
    PrintReceiptSums(&totals);
    RepEndJob();
}
