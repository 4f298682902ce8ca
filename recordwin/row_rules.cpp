// row_rules.cpp - the row rules of record windows: the empty values of a
// new matrix row (event 3), whether a row may be deleted (event 4) or
// emptied instead (event 13), and what follows a delete (event 12).
//
// Every rule is chosen by window type; a type that no table names gets
// the table's default. Row numbers come from the framework and the user:
// a row outside the window's rows is never read.
#include <cstring>
#include <initializer_list>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/projects.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// A text field of `length` characters at `at`, emptied.
struct TextDefault {
    uint32_t at;
    int length;
};

// The empty values of a new row of one window type: amounts blanked,
// texts emptied, a 16-bit word zeroed (word), a 32-bit link set to "none"
// (link). kindOne: only for a row of kind 1 (or one without a kind yet).
constexpr uint32_t None = 0xFFFFFFFFu;
struct RowDefaults {
    int type;
    uint32_t rowSize;
    bool kindOne;
    std::initializer_list<uint32_t> blanks;
    std::initializer_list<TextDefault> texts;
    uint32_t word = None, link = None;
};

// Window 96 lists the fiscal years (block 149), 124 the rows of register
// 19, 443 the VAT codes (block 208); the others show the register whose
// rows they name.
const RowDefaults DefaultsTable[] = {
    {96, FiscalYearBlk::Rows::Size, false, {}, {}, FiscalYearBlk::Rows::OrderCode},
    {117, TRVc::Rows::Size, false, {TRVc::Rows::Amount2}, {{TRVc::Rows::Objects, 30}}},
    {124, AUVc::Rows::Size, false, {}, {{AUVc::Rows::RowText, 30}}},
    {155, VIVc::Rows::Size, false, {VIVc::Rows::Quantity},
     {{VIVc::Rows::Objects, 30}, {VIVc::Rows::ItemCode, 20}, {VIVc::Rows::Project, 20}, {VIVc::Rows::VatCode, 2}}},
    {197, PUVc::Rows::Size, false, {}, {}, None, PUVc::Rows::PORowNr},
    {290, PurchOrderVc::Rows::Size, true, {PurchOrderVc::Rows::QtyReceived, PurchOrderVc::Rows::PriceUnit}, {}},
    {347, IVVc::Rows::Size, true,
     {IVVc::Rows::Discount, IVVc::Rows::UnitCost, IVVc::Rows::GrossProfit, IVVc::Rows::FifoCost},
     {{IVVc::Rows::VatCode, 2}, {IVVc::Rows::SalesAcc, 10}, {IVVc::Rows::Objects, 30}}, None, IVVc::Rows::Link},
    {354, SHVc::Rows::Size, false, {SHVc::Rows::UnitCost}, {}},
    {360, CostBudgetVc::Rows::Size, false, {CostBudgetVc::Rows::Amount98}, {}},
    {443, VatCodeBlk::Rows::Size, false, {VatCodeBlk::Rows::AddPct}, {{VatCodeBlk::Rows::Account3, 10}}},
    {468, ContractVc::Rows::Size, true, {ContractVc::Rows::Discount, ContractVc::Rows::UnitCost, ContractVc::Rows::GrossProfit},
     {{ContractVc::Rows::VatCode, 2}, {ContractVc::Rows::SalesAcc, 10}, {ContractVc::Rows::Objects, 30}}},
};

// Every row layout that a kind condition reads starts with its kind word.
static_assert(PurchOrderVc::Rows::Kind == 0 && IVVc::Rows::Kind == 0 && ContractVc::Rows::Kind == 0);

void BlankAmount(uint8_t *row, uint32_t at)
{
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(row, at, blank);
}

// The row kind of a voucher or purchase-invoice row.
uint16_t KindOf(const uint8_t *row) { return GetU16(row, 0); }

// Event 13 of the voucher window (117): in a stored voucher only rows
// below a correction mark (row N, the first new row) are new; of the
// stored rows an account row may be emptied, which counts as its
// correction.
uint8_t VoucherRowMayClear(int window, int row)
{
    if (StoredVoucherInLock(window, true)) return 0;
    if (WinRecState(window) != 2) {
        ShowTextMessage(Texts::VoucherNeedsCorrection);
        return 0;
    }
    WinRows rows(window, TRVc::Rows::Size);
    const uint8_t *asked = rows.At(row);
    if (!asked) return 0;
    int n = MatrixRowsPerUnit(window);
    const uint8_t *mark = rows.At(n);
    if (!mark || KindOf(mark) != 2) {
        ShowTextMessage(Texts::VoucherNeedsCorrection);
        return 0;
    }
    if (KindOf(asked) == 1) return row < n ? 1 : 0;
    ShowTextMessage(Texts::RowNotEmptied);
    return 0;
}

// Event 13 of the payment windows: an approved payment not yet posted
// may have its rows emptied while it is changed.
uint8_t PaymentRowMayClear(int window, uint32_t approvedAt, uint32_t postedAt)
{
    if (WinRecState(window) != 2) return 1;
    const uint8_t *stored = WinStoredRecord(window);
    if (!stored) return 1;
    return GetU16(stored, approvedAt) == 0 || GetU16(stored, postedAt) != 0 ? 0 : 1;
}

