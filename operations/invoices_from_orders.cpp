// invoices_from_orders.cpp - batch routine 13: sales invoices made from
// the open orders of the customers of a code range (optionally of one
// customer group). Way 0 (the job's word 46) puts each order's rows
// in full on an invoice, under a heading that names the order; way 1
// makes one invoice per customer with a summary row per order, account
// and VAT code, and an item-history record (register 129) that lists
// what was invoiced item by item. The invoices are inserted unposted and
// unchecked.
//
// The run itself counts what it invoices onto the order rows' invoiced
// quantity, so every invoice goes in with its order field all ones: the
// insert must not count the same quantities a second time. An invoice
// and the orders it counts on are stored in one hold: an invoice that
// cannot be numbered or stored leaves its orders as they were, so no
// order row ever claims an invoiced quantity that no invoice carries.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/doc_flow_fields.h"
#include "operations/operations.h"
#include "operations/order_conversion.h"
#include "operations/run_outcome.h"
#include "operations/stock_docs.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace Inv = IVVc;
namespace IR = IVVc::Rows;
namespace Ord = ORVc;
namespace OR = ORVc::Rows;
namespace Hist = InvHistVc;
namespace HR = InvHistVc::Rows;

constexpr int TextRunTitle = 12550, TextNoNumber = 12551, TextNotStored = 12552, TextBadWay = 12553;
constexpr uint16_t HistoryKindOrder = 7, OrderOpen = 1, InvStateNothingShipped = 1, InvStateInvoiced = 2;
constexpr int GroupMax = 5;

// The run in progress, which counts the invoices stored and the orders
// they invoice; null when a customer's orders are invoiced on their own.
RunOutcome *Outcome = nullptr;

// A decimal read from `at`, blank taken as zero.
PackedDecimal DecOrZero(const uint8_t *base, uint32_t at)
{
    PackedDecimal d = GetDec(base, at);
    if (DecIsBlank(&d)) DecSetZero(&d);
    return d;
}

void AddDecAt(uint8_t *base, uint32_t at, const PackedDecimal &add)
{
    PackedDecimal sum = DecOrZero(base, at);
    DecAdd(&sum, &add, &sum);
    PutDec(base, at, sum);
}

bool AppendRow(int reg, uint8_t *record, const uint8_t *row)
{
    return MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row);
}

// A new, empty invoice that updates no stock and has no number yet.
void StartInvoice(uint8_t *invoice)
{
    RecNewDefaults(Inv::Number, invoice);
    PutU16(invoice, Inv::UpdStock, 0);
    PutU32(invoice, Inv::SerNr, SerialNone);
    PutU32(invoice, Inv::OrderNr, SerialNone);
}

// "Order 123" and, when the order has a reference, " / " and it.
void OrderHeadingText(const uint8_t *order, uint8_t *text)
{
    uint8_t number[256], reference[256];
    GetUiText(text, Texts::TitleOrderDoc);
    LongToDigitText(GetI32(order, Ord::SerNr), number);
    PStringAppend(text, number);
    GetText(order, Ord::Reference, reference);
    if (reference[0] == 0) return;
    PString slash;
    PStringFromC(slash, " / ");
    PStringAppend(text, slash);
    PStringAppend(text, reference);
}

// The record ids of the customer's open orders not yet (or not at all to
// be) invoiced and not held by another user, in the order of the index
// (state, customer). Taken first, because storing an order that becomes
// fully invoiced moves it out of the index range being walked.
std::vector<uint32_t> OpenOrderIds(const uint8_t *customer)
{
    std::vector<uint32_t> ids;
    RuleRecord order(Ord::Number);
    if (!order.record) return ids;
    PutU16(order.record, Ord::Open, OrderOpen);
    PutText(order.record, Ord::CustCode, customer);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Ord::Number, "OSCU", order.record, 2, 0, &recid, &position)) return ids;
    uint8_t code[256];
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(Ord::Number, "OSCU", int32_t(p), order.record, &recid)) break;
        GetText(order.record, Ord::CustCode, code);
        if (GetU16(order.record, Ord::Open) != OrderOpen || !PStringEqual(code, customer)) break;
        uint16_t state = GetU16(order.record, Ord::InvState);
        if (state == InvStateNothingShipped || state == InvStateInvoiced) continue;
        if (RecordLocked(Ord::Number, recid)) continue;
        ids.push_back(recid);
    }
    return ids;
}

