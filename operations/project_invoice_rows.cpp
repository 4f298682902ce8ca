// project_invoice_rows.cpp - the rows of a project invoice: text rows,
// down-payment rows (kind 5) and the item rows that take the amounts of
// budget rows, found or made by the project's grouping (one row per
// sales account, per item group or per item) unless detail asks for one
// row per budget row.
#include "operations/project_invoice_work.h"

#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/documents.h"
#include "rules/vat_currency.h"

namespace {

constexpr int TextMax = 100, NameMax = 60, ItemMax = 20, GroupMax = 5;

// Appends row to the invoice; its number, or -1 when memory ran out.
int32_t AppendRow(uint8_t *inv, const uint8_t *row) {
    int32_t n = MatrixRowCount(IVVc::Number, 0, inv);
    return MatrixRowPut(IVVc::Number, 0, inv, n, row) ? n : -1;
}

// The account and VAT code of item (a register-3 record, cleared but for
// its code when the item is missing) for the invoice's VAT zone.
void ItemAccounts(const uint8_t *inv, const uint8_t *item, uint8_t *account, uint8_t *vat) {
    int zone = GetU16(inv, IVVc::VatZone);
    ItemSalesAccount(item, zone, account);
    ItemVatCode(item, zone, vat);
}

// Reads the item of code into rec; a missing one leaves only its code.
void ReadItem(RuleRecord &rec, const uint8_t *code) {
    if (!ProjectReadByCode(rec, INVc::Code, ItemMax, code) && rec.record) {
        RecClear(INVc::Number, rec.record);
        PutText(rec.record, INVc::Code, code);
    }
}

}  // namespace

// Cuts text to max characters.
void CutText(uint8_t *text, int max) {
    if (text[0] > max) text[0] = (uint8_t)max;
}

// A text row: kind 1 with text (a single space when empty).
void ProjectInvoiceRowText(uint8_t *inv, const uint8_t *text) {
    assert(inv && text);
    uint8_t row[IVVc::Rows::Size] = {};
    InitDocRow(row, IVVc::Number, 1);
    uint8_t t[256];
    PStringCopy(t, text);
    if (t[0] == 0) PStringFromC(t, " ");
    CutText(t, TextMax);
    PutText(row, IVVc::Rows::Text, t);
    AppendRow(inv, row);
}

// A down-payment row (kind 5) of amount with text, on the down-payment
// item's account and VAT code; its number, -1 when not appended.
int32_t DownPaymentRow(ProjectRun &run, const PackedDecimal &amount, const uint8_t *text) {
    uint8_t row[IVVc::Rows::Size] = {};
    InitDocRow(row, IVVc::Number, 5);
    uint8_t code[256], account[256], vat[256], t[256];
    GetText(run.defaults, ProjectBlk::DownPayItem, code);
    RuleRecord item(INVc::Number);
    ReadItem(item, code);
    if (item.record) {
        ItemAccounts(run.inv, item.record, account, vat);
        PutText(row, IVVc::Rows::SalesAcc, account);
        PutText(row, IVVc::Rows::VatCode, vat);
    }
    PStringCopy(t, text);
    CutText(t, TextMax);
    PutText(row, IVVc::Rows::Text, t);
    PutDec(row, IVVc::Rows::Sum, amount);
    return AppendRow(run.inv, row);
}

namespace {

// The invoice row of the work list entry equal to key (same project, VAT
// code, account and grouping key, neither of them a detail row), or a new
// kind-1 row with text on the key's account and VAT code, entered in the
// list. -1 when no row could be appended.
int32_t GroupedRow(ProjectRun &run, ProjectInvoiceRowKey &key, uint8_t *text) {
    if (!key.detail)
        for (const ProjectInvoiceRowKey &k : run.keys)
            if (!k.detail && k.kind == key.kind && PStringEqual(k.project, key.project) &&
                PStringEqual(k.vat, key.vat) && PStringEqual(k.account, key.account) &&
                PStringEqual(k.group, key.group) && PStringEqual(k.item, key.item) && k.priced == key.priced &&
                (!k.priced || (DecEqual(&k.price, &key.price) && DecEqual(&k.discount, &key.discount))))
                return k.row;
    uint8_t row[IVVc::Rows::Size] = {};
    InitDocRow(row, IVVc::Number, 1);
    PutText(row, IVVc::Rows::SalesAcc, key.account);
    PutText(row, IVVc::Rows::VatCode, key.vat);
    CutText(text, NameMax);
    PutText(row, IVVc::Rows::Text, text);
    PackedDecimal zero;
    DecSetZero(&zero);
    PutDec(row, IVVc::Rows::Sum, zero);
    key.row = AppendRow(run.inv, row);
    if (key.row >= 0) ProjectInvoiceRowFill(run, key);
    return key.row;
}

// The key every grouping starts from: the project, and the VAT code and
// account of item (a register-3 record) for the invoice's zone.
ProjectInvoiceRowKey KeyOf(const ProjectRun &run, const uint8_t *item, bool detail, const ProjectRowDetail *priced) {
    ProjectInvoiceRowKey key{};
    GetText(run.project, ProjectVc::Code, key.project);
    ItemAccounts(run.inv, item, key.account, key.vat);
    key.detail = detail;
    if (priced) {
        key.priced = true;
        PStringCopy(key.item, priced->item);
        key.price = priced->price;
        key.discount = priced->discount;
    }
    return key;
}

}  // namespace

