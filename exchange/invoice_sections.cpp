// invoice_sections.cpp - the sales invoice ("fakt1") and customer receipt
// ("betal3", "betal2") sections of the text exchange: the invoice's writer
// and reader, the receipt's readers, and the repairs a read document gets
// before it is stored.
//
// An invoice is four header lines, then one line per row whose columns
// follow the row's kind. A document whose number is "S" takes the next
// free number of its date; when its series is full it is not stored at all
// (ImportRefuseUnnumbered), so that no two documents share the number -1.
#include <cassert>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/section_readers.h"
#include "exchange/text_exchange.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "output/output_job.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace R = IVVc::Rows;
constexpr Col E = Col::Empty, C = Col::Clear;

// Header line 1 after the number; the currency column pair is read by hand.
const Column InvLine1[] = {
    {IVVc::InvDate, FtDate, 0}, {IVVc::PayDate, FtDate, 0}, {IVVc::VatZone, FtShort, 0},
    {IVVc::Printed, FtShort, 0}, {IVVc::PayTerms, FtCodeNoSep, 2}, {IVVc::PayDays, FtLongOrEmpty, 0},
    {IVVc::CashDiscPct, FtAmount1, 0}, {IVVc::CashDiscDays, FtLongOrEmpty, 0}, {IVVc::Text426, FtText, 60},
    {IVVc::OrderNr, FtLongOrEmpty, 0}, {IVVc::Posted, FtShort, 0}, {IVVc::IntRate, FtAmount2, 0},
    {IVVc::Mark, FtShort, 0}, {IVVc::InvType, FtShort, 0}, {IVVc::PriceList, FtCodeNoSep, 5},
    {IVVc::Objects, FtCode, 30}, {0, FtText, 0, E}, {IVVc::InclVat, FtShort, 0},
    {IVVc::ARAcc, FtCodeNoSep, 10}, {IVVc::PayModeText, FtText, 1},
};
const Column InvLine1Currency[] = {{IVVc::CurncyCode, FtCodeNoSep, 5}, {IVVc::Rate, FtAmount2, 0}};
const Column InvLine1End[] = {{IVVc::NoticeCount, FtLongOrEmpty, 0}, {IVVc::NoticeDate, FtDate, 0}};
const Column InvLines234[] = {
    {IVVc::CustCode, FtCodeNoSep, 20}, {IVVc::Addr0, FtText, 60}, {IVVc::Addr1, FtText, 60},
    {IVVc::Addr2, FtText, 60}, {IVVc::Addr3, FtText, 60}, {IVVc::CustCat, FtCodeNoSep, 5},
    {0, 0, 0, Col::NewLine},
    {IVVc::Name2, FtText, 60}, {IVVc::Text290, FtText, 20}, {IVVc::Reference, FtText, 60},
    {IVVc::SalesMan, FtCodeNoSep, 5}, {IVVc::LangCode, FtCodeNoSep, 5}, {IVVc::StatCustCode, FtCodeNoSep, 20},
    {0, 0, 0, Col::NewLine},
    {IVVc::RoundOff, FtAmount2, 0}, {IVVc::Net, FtAmount2, 0}, {IVVc::VatFreeNet, FtAmount2, 0},
    {IVVc::Vat, FtAmount2, 0}, {IVVc::Total, FtAmount2, 0}, {IVVc::FreightItem, FtCodeNoSep, 20},
    {IVVc::Freight, FtAmount2, 0}, {IVVc::FreightHome, FtAmount2, 0}, {IVVc::FreightVat, FtCodeNoSep, 2},
    {IVVc::FreightObj, FtCode, 30}, {IVVc::FreightPctAmt, FtAmount2, 0}, {IVVc::DelAddr0, FtText, 60},
    {IVVc::DelAddr1, FtText, 60}, {IVVc::DelAddr2, FtText, 60}, {IVVc::DelAddr3, FtText, 60},
    {IVVc::OurRef, FtText, 20}, {IVVc::DelTerms, FtCode, 5}, {IVVc::DelMode, FtCode, 5},
    {IVVc::Project, FtCodeNoSep, 20}, {IVVc::FreightAcc, FtCodeNoSep, 10},
    {IVVc::TotalBeforeRound, FtAmount2, 0}, {IVVc::Location, FtCodeNoSep, 10}, {IVVc::VatCode, FtCodeNoSep, 2},
    {IVVc::DiscCode2, FtCodeNoSep, 5}, {IVVc::RefStr, FtText, 30}, {IVVc::Text1238, FtText, 20},
    {IVVc::CustPhone, FtText, 20},
};