// The order's list marks renewed and the order rewritten; false (told,
// the hold failed) when it could not be stored.
bool StoreOrder(uint8_t *order, uint32_t recid)
{
    StatusMarkOrder(order);
    if (RecStore(Ord::Number, order, 1, &recid)) return true;
    DbHoldFail();
    return false;
}

// Inserts the invoice (when it has rows) and ends the hold its orders
// were stored in; the message when it failed. The run counts it with the
// `orders` it invoices.
bool CloseInvoice(uint8_t *invoice, uint8_t *history, int32_t orders)
{
    InvoiceInsert result = InsertNewInvoice(invoice, history);
    if (result == InvoiceInsert::NoNumber || result == InvoiceInsert::Failed) DbHoldFail();
    bool held = DbHoldEnd();
    if (held && result == InvoiceInsert::Stored && Outcome) {
        RunCount(Outcome, 1, Texts::RunInvoiceMade, Texts::RunInvoicesMade);
        RunCount(Outcome, orders, Texts::RunOrderInvoiced, Texts::RunOrdersInvoiced);
        RunNumber(Outcome, GetI32(invoice, Inv::SerNr));
    }
    if (result == InvoiceInsert::NoNumber) ShowTextMessage(TextNoNumber);
    else if (result == InvoiceInsert::Failed || !held) ShowTextMessage(TextNotStored);
    return held && result != InvoiceInsert::NoNumber && result != InvoiceInsert::Failed;
}

// Adds the quantities of the invoice's item rows from `first` on that
// name a row of the order to that row's invoiced quantity, and the down
// payments those rows deduct to the order's deducted down payments (the
// insert, which would move them, does not know the order).
void CountCopiedRows(const uint8_t *invoice, int32_t first, uint8_t *order)
{
    const int32_t orderRows = MatrixRowCount(Ord::Number, 0, order);
    uint8_t row[IR::Size], orderRow[OR::Size];
    for (int32_t i = first, n = MatrixRowCount(Inv::Number, 0, invoice); i < n; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row)) continue;
        if (DocRowKind(GetU16(row, IR::Kind)) == DocRowKind::DownPayment) {
            PackedDecimal sum = GetDec(row, IR::Sum), deducted;
            if (DecIsBlank(&sum) || !DecIsNegative(&sum)) continue;
            DecAbs(&sum, &deducted);
            AddDecAt(order, Ord::DownPayDed, deducted);
            continue;
        }
        if (DocRowKind(GetU16(row, IR::Kind)) != DocRowKind::Item) continue;
        int32_t at = LinkedRowIndex(GetU32(row, IR::Link), orderRows);
        if (at < 0 || !MatrixRowRead(Ord::Number, order, at, orderRow)) continue;
        PackedDecimal qty = GetDec(row, IR::Quantity);
        if (DecIsBlank(&qty)) continue;
        AddDecAt(orderRow, OR::QtyInvoiced, qty);
        MatrixRowPut(Ord::Number, 0, order, at, orderRow);
    }
}

// Copies the order with record id recid onto the invoice under its two
// heading rows, a blank line and the order's name; false when the order
// could not be read. The headings are text rows: as item rows they would
// print a zero quantity, price and VAT and put a line of nothing into
// the VAT summary. When nothing of the order was left to invoice the
// heading is taken off again: an invoice of headings alone bills nothing.
// *copied tells whether anything of the order went onto the invoice.
bool CopyOrderOnto(uint8_t *invoice, uint32_t recid, uint8_t *order, bool *copied)
{
    *copied = false;
    if (!RecReadById(Ord::Number, recid, order)) return false;
    const int32_t before = MatrixRowCount(Inv::Number, 0, invoice);
    uint8_t row[IR::Size] = {}, text[256];
    PutU16(row, IR::Kind, uint16_t(DocRowKind::Text));
    PutU32(row, IR::Link, SerialNone);
    PString blank;
    PStringFromC(blank, " ");
    PutText(row, IR::Text, blank);
    if (!AppendRow(Inv::Number, invoice, row)) return false;
    OrderHeadingText(order, text);
    PutText(row, IR::Text, text);
    if (!AppendRow(Inv::Number, invoice, row)) return false;
    PutU32(invoice, Inv::OrderNr, recid);
    OrderToInvoice(invoice);
    if (MatrixRowCount(Inv::Number, 0, invoice) == before + 2) {
        MatrixRowDelete(Inv::Number, invoice, before + 1);
        MatrixRowDelete(Inv::Number, invoice, before);
        return true;
    }
    CountCopiedRows(invoice, before + 2, order);
    *copied = true;
    return true;
}

