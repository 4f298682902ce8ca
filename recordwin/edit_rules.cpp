// edit_rules.cpp - which fields of a record window may be edited, and
// whether its record is closed: the answers to events 1 and 26 and the
// rules by window type that the framework's field-edit test asks.
//
// Every rule is chosen by window type; a type without a rule allows.
// Where a rule names the stored record it reads the window's stored copy
// (the record as read from the database), not the edited buffer. Field
// ids are the record byte of the field's value; a row cell has no id.
#include <initializer_list>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/window_table.h"

namespace {

// A stored voucher's rows may change only below a correction mark; these
// are the row kinds that matter.
// Screen fields of the voucher window the rules name by number: field 1
// the number, 2 the date, 4 the text.
constexpr int VoucherNumberField = 1, VoucherDateField = 2, VoucherTextField = 4;

// The field at byte 0 of the smaller registers' records: their number,
// which a stored record keeps.
constexpr int RecordNumberId = 0;

bool IdIn(int id, std::initializer_list<uint32_t> ids)
{
    for (uint32_t e : ids)
        if (int(e) == id) return true;
    return false;
}

// The stored copy of a window, null when there is none.
const uint8_t *Stored(int window) { return WinStoredRecord(window); }
bool StoredWordSet(int window, uint32_t at)
{
    const uint8_t *s = Stored(window);
    return s && GetU16(s, at) != 0;
}

// The refusal of a link typed into a row other than a credit note's
// first (dict/win_sales_invoice.dict).
constexpr int CreditLinkFirstRowText = 10572;

// Report values of WinFieldEditRules: 1 a choice, paste or deletion asks
// (every refusal is told), ReportTyped a typed character (told only by a
// refusal that would otherwise drop what the user types without a word).
constexpr int ReportAsked = 1, ReportTyped = 2;

// Refuses with text n, told only when a choice, paste or deletion asks.
uint8_t Refuse(int n, int report)
{
    if (report == ReportAsked) ShowTextMessage(n);
    return 0;
}

// Refuses with text n, told also when a character was typed.
uint8_t RefuseTyped(int n, int report)
{
    if (report == ReportAsked || report == ReportTyped) ShowTextMessage(n);
    return 0;
}

// True when row N of the voucher window (the first row the stored
// voucher did not have) exists and is a correction mark.
bool VoucherHasCorrectionMark(int window)
{
    WinRows rows(window, TRVc::Rows::Size);
    const uint8_t *r = rows.At(MatrixRowsPerUnit(window));
    return r && GetU16(r, TRVc::Rows::Kind) == RowDated;
}

// The voucher window (117) in state 2: a voucher dated after the lock may
// change all but its number; otherwise only rows below a correction mark
// are new, and of the stored rows only the columns that leave the
// posting alone (which ones depends on the product variant).
uint8_t VoucherMayEdit(int window, int F, int id, int report)
{
    if (StoredVoucherInLock(window, report == ReportAsked || report == ReportTyped)) return 0;
    const uint8_t *voucher = WinRecordBuffer(window);
    DateRec date = GetDate(voucher, TRVc::TransDate);
    if (DateAfterLock137(&date) && F != VoucherNumberField) return 1;
    bool mark = VoucherHasCorrectionMark(window);
    if (id == int(TRVc::SerNr)) return Refuse(Texts::NewRecordOnly, report);
    bool variant7 = CompanyVariantIs(CountryVariant::V7);
    if ((variant7 && F == VoucherTextField) || (F == VoucherDateField && !mark))
        return Refuse(Texts::NewRecordOnly, report);
    FieldPlace at = WinFieldPlace(window, F);
    if (!at.IsCell()) return 1;
    int n = MatrixRowsPerUnit(window);
    // A key typed into the rows below the stored ones hears where it may
    // go, rather than vanishing without a word.
    if (at.row >= n) return mark ? 1 : RefuseTyped(Texts::VoucherNeedsCorrection, report);
    int c = at.column;
    bool refused = CompactVariant ? (c == 0 || c == 2 || c == 3 || c == 4 || (c == 1 && variant7))
                                  : (c == 0 || c == 3 || c == 4 || c == 5 || (c == 2 && variant7));
    return refused ? Refuse(Texts::NewRecordOnly, report) : 1;
}

// Row cells that only the program writes: the quantities deliveries and
// invoices move on an order, a delivery's stock cost and structure mark,
// the purchase-order row code a receipt copies, the rows' pass-over words
// and a correction's user code. They are shown, never typed: a typed value
// would stand against what the program counts.
struct ProgramCell {
    int type;
    uint32_t at;   // byte in the row
};
constexpr ProgramCell ProgramCells[] = {
    {352, ORVc::Rows::QtyDelivered},  {352, ORVc::Rows::QtyShipped},    {352, ORVc::Rows::QtyInvoiced},
    {354, SHVc::Rows::UnitCost},      {354, SHVc::Rows::StructCode},    {197, PUVc::Rows::PORowCode},
    {41, IPVc::Rows::Flag},           {155, VIVc::Rows::Flag},          {475, ExpenseVc::Rows::Flag},
    {476, PersPayVc::Rows::Flag},     {117, TRVc::Rows::Code},          {117, TRVc::Rows::LinkDate},
};

bool ProgramWrittenCell(int window, int F)
{
    FieldPlace at = WinFieldPlace(window, F);
    if (!at.IsCell() || at.cell == NoField) return false;
    const int type = WinTypeOf(window);
    for (const ProgramCell &c : ProgramCells)
        if (c.type == type && at.cell == int(c.at)) return true;
    return false;
}

// A cell in column 0 of a row the stored record already had: refused
// with text 1304 (the row has moved goods).
uint8_t StoredRowKeyCell(int window, int F, int report)
{
    FieldPlace at = WinFieldPlace(window, F);
    if (at.IsCell() && at.column == 0 && at.row < MatrixRowsPerUnit(window))
        return Refuse(Texts::OrderDelivered, report);
    return 1;
}

// An approved payment may still change its date and bank amounts; a
// posted one nothing. A field the approval locks is told with text
// `locked`, any field of a posted payment with `posted`, typing too.
uint8_t PaymentMayEdit(int window, int id, uint32_t approvedAt, uint32_t postedAt,
                       std::initializer_list<uint32_t> open, int locked, int posted, int report)
{
    if (StoredWordSet(window, postedAt)) return RefuseTyped(posted, report);
    if (!StoredWordSet(window, approvedAt) || IdIn(id, open)) return 1;
    return RefuseTyped(locked, report);
}

}  // namespace

