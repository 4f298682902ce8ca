// doc_types.cpp - the document types a form prints (-29..-2): each one's
// register, rows, title and form-selection block, and the side records
// read before a print run (DocLoad) and freed after it (DocUnload).
//
// The side rows that the invoice, delivery, quotation, order and
// statement documents build for their own field values (VAT summary,
// expanded structures, statement lines) belong to those documents'
// value providers, built here through InvoiceRowExtras,
// DeliveryPrintLoad, OrderRowItemTable and QuoteRowExtras.
#include <cassert>
#include <cstring>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "output/forms/forms.h"
#include "rules/invoice_kind.h"

namespace {
constexpr int16_t FirstDocType = -29, LastDocType = -2;
constexpr uint32_t StatementLineSize = 56;

// The table of document types, -29 first. A row with reg 0 prints no
// record (-9, -5).
constexpr DocTypeRec DocTypes[] = {
    {-29, TimeSheetVc::Number, 132, Texts::TitleTimeSheetDoc, 226},
    {-28, ProductionVc::Number, 164, Texts::TitleProductionDoc, 225},
    {-27, SHVc::Number, 242, Texts::TitleStockDoc, 221},
    {-26, CUVc::Number, 0, Texts::TitleDocument, 222},
    {-25, AssetVc::Number, 0, Texts::TitleDocument, 217},
    {-24, ProjectVc::Number, 100, Texts::TitleProjectDoc, 215},
    {-23, PUVc::Number, 0, Texts::TitleStockDoc, 212},
    {-22, PUVc::Number, 200, Texts::TitlePurchaseDoc, 210},
    {-21, INVc::Number, 0, Texts::TitleDocument, 209},
    {-20, StockMoveVc::Number, 174, Texts::TitleStockDoc, 207},
    {-19, PurchOrderVc::Number, 282, Texts::TitleOrderDoc, 147},
    {-18, IVVc::Number, IVVc::Rows::Size, Texts::TitleInvoiceDoc, 185},
    {-17, IVVc::Number, IVVc::Rows::Size, Texts::TitleInvoiceDoc, 184},
    {-16, IVVc::Number, IVVc::Rows::Size, Texts::TitleInvoiceDoc, 183},
    {-15, ORVc::Number, 0, Texts::TitleOrderDoc, 180},
    {-14, QuotationVc::Number, 0, Texts::TitleQuotationDoc, 178},
    {-13, CUVc::Number, 0, Texts::TitleDocument, 174},
    {-12, SHVc::Number, 242, Texts::TitleDeliveryDoc, 158},
    {-11, CUVc::Number, StatementLineSize, Texts::TitleStatementDoc, 157},
    {-10, OPVc::Number, 140, Texts::TitlePaymentDoc, 154},
    {-9, 0, 0, 0, 0},
    {-8, CUVc::Number, StatementLineSize, Texts::TitleCustomerLines, 148},
    {-7, SHVc::Number, 242, Texts::TitleDeliveryDoc, 146},
    {-6, ORVc::Number, 0, Texts::TitleOrderDoc, 151},
    {-5, 0, 0, 0, 0},
    {-4, ARVc::Number, 0, Texts::TitleReminderDoc, 141},
    {-3, SHVc::Number, 242, Texts::TitleDeliveryDoc, 146},
    {-2, IVVc::Number, IVVc::Rows::Size, Texts::TitleInvoiceDoc, 140},
};
static_assert(sizeof DocTypes / sizeof DocTypes[0] == LastDocType - FirstDocType + 1);

// The record rows DocLoad locked for the run (time sheets, productions,
// projects, purchase labels); unlocked by DocUnload.
MemBlock LockedRows;

// Reads the record of reg keyed by the number at `at` into rec through
// index; rec cleared when not found.
bool ReadByNumber(int reg, const char *index, size_t at, int32_t number, uint8_t *rec) {
    RecClear(reg, rec);
    if (number < 0) return false;
    PutI32(rec, at, number);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(reg, index, rec, 1, 1, &recid, &position)) return true;
    RecClear(reg, rec);
    return false;
}

// The customer whose code is the printed record's field custCode into
// FormCustomer (cleared when missing).
template <int N>
void LoadCustomer(const uint8_t *record, TextField<N> custCode) {
    uint8_t code[256];
    GetText(record, custCode, code);
    DocReadByCode(CUVc::Number, CUVc::Code, code, FormCustomer);
}

// Appends a blank and the 32-bit number (field type 5) to title.
void TitleNumber(uint8_t *title, const uint8_t *record, size_t at) {
    uint8_t text[256];
    FieldToText(record + at, FtLongOrEmpty, text);
    PStringAppendChar(title, ' ');
    PStringAppend(title, text);
}

