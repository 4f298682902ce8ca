// selective_exports.cpp - the export kinds that write a chosen part of the
// data: registers by key range (3), sales invoices by number, date,
// customer and objects (4), the queued invoices (30) and the invoice rows
// for other systems (13).
//
// Selection fields: the first range text is the number or code range, the
// second the customer range, the third the item range of the row filters,
// the fourth the item group; the dates bound the invoice date; ReportLayout
// chooses the layout, Option1 of kind 4 suppresses the section head (0:
// written), Option1 to Option4 of kind 13 choose invoice kinds 1 to 4
// (none set: every kind), Option1 to Option15 of kind 3 its registers.
#include <iterator>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "exchange/section_readers.h"
#include "exchange/selective_exports.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"

namespace {

namespace R = IVVc::Rows;

// The registers of kind 3 in the order they are written, one option word each.
const uint16_t SelectedRegisters[] = {3, 14, 91, 56, 2, 65, 100, 78, 27, 15, 44, 53, 76, 102, 93};

// The invoice selection every invoice kind shares.
struct InvoiceSelection {
    int32_t first = -1, last = -1;
    DateRec from{}, to{};
    PString custFrom = {0}, custTo = {0}, objects = {0};
};

InvoiceSelection SelectionOfParams(const ReportJob &job)
{
    InvoiceSelection s;
    RangeSplitNumber(job.selection + ReportParamsVc::SelText1, &s.first, &s.last);
    s.from = GetDate(job.selection, ReportParamsVc::DateFrom);
    s.to = GetDate(job.selection, ReportParamsVc::DateTo);
    RangeSplit(job.selection + ReportParamsVc::SelText2, s.custFrom, s.custTo);
    GetText(job.selection, ReportParamsVc::ObjectSel, s.objects);
    return s;
}

// True when an invoice passes the date, customer and object filters.
bool InvoicePasses(const InvoiceSelection &s, const uint8_t *iv)
{
    DateRec d = GetDate(iv, IVVc::InvDate);
    if (!DateIsEmpty(&s.from) && DateCompare(&d, &s.from) < 0) return false;
    if (!DateIsEmpty(&s.to) && DateCompare(&d, &s.to) > 0) return false;
    PString code;
    GetText(iv, IVVc::CustCode, code);
    if (s.custFrom[0] != 0 && PStringCompareNoCase(code, s.custFrom) < 0) return false;
    if (s.custTo[0] != 0 && PStringCompareNoCase(code, s.custTo) > 0) return false;
    if (s.objects[0] != 0) {
        PString list;
        GetText(iv, IVVc::Objects, list);
        if (!ObjectListContains(s.objects, list)) return false;
    }
    return true;
}

// Calls each for every invoice of the number range in number order that
// passes the selection, until the job stops or each answers false.
template <typename Each>
void WalkInvoices(const InvoiceSelection &s, Each each)
{
    MemBlock h = 0;
    uint8_t *iv = RecBufferNew(IVVc::Number, &h);
    if (!iv) return;
    PutI32(iv, IVVc::SerNr, s.first < 0 ? 0 : s.first);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(IVVc::Number, iv, 1, 0, &recid, &position) && position > 0;
    for (uint32_t pos = position; found && !OutputJobState.stopFlag; pos++) {
        RecFreeMatrix(IVVc::Number, iv);
        if (!RecReadAt(IVVc::Number, int32_t(pos), iv, &recid)) break;
        if (s.last >= 0 && GetI32(iv, IVVc::SerNr) > s.last) break;
        ExportNumber(iv + IVVc::SerNr, FtLongOrEmpty);
        if (InvoicePasses(s, iv) && !each(iv)) break;
    }
    RecFreeMatrix(IVVc::Number, iv);
    RecBufferFree(IVVc::Number, &h);
}

// The head of an invoice section: the format line, the number format
// block and the tag on a line of its own.
void InvoiceSectionHead(const char *tag)
{
    RepOp18();
    SettingsBlockExport(145);
    ExportCString(tag);
    ExportLineFeed();
}

// Writes one invoice as its section record (ending with the empty line).
void InvoiceRecord(const uint8_t *iv)
{
    WriteRecordText(IVVc::Number, iv);
    ExportLineFeed();
}


// True when the invoice kind is chosen by the option words of kind 13.
bool InvoiceKindChosen(const ReportJob &job, const uint8_t *iv)
{
    static const uint32_t words[] = {ReportParamsVc::Option1, ReportParamsVc::Option2, ReportParamsVc::Option3,
                                     ReportParamsVc::Option4};
    bool any = false;
    for (uint32_t w : words) any = any || GetU16(job.selection, w) != 0;
    uint16_t kind = GetU16(iv, IVVc::InvType);
    return !any || (kind >= uint16_t(InvoiceKind::Ordinary) && kind <= uint16_t(InvoiceKind::Interest) &&
                    GetU16(job.selection, words[kind - 1]) != 0);
}

// Writes the chosen rows of one invoice (kind 13) in layout 0 or 1.
void InvoiceRowsOf(const ReportJob &job, const uint8_t *iv, int layout, uint8_t *item)
{
    PString itemFrom = {0}, itemTo = {0}, group = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText3, itemFrom, itemTo);
    GetTextPrefix(job.selection, ReportParamsVc::SelText4, 5, group);
    const bool credit = InvoiceKind(GetU16(iv, IVVc::InvType)) == InvoiceKind::CreditNote;
    std::vector<uint8_t> row(RecRowSize(IVVc::Number));
    int32_t count = MatrixRowCount(IVVc::Number, 0, iv);
    for (int32_t r = 0; r < count && !OutputJobState.stopFlag; r++) {
        if (!MatrixRowGet(IVVc::Number, 0, iv, r, row.data())) break;
        const DocRowKind kind = DocRowKind(GetU16(row.data(), R::Kind));
        if (kind == DocRowKind::Text || kind == DocRowKind::Amount) continue;
        PString code, attribute;
        GetText(row.data(), R::ItemCode, code);
        if (itemFrom[0] != 0 && PStringCompareNoCase(code, itemFrom) < 0) continue;
        if (itemTo[0] != 0 && PStringCompareNoCase(code, itemTo) > 0) continue;
        bool exists = ItemAttribute(code, item, attribute);
        if (group[0] != 0 && exists) {
            PString own;
            GetText(item, INVc::Group, own);
            if (!PStringEqual(own, group)) continue;
        }
        PackedDecimal qty = GetDec(row.data(), R::Quantity), sum = GetDec(row.data(), R::Sum);
        if (credit) {
            PackedDecimal q = qty, t = sum;
            DecNegateInto(&q, &qty);
            DecNegateInto(&t, &sum);
        }
        if (layout == 0) {
            ExportValue(iv + IVVc::SerNr, FtLongOrEmpty);
            ExportValue(iv + IVVc::InvDate, FtDate);
            ExportValue(iv + IVVc::CustCode, FtText);
            ExportValue(iv + IVVc::Addr0, FtText);
            ExportValue(iv + IVVc::InvType, FtShort);
            ExportValue(row.data() + R::ItemCode, FtText);
            ExportValue(&qty, FtAmount2);
            ExportValue(row.data() + R::Text, FtText);
            ExportValue(row.data() + R::Price, FtAmount2);
            ExportValue(&sum, FtAmount2);
            ExportValue(row.data() + R::Discount, FtAmount1);
            ExportValue(row.data() + R::SalesAcc, FtText);
            ExportValue(iv + IVVc::SalesMan, FtText);
            ExportValue(row.data() + R::GrossProfit, FtAmount2);
        } else {
            if (!exists || attribute[0] == 0) continue;
            PString deliver;
            GetText(iv, IVVc::DelAddr0, deliver);
            static const uint32_t delivery[] = {IVVc::DelAddr0, IVVc::DelAddr1, IVVc::DelAddr2, IVVc::DelAddr3};
            static const uint32_t invoice[] = {IVVc::Addr0, IVVc::Addr1, IVVc::Addr2, IVVc::OurRef};
            for (uint32_t at : deliver[0] != 0 ? delivery : invoice) ExportValue(iv + at, FtText);
            ExportValue(iv + IVVc::SerNr, FtLongOrEmpty);
            ExportValue(iv + IVVc::InvDate, FtDate);
            ExportValue(iv + IVVc::CustCode, FtText);
            ExportValue(iv + IVVc::Addr0, FtText);
            ExportValue(iv + IVVc::SalesMan, FtText);
            ExportValue(&qty, FtAmount3);
            ExportValue(row.data() + R::ItemCode, FtText);
            ExportValue(row.data() + R::Text, FtText);
            ExportText(attribute);
        }
        ExportLineFeed();
    }
}

}  // namespace