// The columns of a row after its kind, by kind.
const Column RowItem[] = {
    {R::ItemCode, FtCodeNoSep, 20}, {R::Quantity, FtAmount3, 0}, {R::Text, FtText, 100},
    {R::Price, FtAmount3Drop, 0}, {R::Sum, FtAmount2, 0}, {R::Discount, FtAmount1, 0},
    {R::SalesAcc, FtCodeNoSep, 10}, {R::Objects, FtCode, 30}, {R::Link, FtLongOrEmpty, 0},
    {R::UnitCost, FtAmount2, 0}, {R::GrossProfit, FtAmount2, 0}, {R::FifoCost, FtAmount2, 0},
    {R::VatCode, FtCodeNoSep, 2}, {R::StructCode, FtCodeNoSep, 20}, {R::Text284, FtText, 30},
    {R::PriceUnit, FtAmount2, 0},
};
// Kind 3: five empty columns (an older writer's) whose text the row keeps
// as its text, then the link.
const Column RowKind3[] = {
    {0, FtText, 0, E}, {0, FtText, 0, E}, {0, FtText, 0, E}, {0, FtText, 0, E}, {0, FtText, 0, E},
    {R::Link, FtLongOrEmpty, 0}, {R::Text, FtText, 100, C},
};
// Kind 4: the empty columns stand where price, objects and link would.
const Column RowKind4[] = {
    {R::ItemCode, FtCodeNoSep, 20}, {R::Quantity, FtAmount3, 0}, {R::Text, FtText, 100},
    {0, FtText, 0, E}, {R::Sum, FtAmount2, 0}, {R::Discount, FtAmount1, 0},
    {R::SalesAcc, FtCodeNoSep, 10}, {0, FtText, 0, E}, {0, FtText, 0, E},
    {R::VatCode, FtCodeNoSep, 2}, {R::Link, FtLongOrEmpty, 0}, {R::UnitCost, FtAmount2, 0},
    {R::Price, FtAmount3Drop, 0, C}, {R::Objects, FtCode, 30, C},
};
const Column RowKind5[] = {
    {R::Text, FtText, 100}, {R::Sum, FtAmount2, 0}, {R::SalesAcc, FtCodeNoSep, 10}, {R::VatCode, FtCodeNoSep, 2},
};

std::span<const Column> InvoiceRowColumns(DocRowKind kind)
{
    switch (kind) {
    case DocRowKind::Text: return RowKind3;
    case DocRowKind::Amount: return RowKind4;
    case DocRowKind::DownPayment: return RowKind5;
    default: return RowItem;
    }
}

// Receipt, layout 3: the header after its number, and the rows by kind.
const Column Pay3Head[] = {
    {IPVc::Text, FtText, 60}, {IPVc::PayMode, FtCodeNoSep, 2}, {IPVc::AmountRec, FtAmount2, 0},
    {IPVc::RegDate, FtDate, 0}, {IPVc::Posted, FtShort, 0}, {IPVc::Amount92, FtAmount2, 0},
    {0, FtText, 5, E}, {IPVc::TransDate, FtDate, 0}, {IPVc::CurncyCode, FtCodeNoSep, 5},
    {IPVc::Rate, FtAmount2, 0}, {IPVc::FurtherAmount, FtAmount2, 0}, {IPVc::Total, FtAmount2, 0},
};
const Column Pay3RowInvoice[] = {
    {IPVc::Rows::InvoiceNr, FtLongOrEmpty, 0}, {IPVc::Rows::CustCode, FtCodeNoSep, 20},
    {IPVc::Rows::PayDate, FtDate, 0}, {IPVc::Rows::Text, FtText, 60}, {IPVc::Rows::Amount, FtAmount2, 0},
    {IPVc::Rows::Link, FtLongOrEmpty, 0},
};
const Column Pay3RowOther[] = {
    {IPVc::Rows::InvoiceNr, FtLongOrEmpty, 0}, {IPVc::Rows::CustCode, FtCodeNoSep, 20},
    {IPVc::Rows::Text, FtText, 60}, {IPVc::Rows::Amount, FtAmount2, 0},
};
const Column Pay3RowLead[] = {{IPVc::Rows::Kind, FtShort, 0}, {IPVc::Rows::Flag, FtShort, 0}};

