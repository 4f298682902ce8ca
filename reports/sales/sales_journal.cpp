// sales_journal.cpp - the sales invoice journals: report 1 (the sales
// transaction journal by transaction date or number, four layouts) and
// report 57 (the invoice journal with an item or item-group filter), and
// the detailed invoice blocks both print.
//
// Each walks the invoices once through one index, tests the cheap
// selection words first and reads other registers (the voucher, an item,
// the objects of a type) only for an invoice that passed them; the Esc
// key ends the walk after the invoice at hand and the totals still print.
#include <cassert>
#include <vector>

#include "core/date.h"
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
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/frame/selection_match.h"
#include "reports/frame/totals_table.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr int LineHeight = 15;
constexpr int StopRight = 1, StopSecond = 2;   // column stops of the report's layout
constexpr int RuleEnd = 1, RuleThick = 4, RowRule = 2;
constexpr int TitleJournal = 2351, TitleItemJournal = 2641;
constexpr int TextNotPosted = 2366, TextFlagged = 2367, TextTotal = 2365;
constexpr int NameMax = 60;

// The selection of a journal as the job record holds it.
struct JournalSel {
    int32_t numFrom = -1, numTo = -1;   // -1: open end
    PString customer, salesman, objects, objectType, item, group;
    DateRec from{}, to{};
    uint16_t unposted = 0, posted = 0, kinds[4] = {};
};

// Reads the selection words the journals share from the job record.
void LoadSelection(const uint8_t *selection, JournalSel *s)
{
    const uint8_t *p = selection;
    assert(p);
    PString range;
    GetText(p, ReportParamsVc::SelText1, range);
    RangeSplitNumber(range, &s->numFrom, &s->numTo);
    GetText(p, ReportParamsVc::SelText2, s->customer);
    GetText(p, ReportParamsVc::SelText7, s->salesman);
    GetText(p, ReportParamsVc::ObjectSel, s->objects);
    GetText(p, ReportParamsVc::ObjectType, s->objectType);
    GetText(p, ReportParamsVc::SelText5, s->item);
    GetText(p, ReportParamsVc::SelText6, s->group);
    s->from = GetDate(p, ReportParamsVc::DateFrom);
    s->to = GetDate(p, ReportParamsVc::DateTo);
    s->unposted = GetU16(p, ReportParamsVc::Option2);
    s->posted = GetU16(p, ReportParamsVc::Option3);
    s->kinds[0] = GetU16(p, ReportParamsVc::Option4);
    s->kinds[1] = GetU16(p, ReportParamsVc::Option5);
    s->kinds[2] = GetU16(p, ReportParamsVc::Option6);
    s->kinds[3] = GetU16(p, ReportParamsVc::Option7);
}

// True when n lies in the number range; an open end admits all.
bool NumberInRange(const JournalSel &s, int32_t n)
{
    return (s.numFrom < 0 || n >= s.numFrom) && (s.numTo < 0 || n <= s.numTo);
}

// True when date lies in the period; a bound with year 0 is open.
bool DateInPeriod(const JournalSel &s, const DateRec &date)
{
    if (s.from.year != 0 && DateCompare(&date, &s.from) < 0) return false;
    return s.to.year == 0 || DateCompare(&date, &s.to) <= 0;
}

// Posted invoices need the posted box, unposted ones the unposted box;
// neither ticked admits both.
bool PostedPasses(const JournalSel &s, uint16_t posted)
{
    return KindBoxesAdmit({s.unposted, s.posted}, posted ? 1 : 0);
}

// The box of the invoice's kind (any kind but 2..4 counts as 1); no kind
// box ticked admits every kind.
bool KindPasses(const JournalSel &s, uint16_t kind)
{
    return KindBoxesAdmit({s.kinds[0], s.kinds[1], s.kinds[2], s.kinds[3]}, kind >= 2 && kind <= 4 ? kind - 1 : 0);
}

