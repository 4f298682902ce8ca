// field_rules.cpp - the texts of fields whose text the window supplies
// (type 28) and the reading of what the user types into them, by window
// type: choice values shown by their list's text, the cells of a
// type-241 window, each read through the list its row's code names, and
// the reference of the voucher window's (117) link rows (kinds 3 and 4):
// the voucher they name, typed and shown as "year.number"; the vendor's
// name on an outgoing payment's row (type 157), read from the vendor
// register by the row's vendor code; the order row a delivery's or goods
// receipt's row comes from, shown and typed counted from 1; the account's
// whole name on the rows of the account-row windows that keep only its
// beginning. Whether a field may be edited is in edit_rules.cpp.
#include "recordwin/record_windows.h"

#include <vector>

#include "core/choice_lists.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/invoice_printed.h"
#include "recordwin/account_rows.h"
#include "recordwin/total_currency.h"
#include "recordwin/window_rows.h"
#include "rules/accounts.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = TRVc::Rows;
constexpr int VoucherWindow = 117;

// Reads the voucher row under screen field F of a voucher window into r
// when it is a row that names another voucher; false otherwise.
bool ReferenceRowAt(int window, int F, uint8_t *r, int *row)
{
    if (WinTypeOf(window) != VoucherWindow || !WinRecordIs(window, TRVc::Number)) return false;
    FieldPlace at = WinFieldPlace(window, F);
    const uint8_t *voucher = WinRecordBuffer(window);
    if (!at.IsCell() || !voucher || !MatrixRowGet(TRVc::Number, 0, voucher, at.row, r)) return false;
    uint16_t kind = GetU16(r, Row::Kind);
    *row = at.row;
    return kind == RowLink || kind == RowReference;
}

// The outgoing-payment window (type 157): the column of its rows that
// shows the vendor's name. The row keeps the vendor's code only (its
// bytes 30 and 62 hold the giro and the account the bank files pay to),
// so the name is looked up each time it is shown.
constexpr int OutPaymentWindow = 157, VendorNameColumn = 6;

// The row of an outgoing payment under screen field F when F is its
// vendor-name cell; false otherwise.
bool VendorNameCellAt(int window, int F, uint8_t *r)
{
    if (WinTypeOf(window) != OutPaymentWindow || !WinRecordIs(window, OPVc::Number)) return false;
    FieldPlace at = WinFieldPlace(window, F);
    const uint8_t *payment = WinRecordBuffer(window);
    return at.IsCell() && at.column == VendorNameColumn && payment &&
           MatrixRowGet(OPVc::Number, 0, payment, at.row, r);
}

// The rows of a delivery (type 354) and of a goods receipt (type 197)
// name the row of their order or purchase order they come from: its
// index counted from 0 in the low 16 bits, all bits set for none (a
// delivery's component lines all but the lowest). The user reads and
// types the row's number as the order window counts its rows, from 1.
struct OrderRowCell {
    int type;
    int reg;
    uint32_t at;   // byte in the row
};
constexpr OrderRowCell OrderRowCells[] = {{WinTypes::Delivery, SHVc::Number, SHVc::Rows::OrderRowNr},
                                          {WinTypes::GoodsReceipt, PUVc::Number, PUVc::Rows::PORowNr}};
constexpr uint32_t NoOrderRow = 0xFFFFFFFFu, ComponentRow = 0xFFFFFFFEu, OrderRowIndexMask = 0xFFFFu;

// The order-row cell under screen field F, with its row's place in *row;
// null when F is none.
const OrderRowCell *OrderRowCellAt(int window, int F, int *row)
{
    if (!WinIsOpen(window)) return nullptr;
    FieldPlace at = WinFieldPlace(window, F);
    if (!at.IsCell()) return nullptr;
    for (const OrderRowCell &c : OrderRowCells)
        if (c.type == WinTypeOf(window) && WinRecordIs(window, c.reg) && at.cell == int(c.at)) {
            *row = at.row;
            return &c;
        }
    return nullptr;
}

// The order row a link names, as the user reads it: its number counted
// from 1; empty for a row of no order row.
void OrderRowText(uint32_t link, uint8_t *text)
{
    text[0] = 0;
    if (link == NoOrderRow || link == ComponentRow) return;
    LongToDigitText(int32_t(link & OrderRowIndexMask) + 1, text);
}

// Reads a typed order-row number into the link it stands for: empty is
// none; otherwise a number from 1 to the most a link can index. False
// for anything else.
bool OrderRowFromText(const uint8_t *text, uint32_t *link)
{
    uint8_t value[4];
    if (!FieldFromText(value, FtLongOrEmpty, 0, text)) return false;
    const int32_t n = GetI32(value, 0);
    if (n == -1) {
        *link = NoOrderRow;
        return true;
    }
    if (n < 1 || uint32_t(n) > OrderRowIndexMask + 1) return false;
    *link = uint32_t(n - 1);
    return true;
}

// The account-row windows whose rows keep fewer characters of the
// account's name than an account has (the account rows and the opening
// balances keep 20 of 60): their name cell shows the account's whole name
// while the row's text is its beginning, the row's own text otherwise
// (AccountRowShownText); what is typed there becomes the row's text, cut
// to its width.

