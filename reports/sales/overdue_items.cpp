// overdue_items.cpp - a customer's open items (register 13) with their
// days overdue and the interest on them, printed as the customer's block
// of report 18 or handed to the reminder form (run -8).
//
// The rows (OverdueRow) and the block (OverdueBlock) are laid out in the
// interface file; the block keeps the statement record's places, so the
// reminder form reads it as it reads a statement.
//
// A reminder is counted on an invoice only once the form that tells the
// customer about it has printed: a print that failed or was stopped
// leaves the invoices' reminder counters as they were.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/statement.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/sales_lists.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

uint8_t (*OverdueFormPrinter)(int16_t doctype, const uint8_t *record) = PrintForm;
uint32_t InterestDayCap = 0xFFFFFFFFu;

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, RightEdge = 1, CustomerMax = 20, ReminderDoc = -8;
constexpr uint16_t NoticeCountingOn = 1;
constexpr int32_t OverdueFrom = -2;   // days at or below: overdue for the block's two totals
constexpr uint32_t NoCap = 0xFFFFFFFFu;

static_assert(OverdueBlock::Rows == StatementRec::Lines && OverdueBlock::AgeTotal == StatementRec::AgeTotal &&
                  OverdueBlock::Size == StatementRec::Size && OverdueRow::Size == StatementLine::Size,
              "the reminder form reads the overdue block as a statement");

bool Option(const uint8_t *selection, uint32_t field) { return GetU16(selection, field) != 0; }

// The sales invoice of serial into invoice; false (invoice cleared) when missing.
bool ReadInvoice(int32_t serial, uint8_t *invoice)
{
    RecFreeMatrix(IVVc::Number, invoice);
    std::memset(invoice, 0, IVVc::Size);
    PutI32(invoice, IVVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(IVVc::Number, "SerNr", invoice, 1, 1, &recid, &position)) return true;
    RecFreeMatrix(IVVc::Number, invoice);
    std::memset(invoice, 0, IVVc::Size);
    return false;
}

// The customer (register 2) of code into FormCustomer, cleared but for the
// code when there is no such customer.
void LoadCustomer(const uint8_t *code)
{
    std::memset(FormCustomer, 0, CUVc::Size);
    PutText(FormCustomer, CUVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(CUVc::Number, FormCustomer, 1, 1, &recid, &position)) return;
    std::memset(FormCustomer, 0, CUVc::Size);
    PutText(FormCustomer, CUVc::Code, code);
}

// True when every object of the selection is on the invoice.
bool InvoiceHasObjects(const uint8_t *selection, const uint8_t *invoice, bool found)
{
    if (selection[0] == 0) return true;
    if (!found) return false;
    PString list;
    GetText(invoice, IVVc::Objects, list);
    ObjectSlots slots;
    ParseObjectList(selection, &slots);
    return ObjectListContainsAll(&slots, list);
}

}  // namespace

bool OverdueRowAdd(MemBlock *rows, const uint8_t *openItem, const uint8_t *invoice, PackedDecimal *interest)
{
    assert(rows && openItem && interest);
    DecSetBlank(interest);
    uint8_t block[InterestBlk::Size] = {};
    SettingsBlockRead(InterestBlk::Number, block, sizeof block);
    const PackedDecimal rate = GetDec(block, InterestBlk::Rate);
    const uint32_t size = *rows ? MemSize(*rows) : 0;
    if (*rows == 0) {
        MemBlock fresh = MemAlloc(OverdueRow::Size);
        if (!fresh) return false;
        *rows = fresh;
    } else if (!MemRealloc(rows, size + OverdueRow::Size)) {
        return false;
    }
    uint8_t *data = MemLock(*rows);
    if (!data) return false;
    uint8_t *row = data + size;
    PutI32(row, OverdueRow::InvoiceNr, GetI32(openItem, ARVc::InvoiceNr));
    if (invoice) {
        PutDate(row, OverdueRow::InvDate, GetDate(invoice, IVVc::InvDate));
        PutI32(row, OverdueRow::Level, GetI32(invoice, IVVc::NoticeCount));
    }
    const DateRec due = GetDate(openItem, ARVc::DueDate);
    PutDate(row, OverdueRow::DueDate, due);
    const int32_t days = DateDiffDays(&due, &TodayDate);
    PutI32(row, OverdueRow::Days, days);
    const PackedDecimal open = GetDec(openItem, ARVc::OpenAmount);
    PutDec(row, OverdueRow::OpenAmount, open);
    PString currency;
    GetText(openItem, ARVc::CurncyCode, currency);
    PutText(row, OverdueRow::Currency, currency);
    PutU16(row, OverdueRow::One, 1);
    int32_t n = -days;
    const InvoiceKind kind = InvoiceKind(GetU16(openItem, ARVc::InvType));
    bool bears = kind != InvoiceKind::CreditNote && kind != InvoiceKind::Interest;
    if (CompanyVariantIs(CountryVariant::V7)) {
        bears = true;
        if (InterestDayCap != NoCap && n > (int32_t)InterestDayCap) n = (int32_t)InterestDayCap;
    }
    if (bears && n >= 1) InterestAmount(&open, n, &rate, interest);
    PutDec(row, OverdueRow::Interest, *interest);
    MemUnlock(*rows);
    return true;
}