// The objects filter: the invoice's objects must hold every object of
// the selection; else, with an object type given, some object of that
// type (register 15 by type) must be among them.
bool ObjectsPass(const JournalSel &s, const uint8_t *invoiceObjects)
{
    if (s.objects[0] != 0) {
        ObjectSlots slots;
        ParseObjectList(s.objects, &slots);
        return ObjectListContainsAll(&slots, invoiceObjects);
    }
    if (s.objectType[0] == 0) return true;
    RuleRecord object(OBVc::Number);
    if (!object.record) return false;
    PutText(object.record, OBVc::ObjType, s.objectType);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(OBVc::Number, "OTCode", object.record, 1, 0, &recid, &position)) return false;
    PString type, code;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(OBVc::Number, "OTCode", (int32_t)p, object.record, &recid)) break;
        GetText(object.record, OBVc::ObjType, type);
        if (!PStringEqual(type, s.objectType)) break;
        GetText(object.record, OBVc::Code, code);
        if (ObjectListContains(code, invoiceObjects)) return true;
    }
    return false;
}

// Prints a field of record at x formatted by its type.
void FieldValue(int x, const uint8_t *record, uint32_t field, int type, int align)
{
    RepValue(x, 0, record + field, type, align);
}

// Prints an amount at x right-aligned.
void AmountAt(int x, const PackedDecimal *amount)
{
    RepValue(x, 0, amount->b, FtAmount2, 1);
}

// The start of an invoice's line in the detailed layouts: its number,
// its kind in words and its date.
void InvoiceNumberKindDate(const uint8_t *inv)
{
    FieldValue(0, inv, IVVc::SerNr, FtLongOrEmpty, 0);
    PString kind;
    KindText(static_cast<int16_t>(GetU16(inv, IVVc::InvType)), kind);
    RepText(50, 0, kind, 0);
    FieldValue(130, inv, IVVc::InvDate, FtDate, 0);
}

// The mark at the line's end of an invoice not posted yet.
void NotPostedMark(const uint8_t *inv)
{
    if (!GetU16(inv, IVVc::Posted)) RepTextNr(480, 0, TextNotPosted, 1);
}

// The kind text of report 1's one-line layouts.
int JournalKindText(uint16_t kind)
{
    switch (kind) {
    case 2: return 2363;
    case 3: return 2362;
    case 4: return 2364;
    default: return 2361;
    }
}

// The heading line of report 1 in layout, then a full rule.
void SalesJournalHeading(int layout)
{
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2352, 0);
    if (layout == 1) {
        RepTextNr(130, 0, 2353, 0);
        RepTextNr(220, 0, 2370, 0);
        RepTextNr(350, 0, 2584, 0);
    } else {
        RepTextNr(60, 0, 2353, 0);
        RepTextNr(120, 0, 2354, 0);
        RepTextNr(300, 0, 2358, 0);
        RepTextNr(StopSecond, 0, 2357, 1);
    }
    RepEndLine();
    RepRuleFull(RuleEnd, RuleThick);
}

// The one line of layouts 0, 2 and 3 of report 1.
void SalesJournalLine(const uint8_t *inv, const PackedDecimal *amount)
{
    RepStartLine(LineHeight);
    FieldValue(0, inv, IVVc::SerNr, FtLongOrEmpty, 0);
    FieldValue(60, inv, IVVc::InvDate, FtDate, 0);
    RepFieldCut(120, inv, IVVc::Addr0, 300 - 120 - RepColumnGap);
    RepTextNr(300, 0, JournalKindText(GetU16(inv, IVVc::InvType)), 0);
    AmountAt(460, amount);
    FieldValue(StopRight, inv, IVVc::CurncyCode, FtCodeNoSep, 1);
    RepEndLine();
}

