// contract_reports.cpp - reports 89 and 88 over the contracts invoiced
// period by period. Report 89 walks the selection as the contract run
// does and prints each invoice the run would make (a rule and its summary
// block) instead of storing it, then the count and the sums, or, when the
// run would make none, says so instead of printing; report 88
// lists the selected contracts, with their addresses and rows on request.
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/sales/contract_reports.h"

#include <cassert>
#include <utility>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/sales/sales_reports.h"
#include "rules/contract_invoicing.h"
#include "rules/rules_types.h"

namespace {

namespace Co = ContractVc;
namespace Inv = IVVc;

constexpr int LineHeight = 15;
constexpr int RuleEnd = 1, RuleThick = 4;
constexpr int TitlePreview = 5540, TitleList = 5541;
constexpr int TextAddressHeading = 12626, TextRowsHeading = 12627, TextNumber = 12628, TextCustomer = 12629,
              TextNextPeriod = 12630, TextLastInvoice = 12631, TextInterval = 12632, TextInvoices = 12633,
              TextNet = 12634, TextVat = 12635, TextTotal = 12636;

void ValueAt(int x, const uint8_t *record, uint32_t field, int type, int align)
{
    RepValue(x, 0, record + field, type, align);
}

void AmountAt(int x, const PackedDecimal &amount) { RepValue(x, 0, amount.b, FtAmount2, 1); }

bool Cancelled() { return ReportCancelled(); }

// ---- Report 89 ----

struct Preview {
    const ContractSelection *sel;
    RuleRecord invoice{Inv::Number};
    int32_t count = 0;
    PackedDecimal net, vat, total;
    bool opened = false;   // the job is begun at the first invoice to show
};

bool PreviewPeriod(void *ctx, uint8_t *contract, const DateRec &date, const DateRec &from, const DateRec &to)
{
    Preview &p = *static_cast<Preview *>(ctx);
    ContractToInvoice(contract, p.invoice.record, date, from, to);
    PackedDecimal total = GetDec(p.invoice.record, Inv::Total);
    if (DecIsZero(&total)) return true;
    if (!p.opened) {
        RepBeginJobNr(TitlePreview);
        p.opened = true;
    }
    RepRuleFull(RuleEnd, RuleThick);
    PrintDocSummaryLine(p.invoice.record);
    p.count++;
    for (auto [sum, at] : {std::pair{&p.net, Inv::Net}, {&p.vat, Inv::Vat}, {&p.total, Inv::Total}}) {
        PackedDecimal amount = GetDec(p.invoice.record, at);
        DecAdd(sum, &amount, sum);
    }
    return true;
}

bool PreviewContract(void *ctx, uint8_t *contract, uint32_t)
{
    Preview &p = *static_cast<Preview *>(ctx);
    return ContractPeriods(*p.sel, contract, PreviewPeriod, &p);
}

// ---- Report 88 ----

bool ListContract(void *ctx, uint8_t *contract, uint32_t)
{
    const bool detailed = *static_cast<bool *>(ctx);
    if (detailed) RepRuleFull(RuleEnd, RuleThick);
    RepStartLine(LineHeight);
    ValueAt(0, contract, Co::SerNr, FtLongOrEmpty, 0);
    RepTextField(50, contract, Co::CustCode);
    RepTextFieldPrefix(130, contract, Co::CustName, 30);
    ValueAt(300, contract, Co::NextPeriod, FtDate, 0);
    ValueAt(370, contract, Co::Interval, FtShort, 1);
    RepText(375, 0, reinterpret_cast<const uint8_t *>(GetU16(contract, Co::IntervalUnit) == 0 ? "\x01m" : "\x01d"), 0);
    ValueAt(400, contract, Co::LastInvDate, FtDate, 0);
    PackedDecimal total = GetDec(contract, Co::Total);
    if (!DecIsBlank(&total)) AmountAt(480, total);
    RepEndLine();
    if (detailed) ContractReport5541Lines(contract);
    return true;
}

}  // namespace

