// account_rows_window.cpp - the layouts of the windows that enter account
// rows (account_rows.h), and the event handlers and named entry points
// of the voucher's three twins: sub-ledger account rows (255, register
// 9), person entries (533, register 126) and opening balances (164,
// register 51). Their row steps are the voucher's (voucher_rows.cpp,
// voucher_window.cpp), run by these layouts.
#include "recordwin/account_rows.h"

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "shell/window_events.h"
#include "shell/window_table.h"

namespace {

constexpr uint32_t RowMax = 256;

// The sum, from zero, of the amounts of every row of a register whose
// rows have no kinds; a blank amount counts as nothing.
template <int Reg, uint32_t AmountAt, uint32_t RowSize>
void AllRowsSum(const uint8_t *record, PackedDecimal *sum)
{
    static_assert(RowSize <= RowMax && AmountAt + sizeof(PackedDecimal) <= RowSize);
    DecSetZero(sum);
    uint8_t r[RowMax];
    int32_t count = MatrixRowCount(Reg, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowGet(Reg, 0, record, i, r)) break;
        PackedDecimal amount = GetDec(r, AmountAt);
        if (!DecIsBlank(&amount)) DecAdd(sum, &amount, sum);
    }
}

namespace Tr = TRVc::Rows;
namespace Sm = SMVc::Rows;
namespace Sp = PersEntryVc::Rows;
namespace Fb = OpenBalVc::Rows;

// The columns of the voucher and of 255 and 533: account, objects, name,
// debit, credit; of 164: account, name, debit, credit.
const AccountRowLayout Layouts[] = {
    {117, TRVc::Number, Tr::Size, int(Tr::Kind), Tr::Account, Tr::Text, 60, Tr::Amount, int(Tr::Amount2),
     int(Tr::VatCode), 1, 2, 3, 4, TRVc::DebitTotal, TRVc::CreditTotal, TRVc::Balance, int(TRVc::TransDate),
     TRVc::RegDate, TRVc::Number, true, true, true, VoucherRowsBalance, VoucherRowsSum},
    {255, SMVc::Number, Sm::Size, -1, Sm::Account, Sm::Text, 20, Sm::Amount, -1, -1, 1, 2, 3, 4, SMVc::Debit,
     SMVc::Credit, SMVc::Balance, int(SMVc::Date), SMVc::Date, SMVc::Number, false, true, false,
     AccountRowsBalance, AllRowsSum<SMVc::Number, Sm::Amount, Sm::Size>},
    {533, PersEntryVc::Number, Sp::Size, -1, Sp::Account, Sp::Name, 60, Sp::Amount, -1, -1, 1, 2, 3, 4,
     PersEntryVc::DebitTotal, PersEntryVc::CreditTotal, PersEntryVc::Balance, int(PersEntryVc::TransDate),
     PersEntryVc::Date2, PersEntryVc::Number, false, false, false, AccountRows118Balance,
     AllRowsSum<PersEntryVc::Number, Sp::Amount, Sp::Size>},
    {164, OpenBalVc::Number, Fb::Size, -1, Fb::Account, Fb::AccName, 20, Fb::Amount, -1, -1, -1, 1, 2, 3,
     OpenBalVc::DebitTotal, OpenBalVc::CreditTotal, OpenBalVc::Balance, -1, 0, OpenBalVc::Number, false, false,
     false, Fb1RowsBalance, AllRowsSum<OpenBalVc::Number, Fb::Amount, Fb::Size>},
};

const AccountRowLayout &Of(int type) { return *AccountRowLayoutOf(type); }

// The event handler of the three twins: rows may be deleted as the
// generic rules say and never inserted in the middle; a changed field
// runs the row steps; the totals follow deleted or emptied rows. The
// buttons go on to the window button table (Win255Button).
uint8_t AccountRowsWindowEvent(int window, int event, void *a, void *b)
{
    const AccountRowLayout *L = WinAccountRowLayout(window);
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayDeleteRow: return a ? WindowMayDeleteRowEvent(window, *static_cast<const int16_t *>(a)) : 0;
    case WindowEventCode::MayInsertRow: return 0;
    case WindowEventCode::FieldChanged:
        if (L && a && b) LayoutFieldChanged(*L, window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::RowsChanged:
        if (L) LayoutTotalsRefresh(*L, window);
        return 1;
    default: return 1;
    }
}

}  // namespace

const AccountRowLayout *AccountRowLayoutOf(int type)
{
    for (const AccountRowLayout &L : Layouts)
        if (L.type == type) return &L;
    return nullptr;
}

const AccountRowLayout *WinAccountRowLayout(int window)
{
    if (!WinIsOpen(window)) return nullptr;
    const AccountRowLayout *L = AccountRowLayoutOf(WinTypeOf(window));
    return L && WinRecordIs(window, L->reg) ? L : nullptr;
}

uint8_t Win255Event(int window, int event, void *a, void *b) { return AccountRowsWindowEvent(window, event, a, b); }
uint8_t Win533Event(int window, int event, void *a, void *b) { return AccountRowsWindowEvent(window, event, a, b); }
uint8_t Win164Event(int window, int event, void *a, void *b) { return AccountRowsWindowEvent(window, event, a, b); }

void AccountRowsFieldChanged(int window, int field, uint8_t changed) { LayoutFieldChanged(Of(255), window, field, changed); }
void AccountRows118FieldChanged(int window, int field, uint8_t changed) { LayoutFieldChanged(Of(533), window, field, changed); }
void Fb1RowsFieldChanged(int window, int field, uint8_t changed) { LayoutFieldChanged(Of(164), window, field, changed); }
int AccountRowsEnterTarget(int window, int field) { return LayoutEnterTarget(Of(255), window, field); }
int AccountRows118EnterTarget(int window, int field) { return LayoutEnterTarget(Of(533), window, field); }
void AccountRowsBalanceRow(int window) { LayoutBalanceRow(Of(255), window); }

// The account-row window's button 1 balances the row under edit.
void Win255Button(int window, int button)
{
    constexpr int BalanceRowButton = 1;
    if (button == BalanceRowButton && WinAccountRowLayout(window)) AccountRowsBalanceRow(window);
}
void AccountRows118BalanceRow(int window) { LayoutBalanceRow(Of(533), window); }
void AccountRowsTotalsRefresh(int window) { LayoutTotalsRefresh(Of(255), window); }
void AccountRows118TotalsRefresh(int window) { LayoutTotalsRefresh(Of(533), window); }
void Fb1TotalsRefresh(int window) { LayoutTotalsRefresh(Of(164), window); }
