// total_currency.cpp - the currency beside the totals of the payment
// windows. Their rows add up in the document's currency, while the amount
// that went through the bank (received, or paid out) is in home currency:
// beside the rows' total stands the document's currency code, beside the
// bank amount the words for home currency. A document in home currency
// (no code) has nothing to tell apart and shows neither.
#include "recordwin/total_currency.h"

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/window_rows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// A payment window's two totals and its currency.
struct PaymentTotals {
    int type, reg;
    TextField<5> currency;
    AmountField rowsTotal, bankAmount;
};
constexpr PaymentTotals Windows[] = {
    {WinTypes::Receipt, IPVc::Number, IPVc::CurncyCode, IPVc::Total, IPVc::AmountRec},
    {WinTypes::OutPayment, OPVc::Number, OPVc::CurncyCode, OPVc::RowsTotal, OPVc::HomeTotal},
    {WinTypes::PersonPayment, PersPayVc::Number, PersPayVc::CurncyCode, PersPayVc::Total, PersPayVc::BankAmount},
};

}  // namespace

// See the header and the file comment.
bool TotalCurrencyText(int window, int F, uint8_t *text) {
    text[0] = 0;
    if (!WinIsOpen(window)) return false;
    for (const PaymentTotals &w : Windows) {
        if (WinTypeOf(window) != w.type || !WinRecordIs(window, w.reg)) continue;
        const int id = WinFieldIdAt(window, F);
        if (id != int(w.rowsTotal) && id != int(w.bankAmount)) return false;
        const uint8_t *record = WinRecordBuffer(window);
        uint8_t currency[256];
        if (record) GetText(record, w.currency, currency);
        if (!record || currency[0] == 0) return true;
        if (id == int(w.rowsTotal)) PStringCopy(text, currency);
        else GetUiText(text, Texts::ReceiptHomeCurrency);
        return true;
    }
    return false;
}