// The text of an item's attribute row "RUV" into text (empty when the item
// is missing or has none); false when the item is missing.
bool ItemAttribute(const uint8_t *code, uint8_t *item, uint8_t *text)
{
    text[0] = 0;
    RecFreeMatrix(INVc::Number, item);
    RecClear(INVc::Number, item);
    PutText(item, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (code[0] == 0 || !RecFind(INVc::Number, item, 1, 1, &recid, &position)) return false;
    std::vector<uint8_t> row(RecRowSize(INVc::Number));
    int32_t count = MatrixRowCount(INVc::Number, 0, item);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(INVc::Number, 0, item, r, row.data())) break;
        PString c;
        GetText(row.data(), INVc::Rows::LangCode, c);
        if (PStringEqualC(c, "RUV")) {
            GetText(row.data(), INVc::Rows::Text, text);
            break;
        }
    }
    return true;
}

// Kind 3: the registers whose option word is set, each over the key range
// of the first selection, in the fixed order.
void SelectedRegistersExport(const ReportJob &job)
{
    if (!job.selection) return;
    RepOp18();
    for (size_t i = 0; i < std::size(SelectedRegisters) && !OutputJobState.stopFlag; i++)
        if (GetU16(job.selection, ReportParamsVc::Option1 + 2 * i) != 0) RegExportKeyRange(job, SelectedRegisters[i]);
}