void ContractReport5540(ReportJob &job)
{
    ContractSelection sel;
    if (!ContractSelectionRead(job.selection, &sel, false)) return;
    // The window opens with the dates empty: nothing can be shown until
    // both are typed, and the status line says which.
    if (ContractPeriodOpen(sel)) {
        ReportPrintsNothing(Texts::RunWhyNoInvoiceDates);
        return;
    }
    Preview p;
    p.sel = &sel;
    DecSetZero(&p.net);
    DecSetZero(&p.vat);
    DecSetZero(&p.total);
    RuleRecord contract(Co::Number);
    if (!p.invoice.record || !contract.record) return;
    ContractWalk(sel, contract.record, Cancelled, PreviewContract, &p);
    RecFreeMatrix(Co::Number, contract.record);
    RecFreeMatrix(Inv::Number, p.invoice.record);
    // No invoice to show: no job, and the reason in its place, as the
    // contract run itself tells it.
    if (!p.opened) {
        if (!ReportCancelled()) ReportPrintsNothing(Texts::RunWhyNoPeriod);
        return;
    }
    RepRuleFull(RuleEnd, RuleThick);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, TextInvoices, 0);
    RepValue(100, 0, reinterpret_cast<const uint8_t *>(&p.count), FtLong, 1);
    RepTextNr(140, 0, TextNet, 0);
    AmountAt(260, p.net);
    RepTextNr(280, 0, TextVat, 0);
    AmountAt(370, p.vat);
    RepTextNr(390, 0, TextTotal, 0);
    AmountAt(480, p.total);
    RepEndLine();
    RepEndJob();
}

void ContractReport5541(ReportJob &job)
{
    ContractSelection sel;
    if (!ContractSelectionRead(job.selection, &sel, false)) return;
    bool detailed = GetU16(job.selection, ReportParamsVc::ReportLayout) == 1;
    RuleRecord contract(Co::Number);
    if (!contract.record) return;
    RepBeginJobNr(TitleList);
    ReportHeadings(LineHeight, {{0, TextNumber}, {50, TextCustomer}, {300, TextNextPeriod}, {370, TextInterval, 1},
                                {400, TextLastInvoice}, {480, TextTotal, 1}});
    RepRuleFull(RuleEnd, RuleThick);
    ContractWalk(sel, contract.record, Cancelled, ListContract, &detailed);
    RecFreeMatrix(Co::Number, contract.record);
    RepRuleFull(RuleEnd, RuleThick);
    RepEndJob();
}

void ContractReport5541Lines(const uint8_t *contract)
{
    assert(contract);
    RepStartLine(LineHeight);
    RepTextNr(50, 0, TextAddressHeading, 0);
    RepEndLine();
    for (uint32_t at : {Co::CustName, Co::Addr1, Co::Addr2, Co::Addr3}) {
        PString text;
        GetPString(contract, at, 60, text);
        if (text[0] == 0) continue;
        RepStartLine(LineHeight);
        RepText(50, 0, text, 0);
        RepEndLine();
    }
    const int32_t rows = MatrixRowCount(Co::Number, 0, contract);
    if (rows == 0) return;
    RepStartLine(LineHeight);
    RepTextNr(50, 0, TextRowsHeading, 0);
    RepEndLine();
    uint8_t row[Co::Rows::Size];
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(Co::Number, 0, contract, i, row)) continue;
        RepStartLine(LineHeight);
        RepTextField(50, row, Co::Rows::ItemCode);
        ValueAt(200, row, Co::Rows::Quantity, FtAmount3, 1);
        RepTextFieldPrefix(210, row, Co::Rows::Text, 30);
        ValueAt(400, row, Co::Rows::Price, FtAmount2, 1);
        ValueAt(480, row, Co::Rows::Sum, FtAmount2, 1);
        RepEndLine();
    }
}
