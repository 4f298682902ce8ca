// receipt_window_parts.cpp - the customer-receipt window's totals and
// rate, the sum of a receipt's rows for one invoice, and the receipt
// list's approve button.
#include <cassert>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "recordwin/receipt_window.h"
#include "recordwin/window_rows.h"
#include "rules/approval.h"
#include "rules/prices.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int ApproveButton = 1;

}  // namespace

// The rows' total and the amount received from the rows, redrawn.
void ReceiptTotalsRefresh(int window) {
    if (!WinIsOpen(window)) return;
    DocRowsTotal(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(IPVc::Total));
    WinRedrawFieldById(window, int(IPVc::AmountRec));
}

// The rate of the receipt's currency on its date into the rate field
// (blank for no currency); when the server cannot be asked the rate
// stays. Then the totals at that rate.
void ReceiptRateRefresh(int window, uint8_t *receipt) {
    assert(receipt);
    if (!WinIsOpen(window)) return;
    uint8_t currency[256];
    GetText(receipt, IPVc::CurncyCode, currency);
    DateRec date = GetDate(receipt, IPVc::TransDate);
    PackedDecimal rate;
    if (CurrencyRate(currency, &date, &rate)) WinSetFieldValue(window, int(IPVc::Rate), rate.b);
    ReceiptTotalsRefresh(window);
}

// Sums the amounts of the counted rows naming serial, reading the rows in
// place (it runs for every row typed).
void ReceiptOtherRowsSum(const uint8_t *receipt, uint32_t serial, PackedDecimal *sum) {
    assert(receipt && sum);
    DecSetZero(sum);
    MemBlock rows = GetU32(receipt, IPVc::Matrix);
    uint8_t *data = nullptr;
    int32_t count = 0;
    if (!rows || !MemIsValid(rows) || !MemArrayLock(rows, IPVc::Rows::Size, &data, &count) || !data) return;
    for (int32_t i = 0; i < count; i++) {
        const uint8_t *row = data + (size_t)i * IPVc::Rows::Size;
        if (!ReceiptRowCounts(row) || GetU32(row, IPVc::Rows::InvoiceNr) != serial) continue;
        PackedDecimal amount = GetDec(row, IPVc::Rows::Amount);
        if (!DecIsBlank(&amount)) DecAdd(sum, &amount, sum);
    }
    MemUnlock(rows);
}

// Window type 40's handler: button 1 approves (posts) the receipts marked
// in the list, here or on the server, and marks the list for repainting.
// Every event goes on.
uint8_t Win40Event(int window, int event, void *a, void *b) {
    (void)a;
    if (!WinIsOpen(window) || WindowEventCode(event) != WindowEventCode::Button || !b || *static_cast<const int16_t *>(b) != ApproveButton) return 1;
    if (!ListHasRowToActOn(window)) return 1;
    MemBlock marked = ListMarkedFirst(window);
    if (!marked) return 1;
    uint32_t count = MemSize(marked) / sizeof(uint32_t);
    if (count > 0) {
        const uint32_t *ids = reinterpret_cast<const uint32_t *>(MemLock(marked));
        if (ids) {
            (void)ApproveRecordList(IPVc::Number, ApproveKindApproveReceipt, ids, count);
            MemUnlock(marked);
        }
    }
    MemFree(&marked);
    if (WinIsOpen(window)) WinMarkChanged(window);
    return 1;
}