// Appends a blank and the text field f of rec to title.
template <int N>
void TitleText(uint8_t *title, const uint8_t *rec, TextField<N> f) {
    uint8_t text[256];
    GetText(rec, f, text);
    if (title[0] + 1 + text[0] > 255) text[0] = (uint8_t)(255 - title[0] - 1);
    PStringAppendChar(title, ' ');
    PStringAppend(title, text);
}

// The rows of the printed record's matrix, 0 when it has none.
int16_t RecordRows(int reg, const uint8_t *record) {
    int32_t n = MatrixRowCount(reg, 0, record);
    return (int16_t)(n < 0 ? 0 : n > INT16_MAX ? INT16_MAX : n);
}

// Empties the side records of a print run.
void ClearSideRecords() {
    std::memset(FormCustomer, 0, sizeof FormCustomer);
    std::memset(FormInvoice, 0, sizeof FormInvoice);
    std::memset(FormOrder, 0, sizeof FormOrder);
    std::memset(FormDelivery, 0, sizeof FormDelivery);
    std::memset(FormVendor, 0, sizeof FormVendor);
    FormDeliveryFound = false;
}

// Frees the rows the side records hold (their matrices) and empties them.
void FreeSideRecords() {
    RecFreeMatrix(IVVc::Number, FormInvoice);
    RecFreeMatrix(ORVc::Number, FormOrder);
    RecFreeMatrix(SHVc::Number, FormDelivery);
    ClearSideRecords();
}
}  // namespace

// The record of reg whose key field (at keyAt, maximum keyMax) is code,
// as DocReadByCode tells. rec is only written: what it held before (often
// an uninitialised buffer) is never taken for rows to free.
bool DocReadByCodeAt(int reg, size_t keyAt, int keyMax, const uint8_t *code, uint8_t *rec) {
    std::memset(rec, 0, RegRecordSize(reg));
    if (code[0] == 0) return false;
    PutPString(rec, keyAt, keyMax, code);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(reg, "Code", rec, 1, 1, &recid, &position)) return true;
    RecClear(reg, rec);
    return false;
}

// The entry of doctype; null outside -29..-2 and for -9 and -5.
const DocTypeRec *DocTypeOf(int16_t doctype) {
    if (doctype < FirstDocType || doctype > LastDocType) return nullptr;
    const DocTypeRec *d = &DocTypes[doctype - FirstDocType];
    assert(d->doctype == doctype);
    return d->reg ? d : nullptr;
}

// The form-selection block of doctype: the invoice's kind picks the cash
// (143), credit-note (144) or interest (142) forms, a shipment whose
// record word at 296 is set picks 160; 0 when doctype has none.
uint16_t DocFormSelectBlock(int16_t doctype, const uint8_t *record) {
    const DocTypeRec *d = DocTypeOf(doctype);
    if (!d) return 0;
    if (doctype == -2 && record) {
        const InvoiceKind kind = InvoiceKind(GetI16(record, IVVc::InvType));
        if (kind == InvoiceKind::Cash) return 143;
        if (kind == InvoiceKind::CreditNote) return 144;
        if (kind == InvoiceKind::Interest) return 142;
    }
    if (doctype == -3 && record && GetI16(record, SHVc::Shipped) != 0) return 160;
    return d->block;
}