// A stored voucher dated on or before "Vouchers locked to" is refused at
// OK whatever was changed: the lock decides before a key, a row delete or
// a correction row is taken, so that the user is not sent to a
// correction the store then refuses. Its stored date counts, so that a
// date typed over it does not open it. A new voucher is not asked: its
// date is told when it is typed, and refused at OK.
bool StoredVoucherInLock(int window, bool tell)
{
    if (!WinIsOpen(window) || !WinRecordIs(window, TRVc::Number) || WinRecState(window) == StateNew) return false;
    const uint8_t *voucher = Stored(window) ? Stored(window) : WinRecordBuffer(window);
    if (!voucher || !VoucherDateLocked(voucher)) return false;
    if (tell) {
        PString lock;
        DateRec date = VoucherLockDate();
        DateToText(&date, lock);
        PStringAppendChar(lock, '.');
        ShowMessage(Texts::VoucherInLock, lock);
    }
    return true;
}

// Event 1: whether the field whose value lies at record byte `offset`
// may be edited. The record asked is the shown one in state 0, the
// stored one in state 2; any other state (a new record, a search) may
// edit. A finished production (122) keeps every field; a confirmed
// purchase order (290) keeps all but its closed flag and delivery text.
uint8_t WindowMayEditEvent(int window, int field, uint32_t offset)
{
    (void)field;
    if (!WinIsOpen(window)) return 1;
    int state = WinRecState(window);
    const uint8_t *record = state == 0 ? WinRecordBuffer(window) : state == 2 ? WinStoredRecord(window) : nullptr;
    if (!record) return 1;
    switch (WinTypeOf(window)) {
    case 122: return GetU16(record, ProductionVc::Finished) != 0 ? 0 : 1;
    case 290:
        if (GetU16(record, PurchOrderVc::Confirmed) == 0) return 1;
        return offset == PurchOrderVc::Closed || offset == PurchOrderVc::DelivText ? 1 : 0;
    default: return 1;
    }
}

