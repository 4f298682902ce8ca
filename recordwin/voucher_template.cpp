// voucher_template.cpp - a voucher template (register 19) typed into a
// voucher row's account cell becomes rows of the voucher.
//
// A template row gives a row's account, objects, name, VAT code and
// amount. Its account "!" (first row only) continues the row above the
// typed one; "#" in a text takes the previous row's value; "=" in an
// amount text makes the row balance the voucher; an amount text ending in
// "%" is a percentage of the previous row's amount ("%%" rounded to a
// whole number). Rows stop at the voucher's last row, index 298.
#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/row_writes.h"
#include "rules/rules_types.h"
#include "shell/window_table.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"

namespace {

namespace Row = TRVc::Rows;
namespace Tpl = AUVc::Rows;
constexpr int LastTemplateRow = 298;

bool Is(const uint8_t *text, char c) { return text[0] == 1 && text[1] == uint8_t(c); }

// A template text or, for "#" (or when `inherit` is set), the previous
// row's text field `field`; into out.
template <int N>
void TextOrPrevious(const uint8_t *text, bool inherit, const uint8_t *prev, TextField<N> field, uint8_t *out)
{
    if (inherit || Is(text, '#'))
        GetText(prev, field, out);
    else
        PStringCopy(out, text);
}

}  // namespace

// Reads template `code` (a PString) into tpl (AUVc::Size bytes, its rows
// loaded); false when there is none.
bool VoucherTemplateRead(const uint8_t *code, uint8_t *tpl)
{
    if (!tpl || code[0] == 0 || code[0] > AUVc::Code.Length) return false;
    RecClear(AUVc::Number, tpl);
    PutText(tpl, AUVc::Code, code);
    return RecFindByFirstKey(AUVc::Number, tpl);
}

bool TemplateRowTextsRead(const uint8_t *tpl, int i, TemplateRowTexts *t)
{
    uint8_t row[Tpl::Size];
    if (!MatrixRowGet(AUVc::Number, 0, tpl, i, row)) return false;
    GetText(row, Tpl::Account, t->account);
    GetText(row, Tpl::RowText, t->objects);
    GetText(row, Tpl::NameText, t->name);
    GetText(row, Tpl::VatCode, t->vat);
    GetText(row, Tpl::DebitText, t->debit);
    GetText(row, Tpl::CreditText, t->credit);
    return true;
}

// A row of the template could not be written: the voucher's rows go back
// to what they were before the expansion, and the user is told. 1, as the
// code named a template.
int TemplateUndone(int window, uint8_t *voucher, const RowsKept &before)
{
    RowsPutBack(before, voucher);
    InvalidateWindowNumber(window);
    TellRowsNotWritten();
    return 1;
}

// Expands the template whose code is typed in the account cell of row
// `row` of the voucher window into the voucher's rows; 1 when the code
// names a template (its rows written, the totals refreshed and the focus
// override set), 0 when it does not.
int VoucherTemplateExpand(int window, int row)
{
    uint8_t *voucher = WinRecordBuffer(window);
    if (!voucher || !WinRecordIs(window, TRVc::Number) || row < 0 || row > LastTemplateRow) return 0;
    uint8_t current[Row::Size], prev[Row::Size] = {0};
    if (!MatrixRowGet(TRVc::Number, 0, voucher, row, current)) return 0;
    bool hasPrev = row > 0 && MatrixRowGet(TRVc::Number, 0, voucher, row - 1, prev) &&
                   GetU16(prev, Row::Kind) == RowAccount;
    if (!hasPrev) std::memset(prev, 0, sizeof prev);
    PackedDecimal base = GetDec(prev, Row::Amount);
    if (!hasPrev || DecIsBlank(&base)) DecSetZero(&base);
    uint8_t code[256];
    GetText(current, Row::Account, code);
    RuleRecord tpl(AUVc::Number);
    if (!VoucherTemplateRead(code, tpl.record)) return 0;
    RowsKept before;
    if (!RowsKeepAll(&before, TRVc::Number, voucher)) return 0;

    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    int count = MatrixRowCount(AUVc::Number, 0, tpl.record);
    bool continuation = false;
    int last = -1;
    for (int i = 0; i < count; i++) {
        TemplateRowTexts tr;
        if (!TemplateRowTextsRead(tpl.record, i, &tr)) break;
        if (i == 0 && Is(tr.account, '!') && hasPrev) continuation = true;
        int target = row + i - (continuation ? 1 : 0);
        if (target > LastTemplateRow) break;
        bool first0 = continuation && i == 0;
        uint8_t r[Row::Size] = {0};
        PutU16(r, Row::Kind, RowAccount);
        uint8_t text[256];
        if (Is(tr.account, '!') && !first0) tr.account[0] = 0;   // nothing above to continue
        TextOrPrevious(tr.account, first0, prev, Row::Account, text);
        PutText(r, Row::Account, text);
        TextOrPrevious(tr.objects, first0 && tr.objects[0] == 0, prev, Row::Objects, text);
        PutText(r, Row::Objects, text);
        TextOrPrevious(tr.name, first0 && tr.name[0] == 0, prev, Row::Text, text);
        bool lookup = text[0] == 0;
        PutText(r, Row::Text, text);
        TextOrPrevious(tr.vat, false, prev, Row::VatCode, text);
        PutText(r, Row::VatCode, text);
        PackedDecimal amount, blank;
        DecSetBlank(&blank);
        PutDec(r, Row::Amount2, blank);
        bool balancing = Is(tr.debit, '=') || Is(tr.credit, '=');
        if (!balancing) VoucherPercentAmount(&amount, &base, tr.debit, tr.credit);
        PutDec(r, Row::Amount, balancing ? blank : amount);
        if (!MatrixRowPut(TRVc::Number, 0, voucher, target, r)) return TemplateUndone(window, voucher, before);
        if (balancing) (void)VoucherRowSetBalancing(voucher, target);
        if (lookup) {
            // The look-up draws the account's VAT code; a code the template
            // gives (or copies) stands over it.
            RowAccountLookup(window, WinMatrixRows(window), target, 1);
            if (text[0] != 0 && MatrixRowGet(TRVc::Number, 0, voucher, target, r)) {
                PutText(r, Row::VatCode, text);
                if (!MatrixRowPut(TRVc::Number, 0, voucher, target, r))
                    return TemplateUndone(window, voucher, before);
            }
        }
        VoucherRowRedraw(window, target);
        last = target;
        if (NextFieldOverride == 0) {
            if (tr.account[0] == 0)
                NextFieldOverride = uint16_t(first + target * cells);
            else if (tr.debit[0] == 0 && tr.credit[0] == 0)
                NextFieldOverride = uint16_t(first + target * cells + 3);
        }
    }
    // A continuation whose rows did not reach the typed row leaves the
    // template's code there: the row is emptied rather than kept as an
    // account that does not exist.
    if (last < row) {
        uint8_t empty[Row::Size] = {0};
        PutU16(empty, Row::Kind, RowAccount);
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(empty, Row::Amount, blank);
        PutDec(empty, Row::Amount2, blank);
        if (MatrixRowPut(TRVc::Number, 0, voucher, row, empty)) VoucherRowRedraw(window, row);
    }
    int next = last + 1 > row ? last + 1 : row;
    if (NextFieldOverride == 0) NextFieldOverride = uint16_t(first + next * cells);
    VoucherTotalsRefresh(window);
    WinMarkChanged(window);
    return 1;
}
