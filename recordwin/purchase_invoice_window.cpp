// purchase_invoice_window.cpp - the purchase-invoice window (type 155): its
// event handler, what committing a header field or a row cell does, and
// where Enter goes in the account rows.
//
// The invoice is distributed onto account rows (kind 1), each with an
// amount and a VAT code; a credit note carries a row of kind 3 naming the
// credited invoice. The vendor fills the invoice, the rows' VAT follows
// them into the computed VAT (never with VAT treatment 2, whose VAT is
// typed), and a row may take what is left to distribute. Rows are copied
// out, changed and put back, so no lock on the rows is held while rows
// are inserted. Fields and cells are named by their byte in the record or
// the row (see dict/win_purchase.dict).
#include "recordwin/purchase_invoice_window.h"

#include <cassert>
#include <cstring>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "recordwin/account_rows.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/matrix_editing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = VIVc::Rows;

constexpr int CodeMax = 20, NameMax = 60, AccountMax = 10, VatCodeMax = 2, CurrencyMax = 5, TermsMax = 2;
constexpr int TemplateLastRow = 298;

bool Approved(const uint8_t *invoice) { return invoice && GetU16(invoice, VIVc::Approved) != 0; }

// The kind of a row: an empty kind word is an account row (a row typed
// below the last one has none yet).
PurchaseRowKind KindOf(const uint8_t *r)
{
    uint16_t kind = GetU16(r, Row::Kind);
    return kind == 0 ? PurchaseRowKind::Account : PurchaseRowKind(kind);
}

bool ReadRow(int window, int row, uint8_t *buf)
{
    return row >= 0 && MatrixRowRead(VIVc::Number, WinRecordBuffer(window), row, buf);
}

// Puts buf back as row `row` and redraws its cells.
void PutRow(int window, int row, const uint8_t *buf)
{
    if (!MatrixRowPut(VIVc::Number, 0, WinRecordBuffer(window), row, buf)) return;
    for (uint32_t cell : {uint32_t(Row::Account), uint32_t(Row::Objects), uint32_t(Row::Text), uint32_t(Row::Amount),
                          uint32_t(Row::VatCode), uint32_t(Row::Project), uint32_t(Row::CredSerNr)})
        WinMatrixDrawRow(window, row, cell, 0);
}

// Makes room for a row at `row` (inserting it, or growing the rows when it
// is their end); false when the rows could not grow.
bool OpenRowAt(int window, int row, PurchaseRowKind kind)
{
    int count = WinMatrixRowCount(window);
    if (row < count) {
        WinMatrixInsertRow(window, row, uint16_t(kind));
        return WinMatrixRowCount(window) == count + 1;
    }
    if (row != count || !MatrixResize(window, count + 1)) return false;
    MatrixRowsClear(window, uint16_t(kind), row, row);
    return true;
}

// Opens a row of `kind` at `row` as OpenRowAt does and reads it into buf
// with the defaults a new row takes (it credits no invoice), so an account
// row the window fills itself starts as a row the user opens. False when
// the row could not be made.
bool NewRowAt(int window, int row, PurchaseRowKind kind, uint8_t *buf)
{
    return OpenRowAt(window, row, kind) && ReadRow(window, row, buf);
}

// The screen field of row `row`'s cell at row byte `cell`; NoField when it is not shown.
int CellField(int window, int row, uint32_t cell)
{
    int page = 0;
    return WinFieldNumberOf(window, VIVc::Matrix, row, cell, &page);
}

// The default VAT code of block 155 for VAT treatment 0, 1 or 2.
void DefaultVatCode(uint16_t treatment, uint8_t *code)
{
    code[0] = 0;
    const uint8_t *block = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock);
    if (!block) return;
    constexpr uint32_t byTreatment[] = {PurchAccountsBlk::VatCodeT0, PurchAccountsBlk::VatCodeT1,
                                        PurchAccountsBlk::VatCodeT2};
    if (treatment < 3) GetPString(block, byTreatment[treatment], VatCodeMax, code);
}

// Word `offset` of block 153 (0 while the block is unbound).
uint16_t EntryWord(uint32_t offset)
{
    const uint8_t *block = SettingsRecord(PurchInvEntryBlk::Number, Block153);
    return block ? GetU16(block, offset) : 0;
}