// Layout 3: a marked line under an invoice whose voucher (series 201,
// the invoice's number) is not in register 11.
void VoucherCheckLine(const uint8_t *inv)
{
    RuleRecord voucher(TRVc::Number);
    if (!voucher.record) return;
    PutU16(voucher.record, TRVc::YearCode, YearCodeFixedFirst);
    PutI32(voucher.record, TRVc::SerNr, GetI32(inv, IVVc::SerNr));
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(TRVc::Number, "Number", voucher.record, 2, 1, &recid, &position);
    RecFreeMatrix(TRVc::Number, voucher.record);
    if (found) return;
    RepStartLine(LineHeight);
    RepTextNr(100, 0, Texts::VoucherMissingLine, 0);
    RepEndLine();
}

// The text row line of the detailed blocks: 1807 and the row's number.
void TextRowLine(int32_t row)
{
    RepStartLine(LineHeight);
    PString text;
    GetUiText(text, Texts::InvoiceRefRowText);
    int32_t number = row + 1;
    PString digits;
    FieldToText(reinterpret_cast<const uint8_t *>(&number), FtLongOrEmpty, digits);
    PStringAppend(text, digits);
    RepText(130, 0, text, 0);
    RepEndLine();
}

// True when an item passes report 57's item and item-group filters; an
// item that is not in register 3 fails the group filter.
bool ItemPasses(const JournalSel &s, const uint8_t *item)
{
    if (s.item[0] != 0 && !PStringEqual(item, s.item)) return false;
    if (s.group[0] == 0) return true;
    RuleRecord rec(INVc::Number);
    if (!rec.record) return false;
    PutText(rec.record, INVc::Code, item);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(INVc::Number, rec.record, 1, 1, &recid, &position);
    bool pass = found && TextFieldAdmits(s.group, rec.record, INVc::Group);
    RecFreeMatrix(INVc::Number, rec.record);
    return pass;
}

// Report 57's sums of an invoice (its net at its rate in home currency,
// the row totals of the item rows and freight that pass the filters,
// both negated for a credit note), printing the detailed block of
// layout 1 when print is set.
void ItemJournalSums(const JournalSel &s, const uint8_t *inv, bool print, PackedDecimal *homeNet,
                     PackedDecimal *rowSum)
{
    PackedDecimal rate = GetDec(inv, IVVc::Rate), net = GetDec(inv, IVVc::Net);
    AmountTimesRate(&net, &rate, homeNet);
    DecSetZero(rowSum);
    if (print) {
        RepStartLine(LineHeight);
        InvoiceNumberKindDate(inv);
        NotPostedMark(inv);
        RepEndLine();
    }
    std::vector<uint8_t> row(RecRowSize(IVVc::Number));
    assert(row.size() >= IVVc::Rows::Size);
    const int32_t rows = MatrixRowCount(IVVc::Number, 0, inv);
    PString item;
    for (int32_t i = 0; i < rows; ++i) {
        if (!MatrixRowGet(IVVc::Number, 0, inv, i, row.data())) continue;
        const DocRowKind kind = DocRowKind(GetU16(row.data(), IVVc::Rows::Kind));
        if (kind == DocRowKind::Text && print) TextRowLine(i);
        if (kind != DocRowKind::Item) continue;
        GetText(row.data(), IVVc::Rows::ItemCode, item);
        if (!ItemPasses(s, item)) continue;
        PackedDecimal sum = GetDec(row.data(), IVVc::Rows::Sum), home;
        DecAdd(rowSum, &sum, rowSum);
        if (!print) continue;
        AmountTimesRate(&sum, &rate, &home);
        RepStartLine(LineHeight);
        RepText(20, 0, item, 0);
        FieldValue(124, row.data(), IVVc::Rows::Quantity, FtAmount3, 1);
        RepFieldCut(130, row.data(), IVVc::Rows::Text, RepAmountStart(380, home) - 130 - RepColumnGap);
        AmountAt(380, &home);
        AmountAt(480, &sum);
        RepEndLine();
    }
    PackedDecimal freight = GetDec(inv, IVVc::Freight);
    GetText(inv, IVVc::FreightItem, item);
    if (!DecIsBlank(&freight) && !DecIsZero(&freight) && ItemPasses(s, item)) {
        DecAdd(rowSum, &freight, rowSum);
        if (print) {
            RepStartLine(LineHeight);
            RepText(20, 0, item, 0);
            FieldValue(380, inv, IVVc::FreightHome, FtAmount2, 1);
            AmountAt(480, &freight);
            RepEndLine();
        }
    }
    if (InvoiceKind(GetU16(inv, IVVc::InvType)) == InvoiceKind::CreditNote) {
        DecNegateInto(homeNet, homeNet);
        DecNegateInto(rowSum, rowSum);
    }
    if (!print) return;
    RepRule(290, 480, RowRule);
    RepStartLine(LineHeight);
    RepTextField(100, inv, IVVc::Objects);
    AmountAt(380, homeNet);
    AmountAt(480, rowSum);
    RepEndLine();
}

