// sales_doc_header.cpp - header steps the order and quotation windows
// share: the exchange rate, the price list's VAT word, the customer's
// note and the delivery text's form (the customer fill itself is the
// business layer's, operations/sales_customer_fill.cpp).
#include "core/date.h"
#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "recordwin/sales_doc_window.h"
#include "rules/documents.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "database/access/record_access.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int CodeMax = 5, NoteMax = 60;
// Block 220's first word: the form a delivery text is kept in.
constexpr uint16_t DeliveryAsDate = 1, DeliveryAsNumber = 2, DeliveryAsNumber2 = 3;

}  // namespace

bool SalesDocRulesApply(const SalesDocWindow &d, int window)
{
    return WinIsOpen(window) && WinRecordBuffer(window) && WinRegisterOf(window) == d.layout->reg;
}

void SalesDocRateRefresh(const SalesDocWindow &d, int window)
{
    if (!WinIsOpen(window)) return;
    const uint8_t *doc = WinRecordBuffer(window);
    uint8_t currency[256];
    GetPString(doc, d.layout->currency, CodeMax, currency);
    DateRec date = GetDate(doc, d.date);
    PackedDecimal rate;
    if (!CurrencyRate(currency, &date, &rate)) return;
    WinSetFieldValue(window, int(d.layout->rate), rate.b);
}

void SalesDocPriceListLeft(const SalesDocWindow &d, int window)
{
    uint8_t *doc = WinRecordBuffer(window);
    uint8_t code[256];
    GetPString(doc, d.layout->priceList, CodeMax, code);
    if (code[0] == 0) return;
    RuleRecord list(PriceListVc::Number);
    if (!list.record) return;
    PutText(list.record, PriceListVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(PriceListVc::Number, list.record, 1, 1, &recid, &position)) {
        Beep();
        return;
    }
    PutU16(doc, d.layout->inclVat, GetU16(list.record, PriceListVc::InclVat));
    WinRedrawFieldById(window, int(d.layout->inclVat));
}

void SalesDocResolvePriceList(const SalesDocWindow &d, uint8_t *doc, uint32_t groupAt)
{
    ResolveDocPriceList(doc, groupAt, d.layout->priceList, d.layout->inclVat);
}

void CustomerNoteShow(const uint8_t *customer)
{
    uint8_t note[256];
    GetText(customer, CUVc::Note, note);
    if (note[0] != 0) ShowMessage(0, note);
}

void DeliveryTextNormalise(int window, TextField<10> field)
{
    if (!Block220) return;
    uint16_t form = GetU16(Block220, ValueKindBlk::ValueKind);
    uint8_t *doc = WinRecordBuffer(window);
    uint8_t text[256], out[256];
    GetText(doc, field, text);
    if (form == DeliveryAsDate) {
        DateTimeRec parsed{};
        (void)DateParse(text, &parsed);
        DateRec date{};
        date.day = parsed.day;
        date.month = parsed.month;
        date.year = parsed.year;
        DateToText(&date, out);
    } else if (form == DeliveryAsNumber || form == DeliveryAsNumber2) {
        LongToDigitText(TextToLong(text), out);
    } else {
        return;
    }
    if (out[0] > field.Length) out[0] = uint8_t(field.Length);
    WinSetFieldValue(window, int(field.offset), out);
}

bool SalesDocLeaveIsRow(const SalesDocWindow &d, int window, int F, uint8_t changed, int *id)
{
    *id = NoField;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (WinHasMatrix(window) && F >= first) {
        SalesDocRowLeft(d, window, F, changed);
        return true;
    }
    *id = WinFieldIdAt(window, F);
    return false;
}