// The header field at record byte `id` was committed.
void HeaderFieldChanged(int window, int id, uint8_t changed)
{
    uint8_t *inv = WinRecordBuffer(window);
    switch (id) {
    case VIVc::VendCode:
        if (!changed) return;
        if (!PurchaseVendorFill(window, inv)) {
            Beep();
            return;
        }
        ApplyPurchaseInvoiceTerms(inv);
        PurchaseRateRefresh(window, inv);
        WinRecordRefresh(window);
        return;
    case VIVc::InvDate:
        if (!changed && GetDate(inv, VIVc::DueDate).year != 0) return;
        ApplyPurchaseInvoiceTerms(inv);
        WinRecordRefresh(window);
        return;
    case VIVc::InvAmount:
        if (!changed) return;
        PurchaseVatPercentDefault(inv);
        ApplyPurchaseInvoiceTerms(inv);
        WinRecordRefresh(window);
        return;
    case VIVc::VendInvNr: {
        if (!changed) return;
        RuleRecord other(VIVc::Number);
        if (!other.record) return;
        std::memcpy(other.record + VIVc::VendInvNr, inv + VIVc::VendInvNr, VIVc::PayTerms - VIVc::VendInvNr);
        std::memcpy(other.record + VIVc::VendCode, inv + VIVc::VendCode, VIVc::VendName - VIVc::VendCode);
        uint32_t recid = 0, position = 0;
        if (inv[VIVc::VendInvNr] == 0) return;
        if (RecFindByIndex(VIVc::Number, "InvoiceNr", other.record, 2, 1, &recid, &position) &&
            GetI32(other.record, VIVc::SerNr) != GetI32(inv, VIVc::SerNr))
            ShowTextMessage(Texts::RecordKeyExists);
        return;
    }
    case VIVc::PayTerms:
        if (!changed) return;
        RefreshPurchaseInvoiceTerms(inv);
        if (InvoiceKind(GetU16(inv, VIVc::InvType)) == InvoiceKind::CreditNote) {
            WinCommitField(window);
            if (!WinIsOpen(window) || !OpenRowAt(window, 0, PurchaseRowKind::Credited)) return;
            uint8_t r[Row::Size] = {};
            PutU16(r, Row::Kind, uint16_t(PurchaseRowKind::Credited));
            PutI32(r, Row::CredSerNr, -1);
            PutRow(window, 0, r);
            WinMarkChanged(window);
        }
        ApplyPurchaseInvoiceTerms(inv);
        WinRecordRefresh(window);
        return;
    case VIVc::PayRef: {
        if (!changed) return;
        uint8_t ref[256];
        GetText(inv, VIVc::PayRef, ref);
        if ((CompanyVariantIs(CountryVariant::V13) && !CheckRef731(ref)) || (CompanyVariantIs(CountryVariant::V9) && !CheckRefMod10Mod11(ref)))
            ShowTextMessage(Texts::PurchaseRefInvalid);
        return;
    }
    case VIVc::TransDate: {
        DateRec date = GetDate(inv, VIVc::TransDate);
        if (date.year == 0) {
            PutDate(inv, VIVc::TransDate, GetDate(inv, VIVc::InvDate));
            WinRedrawFieldById(window, int(VIVc::TransDate));
            PurchaseRateRefresh(window, inv);
            return;
        }
        if (IsDateLockedSecondary(&date, VIVc::Number)) ShowTextMessage(Texts::DateLockedSecondary);
        if (changed) PurchaseRateRefresh(window, inv);
        return;
    }
    case VIVc::PayeeCode: {
        if (!changed) return;
        uint8_t code[256];
        GetText(inv, VIVc::PayeeCode, code);
        if (code[0] == 0) GetText(inv, VIVc::VendCode, code);
        PurchasePayeeFill(inv, code);
        WinRecordRefresh(window);
        return;
    }
    case VIVc::CurncyCode:
        if (changed) PurchaseRateRefresh(window, inv);
        return;
    default: return;
    }
}