// True when the done flag at `at` is set in the shown record or its
// stored copy: unticking the box in the window does not reopen the rows
// of a record stored as done.
bool DoneFlagSet(int window, uint32_t at)
{
    const uint8_t *stored = WinStoredRecord(window);
    return GetU16(WinRecordBuffer(window), at) != 0 || (stored && GetU16(stored, at) != 0);
}

}  // namespace

// Event 3: the empty values of the new row `row` of `rows`, the window's
// rows. A row outside the window's rows, or a type whose rows are not of
// the table's size, is left alone.
void MatrixRowDefaultsEvent(int window, uint8_t *rows, int row)
{
    if (!rows || !WinIsOpen(window) || row < 0) return;
    int type = WinTypeOf(window);
    for (const RowDefaults &d : DefaultsTable) {
        if (d.type != type) continue;
        WinRows own(window, d.rowSize);
        if (own.data != rows || row >= own.count) return;
        uint8_t *r = own.At(row);
        if (d.kindOne && GetU16(r, 0) > 1) return;   // a row without a kind is a kind-1 row
        for (uint32_t at : d.blanks) BlankAmount(r, at);
        for (const TextDefault &t : d.texts) std::memset(r + t.at, 0, size_t(TextFieldWidth(t.length)));
        if (d.word != None) PutU16(r, d.word, 0);
        if (d.link != None) PutU32(r, d.link, None);
        return;
    }
}

// Event 4 for a type without a handler: 1 when the window's row may be
// deleted, 0 when not. Stored vouchers (117) keep their rows unless dated
// after the delete lock and outside the voucher lock; a purchase (197), time sheet (268) or stock movement
// (426) stored as done keeps its rows; a person entry's rows (533) are
// account postings and stay. Every other type's rows are the user's own
// list (a settings table, a production's or an item structure's
// components, a register's texts and prices) and may go: a row the user
// can type and empty, he can remove, and the store asks him to remove an
// empty row left between filled ones. A record closed as a whole (a
// finished production) is not taken for editing at all.
uint8_t WindowMayDeleteRowEvent(int window, int32_t row)
{
    (void)row;
    if (!WinRulesApply(window) || !WinRecordBuffer(window)) return 0;
    int state = WinRecState(window);
    switch (WinTypeOf(window)) {
    case 117: {
        // A voucher in the voucher lock keeps its rows even after the
        // delete lock: its store would be refused.
        if (StoredVoucherInLock(window, false)) return 0;
        DateRec date = GetDate(WinRecordBuffer(window), TRVc::TransDate);
        return state == 1 || DateAfterLock137(&date) ? 1 : 0;
    }
    case 197: return state != 2 || !DoneFlagSet(window, PUVc::Received) ? 1 : 0;
    case 268: return state != 2 || !DoneFlagSet(window, TimeSheetVc::Transferred) ? 1 : 0;
    case 426: return state != 2 || !DoneFlagSet(window, StockMoveVc::Done) ? 1 : 0;
    case 533: return 0;
    default: return 1;
    }
}

// Event 12: rows were deleted or emptied. A purchase (197) recomputes its
// totals, and so do the windows whose totals follow their rows as they
// are typed and are stored as shown: a distribution key's factor sum
// (140), the cost and time budgets (360, 362) and an item structure's
// costs (367). The voucher windows' totals (117, 164) follow their own
// rows.
namespace {

// A window type whose record's totals follow its rows: the register its
// record must be, and what recomputes them.
struct RowTotals {
    int type, reg;
    void (*totals)(uint8_t *record);
};
constexpr RowTotals RowTotalsTypes[] = {
    {140, DKVc::Number, AmountListTotal},
    {360, CostBudgetVc::Number, CostBudgetTotals},
    {362, TimeBudgetVc::Number, TimeBudgetTotals},
    {367, StructureVc::Number, ItemStructureTotals},
};

}  // namespace

void MatrixRowsChangedEvent(int window, int32_t row)
{
    (void)row;
    uint8_t *rec = WinRecordBuffer(window);
    if (!WinRulesApply(window) || !rec) return;
    const int type = WinTypeOf(window);
    if (type == 197) {
        PurchaseRowTotals(rec);
        WinRedrawFieldById(window, int(PUVc::ValueSum));
        WinRedrawFieldById(window, int(PUVc::QtySum));
        WinMarkChanged(window);
        return;
    }
    for (const RowTotals &t : RowTotalsTypes) {
        if (t.type != type) continue;
        if (!WinRecordIs(window, t.reg)) return;
        t.totals(rec);
        WinMarkChanged(window);
        return;
    }
}

// Event 13, asked after event 4 refused: 1 lets the framework empty the
// row to a row of kind 1 instead of deleting it, 0 keeps it. A row outside
// the window's rows gives the type's default answer, 0.
uint8_t MatrixRowMayClearEvent(int window, int32_t row)
{
    if (!WinRulesApply(window)) return 0;
    switch (WinTypeOf(window)) {
    case 117: return VoucherRowMayClear(window, row);
    case 155: {
        WinRows rows(window, VIVc::Rows::Size);
        const uint8_t *r = rows.At(row);
        if (r && KindOf(r) == 3) ShowTextMessage(Texts::RowNotEmptied);
        return 0;
    }
    case 157: return PaymentRowMayClear(window, OPVc::Approved, OPVc::Posted);
    case 476: return PaymentRowMayClear(window, PersPayVc::Approved, PersPayVc::Posted);
    default: return 0;
    }
}