// Reads a number column: "S" asks for the next free number (true in
// *takeNext), anything else is the number.
bool ReadNumberColumn(uint8_t *field, bool *takeNext)
{
    PString number;
    if (!ReadTextColumn(number)) return false;
    *takeNext = PStringEqualC(number, "S");
    return *takeNext || ParseColumn(field, FtLongOrEmpty, 0, number);
}

// Gives a document its next free number for date (hint above 0 keeps to
// the series that holds it); a full series refuses the record: it is not
// stored and its line is told.
void TakeNextNumber(int reg, uint8_t *record, uint32_t at, const DateRec *date, int32_t hint)
{
    int32_t next = NextSerialNumber(reg, date, hint, 0);
    if (next == NoFreeNumber) ImportRefuseUnnumbered();
    PutI32(record, at, next);
}

// The invoice number hint of the series defaults block (0: none).
int32_t InvoiceSeriesHint()
{
    uint8_t block[SeriesDefaultsBlk::Size] = {0};
    if (!SettingsBlockRead(SeriesDefaultsBlk::Number, block, sizeof block)) return 0;
    return GetI32(block, SeriesDefaultsBlk::InvoiceHint);
}

// The second empty column of header line 1, then the currency pair: an
// older writer's "0" or "1" means no currency; another text is the code.
bool ReadInvoiceCurrency(uint8_t *invoice)
{
    PString marker;
    marker[0] = 0;
    if (!ImportReadField(marker, FtText, 5)) return false;
    if (!ReadColumns(InvLine1Currency, invoice, IVVc::Size)) return false;
    if (PStringEqualC(marker, "0") || PStringEqualC(marker, "1")) {
        FieldClear(invoice + IVVc::CurncyCode, FtCodeNoSep, 5);
        FieldClear(invoice + IVVc::Rate, FtAmount2, 0);
    } else if (marker[0] != 0) {
        PutText(invoice, IVVc::CurncyCode, marker);
    }
    PString code;
    GetText(invoice, IVVc::CurncyCode, code);
    if (PStringEqualC(code, "0,00")) FieldClear(invoice + IVVc::CurncyCode, FtCodeNoSep, 5);
    return true;
}

// The stock flag's column: empty means the invoice updates stock unless it
// came from an order or is a credit note.
bool ReadInvoiceStockFlag(uint8_t *invoice)
{
    PString text;
    text[0] = 0;
    if (!ImportReadField(text, FtText, 5)) return false;
    if (text[0] != 0) return ParseColumn(invoice + IVVc::UpdStock, FtShort, 0, text);
    bool updates = GetU32(invoice, IVVc::OrderNr) != 0xFFFFFFFFu &&
        InvoiceKind(GetU16(invoice, IVVc::InvType)) != InvoiceKind::CreditNote;
    PutU16(invoice, IVVc::UpdStock, updates ? 1 : 0);
    return true;
}

// The structure code a row without one takes: the item's own when it is
// a structure item with a code, else "_".
void RowStructureFill(uint8_t *row)
{
    PString code;
    GetText(row, R::StructCode, code);
    if (code[0] != 0) return;
    std::vector<uint8_t> item(RegRecordSize(INVc::Number), 0);
    GetText(row, R::ItemCode, code);
    PutText(item.data(), INVc::Code, code);
    uint32_t recid = 0, position = 0;
    PString structure;
    PStringFromC(structure, "_");
    if (code[0] != 0 && RecFind(INVc::Number, item.data(), 1, 1, &recid, &position) &&
        GetU16(item.data(), INVc::StructFlag) == 1) {
        PString own;
        GetText(item.data(), INVc::StructCode, own);
        if (own[0] != 0) PStringCopy(structure, own);
    }
    PutText(row, R::StructCode, structure);
}