// The row cell shown by screen field F was committed.
void RowCellChanged(int window, int F, uint8_t changed)
{
    int row = 0, column = 0;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size];
    if (!ReadRow(window, row, r) || KindOf(r) != PurchaseRowKind::Account) return;
    uint8_t *inv = WinRecordBuffer(window);
    if (GetU16(r, Row::Kind) == 0 && changed) {
        PutU16(r, Row::Kind, uint16_t(PurchaseRowKind::Account));
        PutRow(window, row, r);
    }
    if (changed) RowsVatTotals(window, inv);
    if (WinFieldIdAtCell(window, F) != int(Row::Account)) return;
    bool nameEmpty = r[Row::Text] == 0;
    if (changed || nameEmpty) {
        if (PurchaseTemplateExpand(window, inv, row)) return;
    }
    if (!changed && !nameEmpty && !AccountNameIsUnknown(r + Row::Text)) return;
    PurchaseRowAccountLookup(window, inv, row, true);
}

// Enter in screen field F: the screen field to go to, or NoField to let
// the framework move on. A blank amount balances its row and stays.
int EnterTarget(int window, int F)
{
    if (NextFieldOverride != 0) {
        int target = NextFieldOverride;
        NextFieldOverride = 0;
        return target;
    }
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (!WinHasMatrix(window) || F < first) return NoField;
    int row = 0, column = 0;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size];
    if (!ReadRow(window, row, r) || KindOf(r) != PurchaseRowKind::Account) return NoField;
    int id = WinFieldIdAtCell(window, F);
    if (id != int(Row::Amount)) return AccountRowEnterTarget(window, VIVc::Matrix, row, id, Row::Amount);
    PackedDecimal amount = GetDec(r, Row::Amount);
    if (!DecIsBlank(&amount)) return NoField;
    PurchaseBalanceRow(window);
    return F;
}

// Event 1: may the field at record byte `offset` be edited now?
uint8_t MayEdit(int window, uint32_t offset)
{
    int state = WinRecState(window);
    const uint8_t *shown = WinRecordBuffer(window);
    const uint8_t *decides = state == 2 ? WinStoredRecord(window) : state == 0 ? shown : nullptr;
    if ((offset == VIVc::Approved || offset == VIVc::Preliminary) && Approved(decides)) return 0;
    if (offset == VIVc::Preliminary && GetU16(shown, VIVc::Preliminary) != 0) return 0;
    if (offset == VIVc::VatTreatment && !CompanyVariantIs(CountryVariant::V15)) return 0;
    return 1;
}

// Event 4: may row `row` be deleted? Rows of a stored approved invoice
// stay, and so does the credited-invoice row of a stored one.
uint8_t MayDeleteRow(int window, int row)
{
    if (WinRecState(window) != 2) return 1;
    if (Approved(WinStoredRecord(window))) return 0;
    uint8_t r[Row::Size];
    return ReadRow(window, row, r) && KindOf(r) == PurchaseRowKind::Credited ? 0 : 1;
}

}  // namespace

// Window type 155's event handler.
uint8_t Win155Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out otherwise than by its register is left alone.
    if (!WinRulesApply(window)) return 1;
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField: return MayEdit(window, b ? *static_cast<const uint16_t *>(b) : 0xFFFFu);
    case WindowEventCode::RowDefaults:
        // A new row of any kind credits no invoice until a credit note's
        // row names one: all ones, which the Credited column shows as
        // nothing.
        if (a && b && *static_cast<const int16_t *>(b) >= 0) {
            uint8_t *r = static_cast<uint8_t *>(a) + uint32_t(*static_cast<const int16_t *>(b)) * Row::Size;
            PutI32(r, Row::CredSerNr, -1);
        }
        return 1;
    case WindowEventCode::MayDeleteRow: return a ? MayDeleteRow(window, *static_cast<const int16_t *>(a)) : 0;
    case WindowEventCode::FieldChanged:
        if (a && b)
            PurchaseInvoiceFieldChanged(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::Enter: {
        if (!a) return 1;
        int F = *static_cast<const uint16_t *>(a);
        int target = EnterTarget(window, F);
        if (target == NoField || !WinIsOpen(window)) return 1;
        if (target != F && !WinGotoField(window, target, true)) return 1;
        return 0;
    }
    case WindowEventCode::MayInsertRow: return WinRecState(window) == 1 ? 1 : 0;
    case WindowEventCode::RowsChanged: RowsVatTotals(window, WinRecordBuffer(window)); return 1;
    case WindowEventCode::Button:
        if (b && *static_cast<const int16_t *>(b) == 1) PurchaseBalanceRow(window);
        return 1;
    default: return 1;
    }
}