// The invoice header of `header` without its rows into copy.
void HeaderCopy(const uint8_t *header, uint8_t *copy)
{
    RecFreeMatrix(Inv::Number, copy);
    std::memcpy(copy, header, Inv::Size);
    PutU32(copy, Inv::Matrix, MatrixSlotNone);
}

}  // namespace

int32_t InvoiceRowMatch(uint8_t *invoice, const uint8_t *orderRow)
{
    assert(invoice && orderRow);
    uint8_t vat[256], account[256], have[256], row[IR::Size];
    GetText(orderRow, OR::VatCode, vat);
    GetText(orderRow, OR::SalesAcc, account);
    const int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row)) continue;
        GetText(row, IR::VatCode, have);
        if (!PStringEqual(have, vat)) continue;
        GetText(row, IR::SalesAcc, have);
        if (PStringEqual(have, account)) return i;
    }
    std::memset(row, 0, sizeof row);
    PutU16(row, IR::Kind, uint16_t(DocRowKind::Item));
    PutU32(row, IR::Link, SerialNone);
    return MatrixRowPut(Inv::Number, 0, invoice, count, row) ? count : -1;
}

void OrderRowsToInvoice(uint8_t *order, uint8_t *invoice, uint8_t *history)
{
    assert(order && invoice);
    PutU32(invoice, Inv::OrderNr, GetU32(order, Ord::SerNr));
    uint8_t o[OR::Size], row[IR::Size], text[256];
    for (int32_t i = 0, n = MatrixRowCount(Ord::Number, 0, order); i < n; i++) {
        if (!MatrixRowRead(Ord::Number, order, i, o)) continue;
        // Nothing left (or less than nothing, when more was invoiced than
        // shipped) adds nothing: a negative rest would lower what the
        // order counts as invoiced without any invoice taking it back.
        PackedDecimal remaining = DocFlowLess(GetDec(o, OR::QtyShipped), GetDec(o, OR::QtyInvoiced));
        if (!DocFlowAboveZero(remaining)) continue;
        int32_t at = InvoiceRowMatch(invoice, o);
        if (at < 0 || !MatrixRowRead(Inv::Number, invoice, at, row)) continue;
        DocFlowCopyText(row, IR::SalesAcc, o, OR::SalesAcc);
        DocFlowCopyText(row, IR::VatCode, o, OR::VatCode);
        PutDec(row, IR::PriceUnit, GetDec(o, OR::PriceUnit));
        PackedDecimal price = GetDec(o, OR::Price), unit = GetDec(o, OR::PriceUnit), discount = GetDec(o, OR::Discount),
                      amount;
        DecRowAmount(&remaining, &price, &unit, &discount, &amount);
        AddDecAt(row, IR::Sum, amount);
        MatrixRowPut(Inv::Number, 0, invoice, at, row);
        if (history) {
            uint8_t h[HR::Size] = {};
            PutU16(h, HR::Kind, HistoryKindOrder);
            PutU32(h, HR::OrderNr, GetU32(order, Ord::SerNr));
            DocFlowCopyText(h, HR::CurncyCode, order, Ord::CurncyCode);
            PutDec(h, HR::Rate, GetDec(order, Ord::Rate));
            GetText(o, OR::ItemCode, text);
            PutText(h, HR::ItemCode, text);
            PutDec(h, HR::Quantity, remaining);
            // The cost of what is invoiced now: the row's cost per unit
            // times the quantity.
            PackedDecimal unitCost = DecOrZero(o, OR::UnitCost), cost;
            DecMul(&remaining, &unitCost, &cost);
            PutDec(h, HR::Cost, cost);
            PutDec(h, HR::Amount, amount);
            AppendRow(Hist::Number, history, h);
        }
        AddDecAt(o, OR::QtyInvoiced, remaining);
        MatrixRowPut(Ord::Number, 0, order, i, o);
    }
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {Inv::Freight, Inv::FreightHome, Inv::FreightPctAmt}) PutDec(invoice, at, blank);
    PackedDecimal zero;
    DecSetZero(&zero);
    PutDec(invoice, Inv::FreightPct, zero);
    PutText(invoice, Inv::FreightObj, EmptyPString);
    PutText(invoice, Inv::FreightVat, EmptyPString);
    PutText(invoice, Inv::FreightAcc, EmptyPString);
    DocTotalsRound(invoice);
}