// Reads the invoice's rows, one a line, each by its kind's columns.
bool ReadInvoiceRows(uint8_t *invoice)
{
    const uint32_t size = RecRowSize(IVVc::Number);
    if (!ImportListFits(size >= R::Size)) return false;
    std::vector<uint8_t> row(size);
    const bool noOrder = GetU32(invoice, IVVc::OrderNr) == 0xFFFFFFFFu;
    for (int32_t count = 0; ImportNextLineHasData(); count++) {
        std::fill(row.begin(), row.end(), 0);
        if (!ImportReadField(row.data() + R::Kind, FtShort, 0)) return false;
        const DocRowKind kind = DocRowKind(GetU16(row.data(), R::Kind));
        if (!ReadColumns(InvoiceRowColumns(kind), row.data(), size)) return false;
        if (kind != DocRowKind::Text && kind != DocRowKind::Amount && kind != DocRowKind::DownPayment) {
            if (noOrder) PutI32(row.data(), R::Link, -1);
            RowStructureFill(row.data());
        }
        if (count >= 65535 || !MatrixRowPut(IVVc::Number, 0, invoice, count, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    return true;
}

// An invoice read over one already stored keeps the stored payment
// reference: the customer may already hold it, and a bank file finds the
// invoice by it. A reference is built only for an invoice new to the
// company; one stored without a reference gets it when it is posted, as
// an invoice made in its window does (a posted one read over it gets its
// reference here). True when the stored copy settled the reference.
bool StoredReferenceKept(uint8_t *invoice)
{
    if (GetI32(invoice, IVVc::SerNr) < 0) return false;
    MemBlock h = 0;
    uint8_t *stored = RecBufferNew(IVVc::Number, &h);
    if (!stored) return false;
    PutI32(stored, IVVc::SerNr, GetI32(invoice, IVVc::SerNr));
    uint32_t recid = 0, position = 0;
    const bool found = RecFindByIndex(IVVc::Number, "SerNr", stored, 1, 1, &recid, &position);
    bool settled = false;
    if (found) {
        PString reference;
        GetText(stored, IVVc::RefStr, reference);
        if (reference[0] != 0) PutText(invoice, IVVc::RefStr, reference);
        settled = reference[0] != 0 || GetU16(invoice, IVVc::Posted) == 0;
    }
    RecFreeMatrix(IVVc::Number, stored);
    RecBufferFree(IVVc::Number, &h);
    return settled;
}

// What a read invoice gets before it is stored: a known kind, the
// receivables account, totals, its reference number, due date.
void InvoiceRepairs(uint8_t *invoice)
{
    uint16_t type = GetU16(invoice, IVVc::InvType);
    if (type < uint16_t(InvoiceKind::Ordinary) || type > uint16_t(InvoiceKind::Interest))
        PutU16(invoice, IVVc::InvType, uint16_t(InvoiceKind::Ordinary));
    PString text;
    GetText(invoice, IVVc::ARAcc, text);
    if (text[0] == 0) {
        uint8_t block[SalesAccountsBlk::Size] = {0};
        if (SettingsBlockRead(SalesAccountsBlk::Number, block, sizeof block)) {
            GetText(block, SalesAccountsBlk::ARAcc, text);
            PutText(invoice, IVVc::ARAcc, text);
        }
    }
    PackedDecimal total = GetDec(invoice, IVVc::Total);
    if (DecIsBlank(&total)) DocTotalsRound(invoice);
    if (!StoredReferenceKept(invoice)) {
        GetText(invoice, IVVc::RefStr, text);
        if (text[0] == 0) InvoiceReferenceNumber(invoice);
    }
    PutU16(invoice, IVVc::Transferred, 0);
    if (GetU16(invoice, IVVc::Posted) > 1) PutU16(invoice, IVVc::Posted, 1);
    DateRec due = GetDate(invoice, IVVc::PayDate);
    if (DateIsEmpty(&due)) ApplyPaymentTerms(invoice);
}

}  // namespace

// Writes an invoice: four header lines, then its rows, each a line.
void WriteInvoiceText(int, const uint8_t *invoice)
{
    static const uint8_t empty[1] = {0};
    ExportValue(invoice + IVVc::SerNr, FtLongOrEmpty);
    WriteColumns(InvLine1, invoice);
    ExportText(empty);
    WriteColumns(InvLine1Currency, invoice);
    ExportValue(invoice + IVVc::TransDate, FtDate);
    ExportValue(invoice + IVVc::UpdStock, FtShort);
    WriteColumns(InvLine1End, invoice);
    RepLineFeed();
    WriteColumns(InvLines234, invoice);
    RepLineFeed();
    std::vector<uint8_t> row(RecRowSize(IVVc::Number));
    int32_t count = MatrixRowCount(IVVc::Number, 0, invoice);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(IVVc::Number, 0, invoice, r, row.data())) break;
        ExportValue(row.data() + R::Kind, FtShort);
        WriteColumns(InvoiceRowColumns(DocRowKind(GetU16(row.data(), R::Kind))), row.data());
        RepLineFeed();
    }
}