// Walks register 5 by index from the record's key at hand, calling each
// for every invoice read until it answers false or Esc is pressed; each
// invoice's rows are freed after it.
template <typename Each>
void WalkInvoices(uint8_t *inv, const char *index, Each each)
{
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(IVVc::Number, index, inv, 1, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(IVVc::Number, inv);
            if (!RecReadAtIndex(IVVc::Number, index, (int32_t)p, inv, &recid)) break;
        }
        bool more = each(inv);
        RecFreeMatrix(IVVc::Number, inv);
        if (!more || ReportCancelled()) break;
    }
}

}  // namespace

// Report 1: the invoices by number range (index "SerNr", stopping after
// the to-number) or else by transaction date, filtered by customer,
// salesman, posted state, period, kind and objects; one line per invoice
// (layouts 0, 2, 3: layout 3 marks an invoice without its voucher) or its
// detailed block (layout 1); the amounts summed by currency at the end.
void SalesJournalReport(ReportJob &job)
{
    JournalSel s;
    LoadSelection(job.selection, &s);
    const uint16_t layout = GetU16(job.selection, ReportParamsVc::ReportLayout);
    const bool byNumber = s.numFrom >= 0 || s.numTo >= 0;
    TotalsTableReset();
    RepBeginJobNr(TitleJournal);
    SalesJournalHeading(layout);
    RuleRecord inv(IVVc::Number);
    if (inv.record) {
        if (byNumber) PutI32(inv.record, IVVc::SerNr, s.numFrom < 0 ? 0 : s.numFrom);
        else PutDate(inv.record, IVVc::TransDate, s.from);
        WalkInvoices(inv.record, byNumber ? "SerNr" : "TransDate", [&](uint8_t *r) {
            const int32_t serial = GetI32(r, IVVc::SerNr);
            const DateRec date = GetDate(r, IVVc::TransDate);
            if (byNumber && s.numTo >= 0 && serial > s.numTo) return false;
            if (!byNumber && s.to.year != 0 && DateCompare(&date, &s.to) > 0) return false;
            const InvoiceKind kind = InvoiceKind(GetU16(r, IVVc::InvType));
            if (!TextFieldAdmits(s.customer, r, IVVc::CustCode) ||
                !TextFieldAdmits(s.salesman, r, IVVc::SalesMan) || !PostedPasses(s, GetU16(r, IVVc::Posted)) ||
                !DateInPeriod(s, date) || !KindPasses(s, uint16_t(kind)))
                return true;
            PString objects;
            GetText(r, IVVc::Objects, objects);
            if (!ObjectsPass(s, objects)) return true;

            PackedDecimal amount = GetDec(r, layout == 2 ? IVVc::Net : IVVc::Total);
            if (layout == 2 && GetU16(r, IVVc::InclVat)) {
                PackedDecimal vat = GetDec(r, IVVc::Vat);
                DecSub(&amount, &vat, &amount);
            }
            if (kind == InvoiceKind::CreditNote) DecNegateInto(&amount, &amount);
            if (!TotalsTableAddInCurrency(r, IVVc::CurncyCode, &amount)) return false;
            if (layout == 1) {
                PrintDocSummaryLine(r);
                RepRuleFull(RuleEnd, RuleThick);
                return true;
            }
            SalesJournalLine(r, &amount);
            if (layout == 3) VoucherCheckLine(r);
            return true;
        });
    }
    if (layout != 1) RepRuleFull(RuleEnd, RuleThick);
    TotalsTablePrint(460, -1, -1, 300, 1);
    RepEndJob();
}