// The layout and row of an account-row window under screen field F when
// F is such a short name cell of an existing row; null otherwise.
const AccountRowLayout *ShortNameCellAt(int window, int F, uint8_t *r, int *row)
{
    const AccountRowLayout *L = WinAccountRowLayout(window);
    if (!L || L->nameMax >= AccountNameWidth || L->rowSize > 256) return nullptr;
    FieldPlace at = WinFieldPlace(window, F);
    const uint8_t *record = WinRecordBuffer(window);
    if (!at.IsCell() || at.column != L->colName || !record || !MatrixRowGet(L->reg, 0, record, at.row, r))
        return nullptr;
    *row = at.row;
    return L;
}

// The text a short name cell shows for row r (see above).
void ShortNameText(const AccountRowLayout &L, const uint8_t *r, uint8_t *text)
{
    PString own, account;
    GetPString(r, RawOffset(L.nameAt), L.nameMax, own);
    GetPString(r, RawOffset(L.accountAt), 10, account);
    AccountRowShownText(account, own, text);
}

// A choice value the window keeps at record byte `at`, shown through
// list `list`, or through `fallback` where `list` has no text for it.
struct ChoiceField {
    int type;
    uint32_t at;
    int list, fallback;
};
constexpr ChoiceField ChoiceFields[] = {{27, 484, 15, 0}, {31, 178, 102, 101}};

// The code window (CodeRowsType): its rows are 6 bytes, a row code, the
// choice value the cell shows (16 bits: a choice value's size; the word
// after it is the row's own and is never written here) and that word, in
// the rows block whose handle is at record byte 68.
constexpr uint32_t CodeRowsHandleAt = 68, CodeCellSize = 6, CodeCellValueAt = 2;

const ChoiceField *ChoiceFieldOf(int window, int F)
{
    if (!WinIsOpen(window)) return nullptr;
    const int type = WinTypeOf(window), id = WinFieldIdAt(window, F);
    for (const ChoiceField &c : ChoiceFields)
        if (c.type == type && id == int(c.at)) return &c;
    return nullptr;
}

// The text of a choice value: its list's, else its fallback list's;
// the value's digits when neither has one.
void ChoiceText(const ChoiceField &c, uint16_t value, uint8_t *text)
{
    int index = 0;
    if (ChoiceTextOf(c.list, value, &index, text)) return;
    if (c.fallback) (void)ChoiceTextOf(c.fallback, value, &index, text);
}

// The cell of a type-241 window that screen field F shows: its row's
// bytes in the locked rows block (unlock `rows` after use). Null for a
// field outside the rows.
uint8_t *CodeCell(int window, int F, MemBlock *rows)
{
    *rows = 0;
    const uint8_t *record = WinRecordBuffer(window);
    if (!record) return nullptr;
    int row = NoField, column = NoField;
    MatrixRowAt(window, F, &row, &column);
    if (row == NoField || row < 0) return nullptr;
    MemBlock h = GetU32(record, CodeRowsHandleAt);
    if (!MemIsValid(h) || (uint32_t(row) + 1) * CodeCellSize > MemSize(h)) return nullptr;
    uint8_t *p = MemLock(h);
    if (!p) return nullptr;
    *rows = h;
    return p + uint32_t(row) * CodeCellSize;
}

}  // namespace

// Takes a typed text into a field whose text the window supplies: a
// choice field reads it as a text of its list (or its fallback list); a
// voucher's link row the reference of the voucher it names (its fiscal
// year's code and its number: a text that names no voucher beeps and
// leaves the reference as it was); a type-241 cell a text of the list
// its row's code names. False when the window's type takes no text for
// the field, or the text is no value of the list (the field keeps its
// value).
bool WinFieldFromTextByType(int window, uint8_t *record, int F, const uint8_t *text)
{
    if (!record || !text) return false;
    if (const ChoiceField *c = ChoiceFieldOf(window, F)) {
        uint16_t value = 0;
        int index = 0;
        bool found = ChoiceValueOf(c->list, text, &value, &index) && value != 0;
        if (!found && c->fallback) found = ChoiceValueOf(c->fallback, text, &value, &index);
        if (!found) return FieldFromText(record + c->at, FtChoice, c->list, text);
        PutU16(record, c->at, value);
        return true;
    }
    uint8_t r[Row::Size];
    int row = 0;
    if (const OrderRowCell *c = OrderRowCellAt(window, F, &row)) {
        // A cell's edit holds the rows' block, not the record: the row is
        // reached through the window's record, as the rows rules do.
        uint8_t *document = WinRecordBuffer(window);
        std::vector<uint8_t> cells(RecRowSize(c->reg));
        uint32_t link = NoOrderRow;
        if (!document || !MatrixRowGet(c->reg, 0, document, row, cells.data()) || !OrderRowFromText(text, &link))
            return false;
        PutU32(cells.data(), c->at, link);
        return MatrixRowPut(c->reg, 0, document, row, cells.data());
    }
    if (ReferenceRowAt(window, F, r, &row)) {
        uint16_t code = 0;
        int32_t number = -1;
        if (!VoucherRefFromText(text, &code, &number)) {
            Beep();
            return false;
        }
        PutU16(r, Row::LinkYearCode, code);
        PutI32(r, Row::LinkSerNr, number);
        return MatrixRowPut(TRVc::Number, 0, WinRecordBuffer(window), row, r);
    }
    uint8_t named[256];
    if (const AccountRowLayout *L = ShortNameCellAt(window, F, named, &row)) {
        PutPString(named, RawOffset(L->nameAt), L->nameMax, text);
        return MatrixRowPut(L->reg, 0, WinRecordBuffer(window), row, named);
    }
    if (!WinIsOpen(window) || WinTypeOf(window) != CodeRowsType) return false;
    MemBlock rows = 0;
    uint8_t *cell = CodeCell(window, F, &rows);
    if (!cell) return false;
    int list = ChoiceKindOfRowCode(GetU16(cell, 0));
    uint8_t value[2];
    PutU16(value, 0, GetU16(cell, CodeCellValueAt));
    bool taken = FieldFromText(value, FtChoice, list, text);
    if (taken) PutU16(cell, CodeCellValueAt, GetU16(value, 0));
    MemUnlock(rows);
    return taken;
}