// Screen field `field` of a purchase-invoice window was committed.
void PurchaseInvoiceFieldChanged(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    NextFieldOverride = 0;
    FieldChangedSplit(window, field, changed, HeaderFieldChanged, RowCellChanged);
}

// Copies what the vendor gives an invoice (PurchaseInvoiceVendorFill, as
// every invoice made for a vendor gets it) and, with a purchase account,
// a first row on that account. The vendor register carries no payee, VAT
// code or VAT treatment of its own, so those stay as they are.
int PurchaseVendorFill(int window, uint8_t *invoice)
{
    assert(invoice);
    if (!PurchaseInvoiceVendorFill(invoice)) return 0;
    uint8_t code[256];
    GetText(invoice, VIVc::VendCode, code);
    RuleRecord vendor(VEVc::Number);
    if (!VendorRead(code, vendor)) return 1;
    uint8_t account[256];
    GetText(vendor.record, VEVc::PurchAcc, account);
    if (account[0] == 0 || !window) return 1;
    uint8_t r[Row::Size];
    bool opened = WinMatrixRowCount(window) == 0 ? NewRowAt(window, 0, PurchaseRowKind::Account, r)
                                                 : ReadRow(window, 0, r);
    if (!opened) return 1;
    PutU16(r, Row::Kind, uint16_t(PurchaseRowKind::Account));
    PutText(r, Row::Account, account);
    PutRow(window, 0, r);
    PurchaseRowAccountLookup(window, invoice, 0, true);
    return 1;
}

// The name and VAT code of row `row`'s account: the invoice's VAT code,
// else the account's, else block 155's for the invoice's VAT treatment.
void PurchaseRowAccountLookup(int window, uint8_t *invoice, int row, bool extra)
{
    uint8_t r[Row::Size];
    if (!ReadRow(window, row, r)) return;
    uint8_t code[256], text[256];
    GetText(r, Row::Account, code);
    RuleRecord acc(ACVc::Number);
    if (code[0] == 0) {
        r[Row::Text] = 0;
        PutRow(window, row, r);
        return;
    }
    if (!PurchaseAccountRead(code, acc)) {
        GetUiText(text, Texts::AccountNameMissing);
        PutText(r, Row::Text, text);
        PutRow(window, row, r);
        Beep();
        return;
    }
    GetText(acc.record, ACVc::Name, text);
    PutText(r, Row::Text, text);
    GetText(invoice, VIVc::VatCode, text);
    if (text[0] == 0) GetText(acc.record, ACVc::VatCode, text);
    if (text[0] == 0) DefaultVatCode(GetU16(invoice, VIVc::VatTreatment), text);
    PutText(r, Row::VatCode, text);
    PutRow(window, row, r);
    GetText(acc.record, ACVc::FollowUp, code);
    uint8_t next[Row::Size];
    if (!extra || code[0] == 0 || !NewRowAt(window, row + 1, PurchaseRowKind::Account, next)) return;
    PutU16(next, Row::Kind, uint16_t(PurchaseRowKind::Account));
    PutText(next, Row::Account, code);
    PutRow(window, row + 1, next);
    WinMarkChanged(window);
}