void CustomerOverdueItems(const uint8_t *selection, const uint8_t *customerCode, int mode, PackedDecimal *grand)
{
    assert(selection && customerCode && grand);
    const DateRec capFrom = GetDate(selection, P::Date2From);
    InterestDayCap = NoCap;
    if (capFrom.year != 0) {
        const int32_t cap = DateDiffDays(&TodayDate, &capFrom);
        InterestDayCap = cap < 0 ? 0 : (uint32_t)cap;
    }
    LoadCustomer(customerCode);
    const bool noticeCounting = GetU16(FormCustomer, CUVc::NoticeCounting) == NoticeCountingOn;
    PString objects;
    GetText(selection, P::ObjectSel, objects);
    const uint16_t layout = GetU16(selection, P::ReportLayout);
    uint8_t block[OverdueBlock::Size] = {};
    PackedDecimal total, interestTotal, notOverdue, overdue;
    for (PackedDecimal *d : {&total, &interestTotal, &notOverdue, &overdue}) DecSetZero(d);
    MemBlock rows = 0;
    std::vector<int32_t> toCount;
    RuleRecord item(ARVc::Number), invoice(IVVc::Number);
    if (!item.record || !invoice.record) return;
    PutText(item.record, ARVc::CustCode, customerCode);
    uint32_t recid = 0, position = 0;
    bool more = customerCode[0] != 0 &&
                RecFindByIndex(ARVc::Number, "CustCode", item.record, 1, 0, &recid, &position);
    PString code;
    for (int32_t at = (int32_t)position; more && !CancelFlag; at++) {
        if (at != (int32_t)position && !RecReadAtIndex(ARVc::Number, "CustCode", at, item.record, &recid)) break;
        GetText(item.record, ARVc::CustCode, code);
        if (!PStringEqual(code, customerCode)) break;
        const int32_t serial = GetI32(item.record, ARVc::InvoiceNr);
        const bool found = ReadInvoice(serial, invoice.record);
        if (mode == 0 && found && InvoiceKind(GetU16(invoice.record, IVVc::InvType)) == InvoiceKind::CreditNote &&
            !Option(selection, P::Option10)) continue;
        if (mode == 1 && !InvoiceHasObjects(objects, invoice.record, found)) continue;
        const DateRec due = GetDate(item.record, ARVc::DueDate);
        const int32_t days = DateDiffDays(&due, &TodayDate);
        uint8_t taken[ARVc::Size];
        std::memcpy(taken, item.record, ARVc::Size);
        PackedDecimal amount = GetDec(item.record, ARVc::OpenAmount);
        if (!Option(selection, P::Option5)) {
            const PackedDecimal rate = GetDec(invoice.record, IVVc::Rate);
            AmountTimesRate(&amount, &rate, &amount);
            PutDec(taken, ARVc::OpenAmount, amount);
        }
        if (Option(selection, P::Option1) && days >= 0) continue;
        if (layout == 1 && days > OverdueFrom) continue;
        DecAdd(&total, &amount, &total);
        PackedDecimal *part = days > OverdueFrom ? &notOverdue : &overdue;
        DecAdd(part, &amount, part);
        PackedDecimal interest;
        if (!OverdueRowAdd(&rows, taken, found ? invoice.record : nullptr, &interest)) break;
        if (!DecIsBlank(&interest)) DecAdd(&interestTotal, &interest, &interestTotal);
        if (mode == 0 && days < 0 && found && GetU16(selection, P::Option3) == 1 && noticeCounting)
            toCount.push_back(serial);
    }
    RecFreeMatrix(IVVc::Number, invoice.record);
    PackedDecimal ages[6];
    CustomerAgeing(customerCode, ages);   // aged on the day the walk above used
    PutU32(block, OverdueBlock::Rows, rows);
    PutDec(block, OverdueBlock::Total, total);
    PutDec(block, OverdueBlock::Interest, interestTotal);
    PutDec(block, OverdueBlock::NotOverdue, notOverdue);
    PutDec(block, OverdueBlock::Overdue, overdue);
    for (int i = 0; i < 6; i++) PutDec(block, OverdueBlock::AgeTotal + (uint32_t)i * sizeof(PackedDecimal), ages[i]);
    const bool none = rows == 0 || (GetU16(selection, P::Option2) == 1 && DecIsZero(&ages[0]));
    if (!none && mode == 0) {
        if (OverdueFormPrinter(ReminderDoc, block) == 1)
            for (int32_t serial : toCount) InvoiceNoticeCount(serial);
    } else if (!none) {
        OverdueBlockPrint(selection, block);
    }
    DecAdd(grand, &total, grand);
    if (rows) MemFree(&rows);
}