// Kind 4: the invoices of the selection, as a "fakt1" section (layout 0)
// or one summary line each (layout 1).
void InvoiceExport(const ReportJob &job)
{
    if (!job.selection) return;
    const int layout = GetU16(job.selection, ReportParamsVc::ReportLayout);
    const bool head = GetU16(job.selection, ReportParamsVc::Option1) == 0;
    bool first = true;
    WalkInvoices(SelectionOfParams(job), [&](const uint8_t *iv) {
        if (layout == 1) {
            static const struct {
                uint32_t at;
                uint16_t type;
            } cols[] = {{IVVc::SerNr, FtLongOrEmpty}, {IVVc::InvDate, FtDate},  {IVVc::CustCode, FtCodeNoSep},
                        {IVVc::Addr0, FtText},        {IVVc::Net, FtAmount2},   {IVVc::Vat, FtAmount2},
                        {IVVc::Total, FtAmount2},     {IVVc::Objects, FtText}};
            for (const auto &c : cols) ExportValue(iv + c.at, c.type);
            ExportLineFeed();
            return true;
        }
        if (first && head) InvoiceSectionHead("fakt1");
        first = false;
        InvoiceRecord(iv);
        return true;
    });
    if (!first && layout != 1) ExportLineFeed();
}

// Kind 30: the invoices that register 13 names, in its order, as a
// "fakt1" section; an open item whose invoice is gone is passed over.
void QueuedInvoiceExport()
{
    uint32_t count = RegOpenCount(ARVc::Number);
    if (count == 0) return;
    MemBlock ha = 0, hi = 0;
    uint8_t *open = RecBufferNew(ARVc::Number, &ha), *iv = RecBufferNew(IVVc::Number, &hi);
    bool written = false;
    for (uint32_t pos = 1; open && iv && pos <= count && !OutputJobState.stopFlag; pos++) {
        uint32_t recid = 0, position = 0;
        if (!RecReadAt(ARVc::Number, int32_t(pos), open, &recid)) continue;
        RecFreeMatrix(IVVc::Number, iv);
        RecClear(IVVc::Number, iv);
        PutI32(iv, IVVc::SerNr, GetI32(open, ARVc::InvoiceNr));
        if (!RecFind(IVVc::Number, iv, 1, 1, &recid, &position)) continue;
        if (!written) InvoiceSectionHead("fakt1");
        written = true;
        ExportNumber(iv + IVVc::SerNr, FtLongOrEmpty);
        InvoiceRecord(iv);
    }
    if (written) ExportLineFeed();
    if (iv) RecFreeMatrix(IVVc::Number, iv);
    if (iv) RecBufferFree(IVVc::Number, &hi);
    if (open) RecBufferFree(ARVc::Number, &ha);
}

// Kind 13: the rows of the chosen invoices, one line each.
void InvoiceRowsExport(const ReportJob &job)
{
    if (!job.selection) return;
    const int layout = GetU16(job.selection, ReportParamsVc::ReportLayout) == 1 ? 1 : 0;
    MemBlock h = 0;
    uint8_t *item = RecBufferNew(INVc::Number, &h);
    if (!item) return;
    WalkInvoices(SelectionOfParams(job), [&](const uint8_t *iv) {
        if (InvoiceKindChosen(job, iv)) InvoiceRowsOf(job, iv, layout, item);
        return true;
    });
    RecFreeMatrix(INVc::Number, item);
    RecBufferFree(INVc::Number, &h);
}