// Report 57: the invoices of the period by invoice date (the walk stops
// at the first after it), filtered by customer, salesman, posted state
// and number range; per invoice its net in home currency and the total
// of its rows that pass the item and item-group filters, as one line
// (layout 0) or the detailed block (layout 1); the two grand totals.
void InvoiceJournalReport(ReportJob &job)
{
    JournalSel s;
    LoadSelection(job.selection, &s);
    const uint16_t layout = GetU16(job.selection, ReportParamsVc::ReportLayout);
    RepBeginJobNr(TitleItemJournal);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2352, 0);
    if (layout == 1) {
        RepTextNr(130, 0, 2353, 0);
    } else {
        RepTextNr(60, 0, 2353, 0);
        RepTextNr(140, 0, 2354, 0);
    }
    RepTextNr(380, 0, 2642, 1);
    RepTextNr(480, 0, 2643, 1);
    RepEndLine();
    RepRuleFull(RuleEnd, RuleThick);
    PackedDecimal totalNet, totalRows;
    DecSetZero(&totalNet);
    DecSetZero(&totalRows);
    RuleRecord inv(IVVc::Number);
    if (inv.record) {
        PutDate(inv.record, IVVc::InvDate, s.from);
        PutI32(inv.record, IVVc::SerNr, 0);
        WalkInvoices(inv.record, "InvDate", [&](uint8_t *r) {
            const DateRec date = GetDate(r, IVVc::InvDate);
            if (!DateInPeriod(s, date)) return false;
            if (!TextFieldAdmits(s.customer, r, IVVc::CustCode) ||
                !TextFieldAdmits(s.salesman, r, IVVc::SalesMan) || !PostedPasses(s, GetU16(r, IVVc::Posted)) ||
                !NumberInRange(s, GetI32(r, IVVc::SerNr)))
                return true;
            PackedDecimal homeNet, rowSum;
            if (layout == 1) {
                RepRuleFull(RuleEnd, RuleThick);
                InvoiceJournalDetail(job.selection, r, &homeNet, &rowSum);
            } else {
                ItemJournalSums(s, r, false, &homeNet, &rowSum);
                RepStartLine(LineHeight);
                FieldValue(0, r, IVVc::SerNr, FtLongOrEmpty, 0);
                FieldValue(60, r, IVVc::InvDate, FtDate, 0);
                RepFieldCut(140, r, IVVc::Addr0, RepAmountStart(380, homeNet) - 140 - RepColumnGap);
                AmountAt(380, &homeNet);
                AmountAt(StopRight, &rowSum);
                RepEndLine();
            }
            DecAdd(&totalNet, &homeNet, &totalNet);
            DecAdd(&totalRows, &rowSum, &totalRows);
            return true;
        });
    }
    RepRuleFull(RuleEnd, RuleThick);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, TextTotal, 0);
    AmountAt(380, &totalNet);
    AmountAt(480, &totalRows);
    RepEndLine();
    RepEndJob();
}