// The row per sales account and budget kind (0 time, 1 cost), its text
// block 201's default for the kind.
int32_t ProjectInvoiceAccountRow(ProjectRun &run, const uint8_t *itemCode, int16_t kind, bool detail,
                                 const ProjectRowDetail *priced) {
    RuleRecord item(INVc::Number);
    ReadItem(item, itemCode);
    if (!item.record) return -1;
    ProjectInvoiceRowKey key = KeyOf(run, item.record, detail, priced);
    key.kind = kind;
    uint8_t text[256];
    GetPString(run.defaults, kind == 0 ? ProjectBlk::TimeText : ProjectBlk::CostText, NameMax, text);
    // Without a default text a shared row of hours is named after its
    // item (a detail row carries its person instead).
    if (text[0] == 0 && key.priced && !detail) GetText(item.record, INVc::Name, text);
    return GroupedRow(run, key, text);
}

// The row per item group, its text the group's name.
int32_t ProjectInvoiceGroupRow(ProjectRun &run, const uint8_t *itemCode, bool detail, const ProjectRowDetail *priced) {
    RuleRecord item(INVc::Number), group(ITVc::Number);
    ReadItem(item, itemCode);
    if (!item.record) return -1;
    ProjectInvoiceRowKey key = KeyOf(run, item.record, detail, priced);
    key.kind = -1;
    GetText(item.record, INVc::Group, key.group);
    uint8_t text[256] = {0};
    if (ProjectReadByCode(group, ITVc::Code, GroupMax, key.group)) GetText(group.record, ITVc::Name, text);
    return GroupedRow(run, key, text);
}

// The row per item, its text the item name the budget carries.
int32_t ProjectInvoiceItemRow(ProjectRun &run, const uint8_t *itemCode, bool detail, const uint8_t *itemName,
                              const ProjectRowDetail *priced) {
    RuleRecord item(INVc::Number);
    ReadItem(item, itemCode);
    if (!item.record) return -1;
    ProjectInvoiceRowKey key = KeyOf(run, item.record, detail, priced);
    key.kind = -1;
    PStringCopy(key.item, itemCode);
    uint8_t text[256];
    PStringCopy(text, itemName);
    return GroupedRow(run, key, text);
}

// Appends an entry to the run's work list.
void ProjectInvoiceRowFill(ProjectRun &run, const ProjectInvoiceRowKey &key) { run.keys.push_back(key); }

// Adds amount to the amount of invoice row r (see project_invoice_work.h);
// the note joins the text only while the whole fits the text field.
void ProjectInvoiceRowAdd(ProjectRun &run, int32_t r, const PackedDecimal &amount, const ProjectRowDetail *what,
                          bool note) {
    uint8_t row[IVVc::Rows::Size];
    if (!MatrixRowGet(IVVc::Number, 0, run.inv, r, row)) return;
    PackedDecimal sum = GetDec(row, IVVc::Rows::Sum), a = amount;
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    DecAdd(&sum, &a, &sum);
    PutDec(row, IVVc::Rows::Sum, sum);
    if (what) {
        PackedDecimal qty = GetDec(row, IVVc::Rows::Quantity), more = what->quantity;
        if (!DecIsBlank(&more)) {
            if (DecIsBlank(&qty)) DecSetZero(&qty);
            DecAdd(&qty, &more, &qty);
            PutDec(row, IVVc::Rows::Quantity, qty);
        }
        PutText(row, IVVc::Rows::ItemCode, what->item);
        PutDec(row, IVVc::Rows::Price, what->price);
        PutDec(row, IVVc::Rows::Discount, what->discount);
    }
    if (what && note) {
        const ProjectRowDetail *detail = what;
        uint8_t text[256];
        GetText(row, IVVc::Rows::Text, text);
        int joined = text[0] + (text[0] != 0 ? 2 : 0) + detail->note[0];
        if (detail->note[0] != 0 && joined < TextMax) {
            if (text[0] != 0) PStringAppendC(text, ", ");
            PStringAppend(text, detail->note);
            PutText(row, IVVc::Rows::Text, text);
        }
    }
    MatrixRowPut(IVVc::Number, 0, run.inv, r, row);
}