void OverdueBlockPrint(const uint8_t *selection, const uint8_t *block)
{
    assert(selection && block);
    const bool inCurrency = Option(selection, P::Option5), capped = CompanyVariantIs(CountryVariant::V7);
    PString own, currency;
    GetText(FormCustomer, CUVc::CurncyCode, own);
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextField(0, FormCustomer, CUVc::Code);
    RepTextField(100, FormCustomer, CUVc::Name);
    if (inCurrency) RepValue(RightEdge, 0, FormCustomer + CUVc::CurncyCode, FtCode, 1);
    RepEndLine();
    const MemBlock rows = GetU32(block, OverdueBlock::Rows);
    const uint32_t count = rows && MemIsValid(rows) ? MemSize(rows) / OverdueRow::Size : 0;
    const uint8_t *data = count ? MemLock(rows) : nullptr;
    for (uint32_t i = 0; data && i < count; i++) {
        const uint8_t *row = data + (size_t)i * OverdueRow::Size;
        RepStartLine(LineHeight);
        RepValue(200, 0, row + OverdueRow::InvoiceNr, FtLongOrEmpty, 0);
        RepValue(260, 0, row + OverdueRow::DueDate, FtDate, 0);
        RepValue(360, 0, row + OverdueRow::Days, FtLongOrEmpty, 1);
        GetText(row, OverdueRow::Currency, currency);
        if (inCurrency && !PStringEqual(currency, own)) {
            RepValue(440, 0, row + OverdueRow::OpenAmount, FtAmount2, 1);
            RepValue(480, 0, row + OverdueRow::Currency, FtCodeNoSep, 1);
        } else {
            RepValue(480, 0, row + OverdueRow::OpenAmount, FtAmount2, 1);
        }
        RepEndLine();
    }
    if (data) MemUnlock(rows);
    RepStartLine(LineHeight);
    RepRule(370, RightEdge, 2);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(200, 0, Texts::ReportTotalLabel, 0);
    if (capped) RepValue(360, 0, block + OverdueBlock::Interest, FtAmount2, 1);
    RepValue(RightEdge, 0, block + OverdueBlock::Total, FtAmount2, 1);
    RepEndLine();
}

namespace {

struct Report18Walk {
    const uint8_t *selection;   // the job record
    int mode;
    PackedDecimal grand;
};

void EachCustomer(const uint8_t *customer, void *context)
{
    Report18Walk *w = static_cast<Report18Walk *>(context);
    if (GetU16(w->selection, P::Option4) == 1 && GetU16(customer, CUVc::InterestFlag) == 0) return;
    PString code;
    GetText(customer, CUVc::Code, code);
    CustomerOverdueItems(w->selection, code, w->mode, &w->grand);
}

}  // namespace

void CustomerReport18(ReportJob &job, int mode)
{
    assert(job.selection);
    Report18Walk walk{job.selection, mode, {}};
    DecSetZero(&walk.grand);
    if (mode == 1) {
        RepBeginJobNr(2541);
        ReportHeadings(LineHeight, {{0, 2542}, {120, 2543}, {200, 2544}, {270, 2545}, {380, 2546, 1},
                                    {RightEdge, 2548, 1}});
    }
    CustomerWalk(job.selection, EachCustomer, &walk);
    if (mode == 1) {
        RepRuleFull(1, 4);
        RepEndJob();
    }
}