bool InvoiceHeaderFromOrder(const uint8_t *order, uint8_t *invoice)
{
    assert(order && invoice);
    // The order filler of the document flow fills the same header (the
    // invoice customer, the header fields, the customer's text and the
    // payment terms); it reads the order by record id.
    RuleRecord found(Ord::Number), filled(Inv::Number);
    if (!found.record || !filled.record) return false;
    PutU32(found.record, Ord::SerNr, GetU32(order, Ord::SerNr));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Ord::Number, "SerNr", found.record, 1, 1, &recid, &position)) return false;
    StartInvoice(filled.record);
    PutU32(filled.record, Inv::OrderNr, recid);
    OrderToInvoice(filled.record);
    if (GetU32(filled.record, Inv::OrderNr) != GetU32(order, Ord::SerNr)) return false;
    // The header only: the filled rows go, the invoice keeps its own.
    const uint32_t slot = GetU32(invoice, Inv::Matrix);
    RecFreeMatrix(Inv::Number, filled.record);
    std::memcpy(invoice, filled.record, Inv::Size);
    PutU32(invoice, Inv::Matrix, slot);
    PutU16(invoice, Inv::UpdStock, 0);
    PutU32(invoice, Inv::SerNr, SerialNone);
    PutU32(invoice, Inv::OrderNr, SerialNone);
    return true;
}

InvoiceInsert InsertNewInvoice(uint8_t *invoice, uint8_t *history)
{
    assert(invoice);
    PutU32(invoice, Inv::OrderNr, SerialNone);
    PutU16(invoice, Inv::UpdStock, 0);
    DocTotalsRound(invoice);
    if (MatrixRowCount(Inv::Number, 0, invoice) == 0) return InvoiceInsert::NoRows;
    if (NeedsNumber(GetU32(invoice, Inv::SerNr))) {
        DateRec date = GetDate(invoice, Inv::TransDate);
        int32_t serial = NextSerialNumber(Inv::Number, &date, SeriesHint(SU::SeriesA + 8, SeriesDefaultsBlk::InvoiceHint), 0);
        if (serial == NoFreeNumber) return InvoiceInsert::NoNumber;
        PutU32(invoice, Inv::SerNr, uint32_t(serial));
    }
    uint32_t recid = 0;
    if (!RecInsertUnchecked(Inv::Number, invoice, &recid)) return InvoiceInsert::Failed;
    if (!history) return InvoiceInsert::Stored;
    PutU16(history, Hist::RegNr, Inv::Number);
    PutU32(history, Hist::InvoiceNr, GetU32(invoice, Inv::SerNr));
    return RecStore(Hist::Number, history, 0, &recid) ? InvoiceInsert::Stored : InvoiceInsert::Failed;
}

bool OrdersToOneInvoice(const uint8_t *customer)
{
    assert(customer);
    std::vector<uint32_t> ids = OpenOrderIds(customer);
    if (ids.empty()) return true;
    RuleRecord invoice(Inv::Number), order(Ord::Number);
    if (!invoice.record || !order.record) return false;
    StartInvoice(invoice.record);
    DbHoldBegin();
    int32_t orders = 0;
    for (uint32_t recid : ids) {
        if (UserCancelFlag) break;
        bool copied = false;
        if (!CopyOrderOnto(invoice.record, recid, order.record, &copied)) {
            // The order could not be read: what is built so far goes in,
            // and the order is tried once more on an invoice of its own.
            if (!CloseInvoice(invoice.record, nullptr, orders)) return false;
            orders = 0;
            StartInvoice(invoice.record);
            DbHoldBegin();
            if (!CopyOrderOnto(invoice.record, recid, order.record, &copied)) continue;
        }
        if (copied) orders++;
        if (!StoreOrder(order.record, recid)) {
            DbHoldEnd();
            ShowTextMessage(TextNotStored);
            return false;
        }
    }
    return CloseInvoice(invoice.record, nullptr, orders);
}