// The template of register 19 named in row R's account cell, written into
// rows R, R+1, ... (from R-1 when its first row's account is "!": it then
// continues the row above). "#" takes the row above's value; "=" makes the
// row take what is left to distribute; percentages are of the row above's
// amount. Rows past 298 are not written.
int PurchaseTemplateExpand(int window, uint8_t *invoice, int row)
{
    uint8_t r[Row::Size], prev[Row::Size] = {};
    if (!ReadRow(window, row, r)) return 0;
    bool hasPrev = row > 0 && ReadRow(window, row - 1, prev) && KindOf(prev) == PurchaseRowKind::Account;
    if (!hasPrev) std::memset(prev, 0, sizeof prev);
    uint8_t code[256];
    GetText(r, Row::Account, code);
    RuleRecord tpl(AUVc::Number);
    if (!VoucherTemplateRead(code, tpl.record)) return 0;
    int count = MatrixRowCount(AUVc::Number, 0, tpl.record);
    int shift = 0;
    for (int i = 0; i < count; i++) {
        TemplateRowTexts tr;
        if (!TemplateRowTextsRead(tpl.record, i, &tr)) break;
        bool continuation = i == 0 && hasPrev && PStringEqualC(tr.account, "!");
        if (continuation) shift = 1;
        int target = row + i - shift;
        if (target > TemplateLastRow) break;
        uint8_t w[Row::Size] = {};
        if (target >= WinMatrixRowCount(window) && !OpenRowAt(window, target, PurchaseRowKind::Account)) break;
        if (!ReadRow(window, target, w)) break;
        PutU16(w, Row::Kind, uint16_t(PurchaseRowKind::Account));
        PutU16(w, Row::Flag, 0);
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(w, Row::Quantity, blank);
        bool same = PStringEqualC(tr.account, "#") || continuation;
        if (same) std::memcpy(w + Row::Account, prev + Row::Account, Row::Objects - Row::Account);
        else PutText(w, Row::Account, tr.account);
        if (PStringEqualC(tr.objects, "#") || (continuation && tr.objects[0] == 0))
            std::memcpy(w + Row::Objects, prev + Row::Objects, Row::Text - Row::Objects);
        else PutText(w, Row::Objects, tr.objects);
        if (PStringEqualC(tr.name, "#") || (continuation && tr.name[0] == 0))
            std::memcpy(w + Row::Text, prev + Row::Text, Row::Amount - Row::Text);
        else PutText(w, Row::Text, tr.name);
        // An empty name is looked up (which draws the account's VAT code);
        // the template's own VAT code, when it gives one, comes after.
        if (w[Row::Text] == 0) {
            PutRow(window, target, w);
            PurchaseRowAccountLookup(window, invoice, target, false);
            if (!ReadRow(window, target, w)) break;
        }
        if (PStringEqualC(tr.vat, "#")) std::memcpy(w + Row::VatCode, prev + Row::VatCode, VatCodeMax + 1);
        else if (tr.vat[0] != 0) PutText(w, Row::VatCode, tr.vat);
        PackedDecimal base = GetDec(prev, Row::Amount), amount;
        if (!hasPrev) DecSetZero(&base);
        bool balancing = PStringEqualC(tr.debit, "=") || PStringEqualC(tr.credit, "=");
        if (balancing) DecSetZero(&amount);
        else VoucherPercentAmount(&amount, &base, tr.debit, tr.credit);
        PutDec(w, Row::Amount, amount);
        PutRow(window, target, w);
        if (balancing) {
            PurchaseInvoiceRowsDifference(invoice, &amount);
            DecNegateInto(&amount, &amount);
            PutDec(w, Row::Amount, amount);
            PutRow(window, target, w);
        }
        // A cell not shown (NoField) sets no focus.
        int focus = tr.account[0] == 0 ? CellField(window, target, Row::Account)
                    : tr.debit[0] == 0 && tr.credit[0] == 0 ? CellField(window, target, Row::Amount)
                                                      : NoField;
        if (NextFieldOverride == 0 && focus != NoField) NextFieldOverride = uint16_t(focus);
        std::memcpy(prev, w, sizeof prev);
        hasPrev = true;
    }
    if (NextFieldOverride == 0) {
        int after = row + count - shift;
        if (after >= WinMatrixRowCount(window)) (void)OpenRowAt(window, after, PurchaseRowKind::Account);
        int F = CellField(window, after, Row::Account);
        if (F != NoField) NextFieldOverride = uint16_t(F);
    }
    RowsVatTotals(window, invoice);
    WinMarkChanged(window);
    return 1;
}

// The current account row takes what is left to distribute: without VAT
// entered (and with ordinary VAT), less the VAT part of its own VAT code.
void PurchaseBalanceRow(int window)
{
    if (!WinIsOpen(window)) return;
    int first = 0, cells = 0, row = -1, column = 0;
    MatrixGeometry(window, &first, &cells);
    int F = WinFocusFieldNumber(window);
    if (WinHasMatrix(window) && F >= first) MatrixRowAt(window, F, &row, &column);
    else row = WinSelectedRow(window);
    uint8_t r[Row::Size];
    if (!ReadRow(window, row, r) || KindOf(r) != PurchaseRowKind::Account) return;
    WinCommitField(window);
    if (!WinIsOpen(window) || !ReadRow(window, row, r)) return;
    uint8_t *inv = WinRecordBuffer(window);
    PackedDecimal amount;
    DecSetZero(&amount);
    PutU16(r, Row::Kind, uint16_t(PurchaseRowKind::Account));
    PutDec(r, Row::Amount, amount);
    PutRow(window, row, r);
    RowsVatTotals(window, inv);
    PurchaseInvoiceRowsDifference(inv, &amount);
    DecNegateInto(&amount, &amount);
    PackedDecimal entered = GetDec(inv, VIVc::VatEntered);
    if (VatTreatment(GetU16(inv, VIVc::VatTreatment)) == VatTreatment::Ordinary && DecIsBlank(&entered)) {
        uint8_t code[256];
        GetText(r, Row::VatCode, code);
        PackedDecimal vat;
        if (VatPartOf(code, &amount, &vat)) DecSub(&amount, &vat, &amount);
    }
    DecRound(&amount, 2, &amount);
    PutDec(r, Row::Amount, amount);
    PutRow(window, row, r);
    RowsVatTotals(window, inv);
    int target = CellField(window, row, Row::Amount);
    if (target != NoField) WinGotoField(window, target, true);
}