// Reads an invoice into a cleared record; false when damaged. A number
// "S" takes the next free number of the transaction date's series.
bool ReadInvoiceText(int, int, uint8_t *invoice)
{
    bool takeNext = false;
    if (!ReadNumberColumn(invoice + IVVc::SerNr, &takeNext)) return false;
    if (!ReadColumns(InvLine1, invoice, IVVc::Size) || !ReadInvoiceCurrency(invoice)) return false;
    if (!ImportReadField(invoice + IVVc::TransDate, FtDate, 0) || !ReadInvoiceStockFlag(invoice)) return false;
    if (!ReadColumns(InvLine1End, invoice, IVVc::Size)) return false;
    ImportSkipLine();
    if (!ReadColumns(InvLines234, invoice, IVVc::Size)) return false;
    DateRec date = GetDate(invoice, IVVc::TransDate);
    if (DateIsEmpty(&date)) {
        date = GetDate(invoice, IVVc::InvDate);
        PutDate(invoice, IVVc::TransDate, date);
    }
    if (takeNext) TakeNextNumber(IVVc::Number, invoice, IVVc::SerNr, &date, InvoiceSeriesHint());
    if (!ReadInvoiceRows(invoice)) return false;
    InvoiceRepairs(invoice);
    return true;
}

// Writes a receipt in layout 3: its header line, then its rows.
void WriteReceiptText(int, const uint8_t *receipt)
{
    ExportValue(receipt + IPVc::SerNr, FtLongOrEmpty);
    WriteColumns(Pay3Head, receipt);
    RepLineFeed();
    std::vector<uint8_t> row(RecRowSize(IPVc::Number));
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(IPVc::Number, 0, receipt, r, row.data())) break;
        WriteColumns(Pay3RowLead, row.data());
        const PaidRowKind kind = PaidRowKind(GetU16(row.data(), IPVc::Rows::Kind));
        if (kind == PaidRowKind::Paid) WriteColumns(Pay3RowInvoice, row.data());
        else if (kind == PaidRowKind::Discount || kind == PaidRowKind::Fee) WriteColumns(Pay3RowOther, row.data());
        RepLineFeed();
    }
}