// Reads what doctype prints besides FormDocRecord into the side records
// and counts its rows (FormRowCount); the title (a PString) is the
// type's text followed by the document's number or code. False, with an
// empty title, for a doctype that prints no document or no record.
bool DocLoad(int16_t doctype, uint8_t *title) {
    assert(title);
    title[0] = 0;
    FormRowsPerPage = 1;
    FormRowCount = 1;
    // The statement and payment runs put their customer or vendor into
    // the side record before the print, the reminder run its invoice;
    // every other run starts empty.
    if (doctype == -4) {
        std::memset(FormCustomer, 0, sizeof FormCustomer);
        std::memset(FormOrder, 0, sizeof FormOrder);
        std::memset(FormDelivery, 0, sizeof FormDelivery);
        std::memset(FormVendor, 0, sizeof FormVendor);
    } else if (doctype != -11 && doctype != -8 && doctype != -10) {
        ClearSideRecords();
    }
    if (doctype == -9 || doctype == -5) return true;
    const DocTypeRec *d = DocTypeOf(doctype);
    const uint8_t *rec = FormDocRecord;
    if (!d || !rec) return false;
    RowsPerPageInit();
    GetUiText(title, d->title);
    switch (doctype) {
    case -29: case -28: case -24:
        // Locked for the run; one page prints rows 0 .. FormRowsPerPage - 1.
        LockedRows = RecMatrixHandle(d->reg, rec);
        if (LockedRows) MemLock(LockedRows);
        if (doctype == -24) TitleText(title, rec, ProjectVc::Code);
        else TitleNumber(title, rec, 0);
        break;
    case -27: case -12: case -7: case -3:
        // Prints the print copy's rows: structures expanded into their parts.
        if (!DeliveryPrintLoad(doctype, rec)) return false;
        TitleNumber(title, rec, SHVc::SerNr);
        break;
    case -26: case -25: case -13: case -21:
        break;
    case -23: {
        // A label's record is the purchase and the row the label is for.
        const PurchaseLabelRec *label = (const PurchaseLabelRec *)rec;
        if (!label->purchase) return false;
        LockedRows = RecMatrixHandle(d->reg, label->purchase);
        if (LockedRows) MemLock(LockedRows);
        TitleNumber(title, label->purchase, PUVc::SerNr);
        break;
    }
    case -22: case -20:
        if (doctype == -20) StockMoveLoad(rec);
        FormRowCount = RecordRows(d->reg, rec);
        TitleNumber(title, rec, 0);
        break;
    case -19: {
        uint8_t code[256];
        GetText(rec, PurchOrderVc::VendCode, code);
        DocReadByCode(VEVc::Number, VEVc::Code, code, FormVendor);
        FormRowCount = RecordRows(d->reg, rec);
        TitleNumber(title, rec, PurchOrderVc::SerNr);
        break;
    }
    case -18: case -17: case -16: case -2: {
        LoadCustomer(rec, IVVc::CustCode);
        int32_t order = GetI32(rec, IVVc::OrderNr);
        if (ReadByNumber(ORVc::Number, "SerNr", ORVc::SerNr, order, FormOrder))
            FormDeliveryFound = ReadByNumber(SHVc::Number, "OrderKey", SHVc::OrderNr, order, FormDelivery);
        InvoiceRowExtras(rec);
        FormRowCount = RecordRows(d->reg, rec);
        if (GetI16(rec, IVVc::Posted) == 0 || GetI16(rec, IVVc::Printed) != 0) FormCopyCount = 1;
        TitleNumber(title, rec, IVVc::SerNr);
        break;
    }
    case -15: case -6:
        FormRowCount = RecordRows(d->reg, rec);
        LoadCustomer(rec, ORVc::CustCode);
        OrderRowItemTable(rec);
        OrderVendorLoad(rec);
        TitleNumber(title, rec, ORVc::SerNr);
        break;
    case -14:
        LoadCustomer(rec, QuotationVc::CustCode);
        QuoteRowExtras(rec);
        FormRowCount = RecordRows(d->reg, rec);
        TitleNumber(title, rec, QuotationVc::SerNr);
        break;
    case -11: case -8: {
        // The first word is the handle of the statement lines; the
        // statement run has put its customer into FormCustomer.
        MemBlock lines = GetU32(rec, 0);
        uint32_t size = lines && MemIsValid(lines) ? MemSize(lines) : 0;
        FormRowCount = (int16_t)(size / StatementLineSize > INT16_MAX ? INT16_MAX : size / StatementLineSize);
        TitleText(title, FormCustomer, CUVc::Name);
        break;
    }
    case -10:
        TitleText(title, FormVendor, VEVc::Name);
        break;
    case -4: {
        // The reminder run's invoice (its level raised for this print)
        // stays; otherwise the stored one is read.
        int32_t number = GetI32(rec, ARVc::InvoiceNr);
        if (GetI32(FormInvoice, IVVc::SerNr) != number || number <= 0) {
            RecFreeMatrix(IVVc::Number, FormInvoice);
            ReadByNumber(IVVc::Number, "SerNr", IVVc::SerNr, number, FormInvoice);
        }
        LoadCustomer(rec, ARVc::CustCode);
        TitleNumber(title, rec, ARVc::InvoiceNr);
        break;
    }
    default:
        assert(false && "every doctype of the table has a branch");
        return false;
    }
    return true;
}

// Undoes DocLoad: unlocks the rows it locked and empties the side records.
void DocUnload(int16_t doctype) {
    if (doctype == -18 || doctype == -17 || doctype == -16 || doctype == -2) InvoiceExtrasFree();
    if (doctype == -15 || doctype == -6) OrderRowItemTableFree();
    DocumentExtrasFree();
    if (LockedRows) {
        if (MemIsLocked(LockedRows)) MemUnlock(LockedRows);
        LockedRows = 0;
    }
    FreeSideRecords();
}