// Sums the amounts of the account rows with a VAT code by code and keeps
// the VAT of those sums in the computed VAT, rounded to cents; VAT
// treatment 2 keeps its typed VAT.
void RowsVatTotals(int window, uint8_t *invoice)
{
    bool written = false;
    if (!PurchaseInvoiceRowsVat(invoice, &written)) return;
    if (written && window) WinRedrawFieldById(window, int(VIVc::VatComputed));
    if (window) WinMarkChanged(window);
}

// With block 153's VAT default on and ordinary VAT, the VAT amount is its
// percentage of the invoice total.
void PurchaseVatPercentDefault(uint8_t *invoice)
{
    const uint8_t *block = SettingsRecord(PurchInvEntryBlk::Number, Block153);
    if (!block || GetU16(block, PurchInvEntryBlk::VatPctDefault) == 0 || VatTreatment(GetU16(invoice, VIVc::VatTreatment)) != VatTreatment::Ordinary)
        return;
    uint8_t pct[256];
    GetText(block, PurchInvEntryBlk::VatPct, pct);
    PackedDecimal total = GetDec(invoice, VIVc::InvAmount), vat;
    DecPercentOfText(pct, &total, &vat);
    PutDec(invoice, VIVc::VatEntered, vat);
}

// The rate of the invoice's currency on its booking date; a rate that
// could not be had leaves the one shown.
void PurchaseRateRefresh(int window, uint8_t *invoice)
{
    RateIntoField(window, invoice, VIVc::CurncyCode, VIVc::TransDate, VIVc::Rate);
}

// Enter in an account row's account cell (4) or the cell at 16: to the
// amount, or the name cell (48) when word 1 of block 153 is 0; from the
// account cell to the row's second cell when word 0 is 0. NoField for
// other cells.
int AccountRowEnterTarget(int window, uint32_t matrix, int row, int id, uint32_t amountCell)
{
    constexpr uint32_t AccountCell = 4, SecondCell = 16, NameCell = 48;
    if (id != int(AccountCell) && id != int(SecondCell)) return NoField;
    int page = 0;
    int target = WinFieldNumberOf(window, matrix, row, amountCell, &page);
    if (EntryWord(PurchInvEntryBlk::FocusStep1) == 0) target = WinFieldNumberOf(window, matrix, row, NameCell, &page);
    if (id == int(AccountCell) && EntryWord(PurchInvEntryBlk::FocusStep0) == 0) {
        int first = 0, cells = 0;
        MatrixGeometry(window, &first, &cells);
        target = first + row * cells + 1;
    }
    return target;
}

bool PurchaseAccountRead(const uint8_t *code, RuleRecord &acc)
{
    if (!acc.record || code[0] == 0) return false;
    PutText(acc.record, ACVc::Code, code);
    return RecFindByFirstKey(ACVc::Number, acc.record);
}

bool AccountNameIsUnknown(const uint8_t *name) { return AccountNameIsUnknownAt(name, -1); }

void RateIntoField(int window, const uint8_t *record, uint32_t currencyAt, uint32_t dateAt, uint32_t rateAt)
{
    if (!WinIsOpen(window)) return;
    uint8_t currency[256];
    GetPString(record, currencyAt, CurrencyMax, currency);
    DateRec date = GetDate(record, dateAt);
    PackedDecimal rate;
    if (CurrencyRate(currency, &date, &rate)) WinSetFieldValue(window, int(rateAt), rate.b);
}