// The detailed block of an invoice (report 1 layout 1): its head line,
// the customer and address lines, its item and interest rows, text rows,
// the freight line, and the footer with objects, net, VAT and total.
void PrintDocSummaryLine(const uint8_t *inv)
{
    assert(inv);
    RepStartLine(LineHeight);
    InvoiceNumberKindDate(inv);
    FieldValue(220, inv, IVVc::PayDate, FtDate, 0);
    RepTextField(270, inv, IVVc::RefStr);
    FieldValue(350, inv, IVVc::OrderNr, FtLongOrEmpty, 0);
    NotPostedMark(inv);
    RepEndLine();

    // The customer, then the invoice address left and the delivery
    // address right.
    RepStartLine(LineHeight);
    RepTextField(50, inv, IVVc::CustCode);
    RepTextField(220, inv, IVVc::Addr0);
    PString text;
    GetText(inv, IVVc::CurncyCode, text);
    if (text[0] != 0) RepText(460, 0, text, 1);
    RepEndLine();
    const uint32_t pairs[2][2] = {{IVVc::Addr1, IVVc::DelAddr0}, {IVVc::Addr2, IVVc::DelAddr1}};
    for (const auto &pair : pairs) {
        RepStartLine(LineHeight);
        RepTextField(50, inv, pair[0], NameMax);
        RepTextField(220, inv, pair[1], NameMax);
        RepEndLine();
    }
    for (uint32_t field : {IVVc::DelAddr2, IVVc::DelAddr3}) {
        GetPString(inv, field, NameMax, text);
        if (text[0] == 0) continue;
        RepStartLine(LineHeight);
        RepText(220, 0, text, 0);
        RepEndLine();
    }

    std::vector<uint8_t> row(RecRowSize(IVVc::Number));
    assert(row.size() >= IVVc::Rows::Size);
    const int32_t rows = MatrixRowCount(IVVc::Number, 0, inv);
    for (int32_t i = 0; i < rows; ++i) {
        if (!MatrixRowGet(IVVc::Number, 0, inv, i, row.data())) continue;
        const DocRowKind kind = DocRowKind(GetU16(row.data(), IVVc::Rows::Kind));
        if (kind == DocRowKind::Text) TextRowLine(i);
        if (kind != DocRowKind::Item && kind != DocRowKind::Amount) continue;
        RepStartLine(LineHeight);
        RepTextField(20, row.data(), IVVc::Rows::ItemCode);
        FieldValue(124, row.data(), IVVc::Rows::Quantity, FtAmount3, 1);
        RepTextField(130, row.data(), IVVc::Rows::Text);
        FieldValue(340, row.data(), IVVc::Rows::Price, FtAmount2, 1);
        FieldValue(370, row.data(), IVVc::Rows::Discount, FtPercent, 1);
        FieldValue(460, row.data(), IVVc::Rows::Sum, FtAmount2, 1);
        RepTextField(480, row.data(), IVVc::Rows::VatCode, 0, 1);
        RepEndLine();
    }
    PackedDecimal freight = GetDec(inv, IVVc::Freight);
    if (!DecIsBlank(&freight) && !DecIsZero(&freight)) {
        RepStartLine(LineHeight);
        RepTextField(20, inv, IVVc::FreightItem);
        RepText(124, 0, reinterpret_cast<const uint8_t *>("\x01" "1"), 1);
        AmountAt(340, &freight);
        AmountAt(460, &freight);
        RepTextField(480, inv, IVVc::FreightVat, 0, 1);
        RepEndLine();
    }
    RepRule(380, 460, RowRule);
    RepStartLine(LineHeight);
    // The sums' line says what it holds, or that the invoice is flagged.
    RepTextNr(20, 0, GetU16(inv, IVVc::Mark) ? TextFlagged : Texts::ReportTotalLabel, 0);
    RepTextField(100, inv, IVVc::Objects);
    FieldValue(260, inv, IVVc::Net, FtAmount2, 1);
    FieldValue(340, inv, IVVc::Vat, FtAmount2, 1);
    FieldValue(460, inv, IVVc::Total, FtAmount2, 1);
    RepEndLine();
}

// The detailed block of report 57 layout 1 for the job's item and
// item-group filters; homeNet and rowSum get the invoice's sums (negated
// for a credit note).
void InvoiceJournalDetail(const uint8_t *selection, const uint8_t *inv, PackedDecimal *homeNet, PackedDecimal *rowSum)
{
    assert(inv && homeNet && rowSum);
    JournalSel s;
    LoadSelection(selection, &s);
    ItemJournalSums(s, inv, true, homeNet, rowSum);
}