bool OrdersToInvoices(const uint8_t *customer)
{
    assert(customer);
    std::vector<uint32_t> ids = OpenOrderIds(customer);
    if (ids.empty()) return true;
    RuleRecord invoice(Inv::Number), part(Inv::Number), order(Ord::Number), history(Hist::Number);
    if (!invoice.record || !part.record || !order.record || !history.record) return false;
    StartInvoice(invoice.record);
    RecClear(Hist::Number, history.record);
    PutU16(history.record, Hist::RegNr, Inv::Number);
    bool headed = false;
    int32_t orders = 0;
    uint8_t row[IR::Size], summary[IR::Size], text[256];
    DbHoldBegin();
    for (uint32_t recid : ids) {
        if (UserCancelFlag) break;
        if (!RecReadById(Ord::Number, recid, order.record)) continue;
        // The invoice takes its customer and header from the first order
        // that gives them; an order before it is left for a later run.
        if (!headed && !(headed = InvoiceHeaderFromOrder(order.record, invoice.record))) continue;
        HeaderCopy(invoice.record, part.record);
        OrderRowsToInvoice(order.record, part.record, history.record);
        OrderHeadingText(order.record, text);
        const int32_t before = MatrixRowCount(Inv::Number, 0, invoice.record);
        for (int32_t i = 0, n = MatrixRowCount(Inv::Number, 0, part.record); i < n; i++) {
            if (!MatrixRowRead(Inv::Number, part.record, i, summary)) continue;
            PackedDecimal amount = GetDec(summary, IR::Sum);
            if (DecIsZero(&amount)) continue;
            std::memset(row, 0, sizeof row);
            PutU16(row, IR::Kind, uint16_t(DocRowKind::Item));
            PutU32(row, IR::Link, SerialNone);
            PutText(row, IR::Text, text);
            // A summary row has an amount only: no quantity, no price.
            PackedDecimal blank;
            DecSetBlank(&blank);
            PutDec(row, IR::Quantity, blank);
            PutDec(row, IR::Price, blank);
            PutDec(row, IR::Sum, amount);
            DocFlowCopyText(row, IR::VatCode, summary, IR::VatCode);
            DocFlowCopyText(row, IR::SalesAcc, summary, IR::SalesAcc);
            AppendRow(Inv::Number, invoice.record, row);
        }
        if (MatrixRowCount(Inv::Number, 0, invoice.record) > before) orders++;
        if (!StoreOrder(order.record, recid)) {
            DbHoldEnd();
            ShowTextMessage(TextNotStored);
            return false;
        }
    }
    return CloseInvoice(invoice.record, history.record, orders);
}

namespace {

// The customers of the code range (and group) walked, each one's orders
// invoiced the way the job record asks; false when the way is unknown or
// a store failed (told). Tells the run why nothing was made when no
// customer was in the range.
bool InvoicesFromOrdersWalk(const ReportJob &job, RunOutcome *run)
{
    const uint16_t way = GetU16(job.selection, ReportParamsVc::ReportLayout);
    if (way > 1) {
        ShowTextMessage(TextBadWay);
        return false;
    }
    uint8_t range[256], from[256], to[256], group[256], code[256], have[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    GetTextPrefix(job.selection, ReportParamsVc::SelText3, GroupMax, group);
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return false;
    PutText(customer.record, CUVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(CUVc::Number, customer.record, 1, 0, &recid, &position)) {
        RunNothing(run, Texts::RunWhyNoCustomer);
        return true;
    }
    int32_t customers = 0;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAt(CUVc::Number, int32_t(p), customer.record, &recid)) break;
        GetText(customer.record, CUVc::Code, code);
        if (to[0] != 0 && PStringCompare(code, to) > 0) break;
        GetText(customer.record, CUVc::CustGroup, have);
        if (group[0] != 0 && !PStringEqual(group, have)) continue;
        if (!RunGoesOn(run, code)) break;
        customers++;
        if (!(way == 0 ? OrdersToOneInvoice(code) : OrdersToInvoices(code))) return false;
    }
    if (customers == 0) RunNothing(run, Texts::RunWhyNoCustomer);
    return true;
}

}  // namespace

bool InvoicesFromOrders(const ReportJob &job)
{
    assert(job.selection);
    RunOutcome run;
    RunStart(&run, TextRunTitle);
    Outcome = &run;
    const bool done = InvoicesFromOrdersWalk(job, &run);
    Outcome = nullptr;
    if (!RunMadeSomething(run)) RunNothing(&run, run.why ? run.why : Texts::RunWhyNothingLeft, Texts::RunNothingInvoiced);
    // A run refused or stopped by a failure has told why in its message.
    if (done) RunFinish(&run, 0);
    else if (RunOutcomeUi.progressEnd) RunOutcomeUi.progressEnd();
    return done;
}