// 1 when screen field F of the window may be edited in state `state` by
// its type's rules, 0 when not; the reason is told only when `report` is
// set. State 1 is a new record, 2 a stored record being changed.
uint8_t WinFieldEditRules(int window, int F, int state, int unused, int report)
{
    (void)unused;
    if (!WinRulesApply(window)) return 1;
    if (ProgramWrittenCell(window, F) || MatrixCellIsLookedUp(window, F)) return 0;
    int id = WinFieldPlace(window, F).id;
    switch (WinTypeOf(window)) {
    case 94: case 95: case 153: case 195: case 350:
        return state != 2 || id != RecordNumberId ? 1 : 0;
    case 117: return state != 2 ? 1 : VoucherMayEdit(window, F, id, report);
    case 122: return id == int(ProductionVc::SerNr) && state != 1 ? 0 : 1;
    case 155:
        // An approved invoice takes only these; typing elsewhere is told
        // why it is not taken, not dropped without a word.
        if (state == 2 && StoredWordSet(window, VIVc::Approved))
            return IdIn(id, {VIVc::DueDate, VIVc::DiscDate, VIVc::Comment}) ? 1
                                                                            : RefuseTyped(Texts::ApprovedPurchaseChange, report);
        return 1;
    case 157:
        if (state != 2) return 1;
        // Typing into a header field or a row the approval locks is told
        // why it is not taken, not dropped without a word.
        return PaymentMayEdit(window, id, OPVc::Approved, OPVc::Posted,
                              {OPVc::PayDate, OPVc::Rate, OPVc::HomeTotal, OPVc::BankCharges},
                              Texts::ApprovedPaymentChange, Texts::PostedPaymentChange, report);
    case 290:
        if (id == int(PurchOrderVc::SerNr) && state != 1) return 0;
        if (state != 2) return 1;
        // Once confirmed only the closed flag and the delivery text change
        // (event 1 asks the same of the same record).
        if (StoredWordSet(window, PurchOrderVc::Confirmed))
            return IdIn(id, {PurchOrderVc::DelivText, PurchOrderVc::Closed}) ? 1 : 0;
        if (Stored(window) && PurchaseOrderHasReceivedRows(Stored(window))) return StoredRowKeyCell(window, F, report);
        return 1;
    case 347:
        if (!Invoice347MayEdit(window, state, id)) return 0;
        return InvoiceLinkCellMayEdit(window, F) ? 1 : RefuseTyped(CreditLinkFirstRowText, report);
    case 352:
        if (id == int(ORVc::SerNr) && state != 1) return 0;
        if (state == 2 && Stored(window) && OrderHasDeliveredRows(Stored(window)))
            return StoredRowKeyCell(window, F, report);
        return 1;
    case 475:
        if (state == 2 && StoredWordSet(window, ExpenseVc::Posted)) return id == int(ExpenseVc::ClaimText) ? 1 : 0;
        return 1;
    case 476:
        if (state != 2) return 1;
        return PaymentMayEdit(window, id, PersPayVc::Approved, PersPayVc::Posted,
                              {PersPayVc::PayDate, PersPayVc::BankAmount, PersPayVc::BankCharges},
                              Texts::ApprovedPPChange, Texts::PostedPPChange, report);
    default: return 1;
    }
}

// Event 26: 0 when the window's record is closed (its done flag set), 1
// when it may be changed and stored.
uint8_t WindowReadOnlyEvent(int window)
{
    if (!WinRulesApply(window) || !WinRecordBuffer(window)) return 1;
    uint32_t at;
    switch (WinTypeOf(window)) {
    case 122: at = ProductionVc::Finished; break;
    case 197: at = PUVc::Received; break;
    case 268: at = TimeSheetVc::Transferred; break;
    case 354: at = SHVc::Shipped; break;
    case 426: at = StockMoveVc::Done; break;
    default: return 1;
    }
    return GetU16(WinRecordBuffer(window), at) != 0 ? 0 : 1;
}