// Reads a receipt in layout 3: a number ("S": the next free one of the
// receipt date), the header, then rows by kind; an invoice row without a
// date takes the receipt's, rows of kinds 5 and 6 always do.
bool ReadReceiptV3(int, int, uint8_t *receipt)
{
    bool takeNext = false;
    if (!ReadNumberColumn(receipt + IPVc::SerNr, &takeNext)) return false;
    if (!ReadColumns(Pay3Head, receipt, IPVc::Size)) return false;
    DateRec date = GetDate(receipt, IPVc::TransDate);
    if (takeNext) TakeNextNumber(IPVc::Number, receipt, IPVc::SerNr, &date, 0);
    const uint32_t size = RecRowSize(IPVc::Number);
    if (!ImportListFits(size >= IPVc::Rows::Size)) return false;
    std::vector<uint8_t> row(size);
    for (int32_t count = 0; ImportNextLineHasData(); count++) {
        std::fill(row.begin(), row.end(), 0);
        if (!ReadColumns(Pay3RowLead, row.data(), size)) return false;
        const PaidRowKind kind = PaidRowKind(GetU16(row.data(), IPVc::Rows::Kind));
        if (kind == PaidRowKind::Paid) {
            if (!ReadColumns(Pay3RowInvoice, row.data(), size)) return false;
            DateRec paid = GetDate(row.data(), IPVc::Rows::PayDate);
            if (DateIsEmpty(&paid)) PutDate(row.data(), IPVc::Rows::PayDate, date);
        } else if (kind == PaidRowKind::Discount || kind == PaidRowKind::Fee) {
            if (!ReadColumns(Pay3RowOther, row.data(), size)) return false;
            PutI32(row.data(), IPVc::Rows::Link, -1);
            PutDate(row.data(), IPVc::Rows::PayDate, date);
        }
        if (count >= 65535 || !MatrixRowPut(IPVc::Number, 0, receipt, count, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    StatusMarkPayment(receipt);
    return true;
}

// Reads a receipt in layout 2: one line of 26 columns without rows; its
// three amounts become up to three rows (invoice, kind 5, kind 6).
bool ReadReceiptV2(int, int, uint8_t *receipt)
{
    DateRec d{};
    int32_t n = -1, m = -1;
    PackedDecimal a1, a2, a3;
    PString k, t;
    k[0] = t[0] = 0;
    const Column lead[] = {{IPVc::SerNr, FtLongOrEmpty, 0}, {IPVc::Text, FtText, 60}};
    if (!ReadColumns(lead, receipt, IPVc::Size)) return false;
    bool ok = ImportReadField(&d, FtDate, 0) && ImportReadField(receipt + IPVc::PayMode, FtCodeNoSep, 1) &&
              ImportReadField(nullptr, FtAmount2, 0) && ImportReadField(receipt + IPVc::RegDate, FtDate, 0) &&
              ImportReadField(&n, FtLongOrEmpty, 0) && ImportReadField(&a1, FtAmount2, 0) &&
              ImportReadField(&a2, FtAmount2, 0) && ImportReadField(&a3, FtAmount2, 0) &&
              ImportReadField(receipt + IPVc::Posted, FtShort, 0) && ImportReadField(nullptr, FtText, 0) &&
              ImportReadField(nullptr, FtText, 0) && ImportReadField(&m, FtLongOrEmpty, 0) &&
              ImportReadField(nullptr, FtLongOrEmpty, 0) && ImportReadField(k, FtCodeNoSep, 20) &&
              ImportReadField(t, FtText, 60) && ImportReadField(nullptr, FtShort, 0) &&
              ImportReadField(nullptr, FtDate, 0) && ImportReadField(nullptr, FtDate, 0);
    for (int i = 0; ok && i < 4; i++) ok = ImportReadField(nullptr, FtAmount2, 0);
    ok = ok && ImportReadField(nullptr, FtText, 0) && ImportReadField(receipt + IPVc::TransDate, FtDate, 0);
    if (!ok) return false;
    DateRec date = GetDate(receipt, IPVc::TransDate);
    if (DateIsEmpty(&date)) PutDate(receipt, IPVc::TransDate, d);
    std::vector<uint8_t> row(RecRowSize(IPVc::Number));
    int32_t count = 0;
    const struct {
        const PackedDecimal *amount;
        uint16_t kind;
    } parts[] = {{&a1, 1}, {&a3, 5}, {&a2, 6}};
    for (const auto &p : parts) {
        if (DecIsBlank(p.amount) || DecIsZero(p.amount)) continue;
        std::fill(row.begin(), row.end(), 0);
        PutU16(row.data(), IPVc::Rows::Kind, p.kind);
        PutI32(row.data(), IPVc::Rows::InvoiceNr, n);
        PutText(row.data(), IPVc::Rows::CustCode, k);
        PutText(row.data(), IPVc::Rows::Text, t);
        PutDate(row.data(), IPVc::Rows::PayDate, d);
        PutDec(row.data(), IPVc::Rows::Amount, *p.amount);
        PutI32(row.data(), IPVc::Rows::Link, p.kind == 5 ? -1 : m);
        if (!MatrixRowPut(IPVc::Number, 0, receipt, count++, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    DocRowsTotal(receipt);
    PutDec(receipt, IPVc::AmountRec, GetDec(receipt, IPVc::Total));
    StatusMarkPayment(receipt);
    return true;
}