// The text the window supplies for data field F: a choice field's value
// as its list's text; the voucher window's series field the name of the
// voucher's series; the sales invoice's printed word as the invoice print
// run reads it; the currency beside a payment window's total; empty for
// every other field.
void WinFieldDisplayText(int window, int F, uint8_t *text)
{
    text[0] = 0;
    if (WinIsOpen(window) && WinTypeOf(window) == VoucherWindow && WinRecordIs(window, TRVc::Number) &&
        WinFieldIdAt(window, F) == int(TRVc::YearCode)) {
        if (const uint8_t *voucher = WinRecordBuffer(window)) YearCodeNameText(text, GetU16(voucher, TRVc::YearCode));
        return;
    }
    if (WinIsOpen(window) && WinTypeOf(window) == WinTypes::SalesInvoice && WinRecordIs(window, IVVc::Number) &&
        WinFieldIdAt(window, F) == int(IVVc::Printed)) {
        // What the invoice print run will do with the invoice: an unposted
        // one has printed no more than a draft, whatever its word says.
        const uint8_t *invoice = WinRecordBuffer(window);
        int index = 0;
        if (invoice) ChoiceTextOf(Choices::InvoicePosted, InvoicePrintedBefore(invoice) ? 1 : 0, &index, text);
        return;
    }
    if (TotalCurrencyText(window, F, text)) return;
    const ChoiceField *c = ChoiceFieldOf(window, F);
    const uint8_t *record = c ? WinRecordBuffer(window) : nullptr;
    if (record) ChoiceText(*c, GetU16(record, c->at), text);
}

// The text the window supplies for matrix cell F: a voucher link row's
// reference; an outgoing payment row's vendor name (empty for a code no
// vendor has); an account row's name (ShortNameText); in a type-241
// window the cell's value as the text of its row's list; empty otherwise.
void MatrixCellDisplayText(int window, int F, uint8_t *text)
{
    text[0] = 0;
    uint8_t r[Row::Size];
    int row = 0;
    if (const OrderRowCell *c = OrderRowCellAt(window, F, &row)) {
        std::vector<uint8_t> cells(RecRowSize(c->reg));
        const uint8_t *record = WinRecordBuffer(window);
        if (record && MatrixRowGet(c->reg, 0, record, row, cells.data())) OrderRowText(GetU32(cells.data(), c->at), text);
        return;
    }
    if (ReferenceRowAt(window, F, r, &row)) {
        VoucherRefText(text, GetU16(r, Row::LinkYearCode), GetU32(r, Row::LinkSerNr));
        return;
    }
    uint8_t paid[OPVc::Rows::Size];
    if (VendorNameCellAt(window, F, paid)) {
        uint8_t code[256];
        GetText(paid, OPVc::Rows::VendCode, code);
        RuleRecord vendor(VEVc::Number);
        if (code[0] != 0 && VendorRead(code, vendor)) GetText(vendor.record, VEVc::Name, text);
        return;
    }
    uint8_t named[256];
    if (const AccountRowLayout *L = ShortNameCellAt(window, F, named, &row)) {
        ShortNameText(*L, named, text);
        return;
    }
    if (!WinIsOpen(window) || WinTypeOf(window) != CodeRowsType) return;
    MemBlock rows = 0;
    const uint8_t *cell = CodeCell(window, F, &rows);
    if (!cell) return;
    FieldFormat(cell + CodeCellValueAt, FtChoice, ChoiceKindOfRowCode(GetU16(cell, 0)), text);
    MemUnlock(rows);
}

bool MatrixCellIsLookedUp(int window, int F)
{
    uint8_t r[OPVc::Rows::Size];
    return WinIsOpen(window) && VendorNameCellAt(window, F, r);
}
