// doc_field_range.cpp - the rows a field code of a document type prints
// over, page by page.
//
// Each document family has a row-range provider: its page codes print
// the rows of the current page (FormFirstRow .. the page's end, no
// further than the last row), its fixed codes print a fixed range (the
// address lines 1..4, the VAT summary 1..rates used, the payment rows);
// every other code prints one value (0..0). The providers are data:
// code spans and fixed ranges per family. The address codes 62 and 63
// are ranged for every doctype last.
#include <cassert>
#include <span>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"
#include "rules/vat_currency.h"

namespace {
// Where a family counts its rows.
enum class RowSource : uint8_t { None, Matrix, RowCount };
// A fixed range's end that is counted: the VAT rates an invoice uses,
// the payment document's rows.
constexpr int16_t VatRatesUsed = -1, PaymentRows = -2;

struct CodeSpan {
    int16_t from, to;
};
struct FixedRange {
    int16_t from, to;     // codes
    int16_t first, last;  // rows; last may be VatRatesUsed or PaymentRows
};
struct RowRangeProvider {
    RowSource source;
    std::span<const CodeSpan> page;
    std::span<const FixedRange> fixed;
};

constexpr CodeSpan InvoicePage[] = {{1, 1}, {8, 31}, {43, 43}, {347, 348}};
constexpr FixedRange InvoiceFixed[] = {{2, 7, 1, 4}, {32, 36, 1, VatRatesUsed}};
constexpr CodeSpan QuotePage[] = {{8, 11}, {13, 20}, {29, 30}, {37, 39}, {347, 348}};
constexpr FixedRange QuoteFixed[] = {{2, 3, 1, 4}};
constexpr CodeSpan DeliveryPage[] = {{8, 11},  {13, 16}, {18, 20}, {28, 30},   {38, 39},
                                     {42, 47}, {49, 49}, {51, 53}, {141, 141}, {336, 336}, {345, 345}};
constexpr FixedRange DeliveryFixed[] = {{2, 2, 1, 4}, {41, 41, 1, 4}, {50, 50, 1, 4}, {40, 40, 1, 3}};
constexpr CodeSpan OrderPage[] = {{8, 11}, {13, 20}, {28, 30}, {37, 39},   {43, 43},
                                  {47, 48}, {51, 51}, {53, 53}, {138, 148}, {347, 348}};
constexpr FixedRange OrderFixed[] = {{2, 3, 1, 4}, {136, 137, 1, 4}};
constexpr CodeSpan PurchaseOrderPage[] = {{8, 9},   {11, 11}, {13, 16}, {18, 20},
                                          {28, 28}, {38, 39}, {47, 48}, {149, 151}};
constexpr FixedRange PurchaseOrderFixed[] = {{2, 3, 1, 4}};
constexpr CodeSpan ProductionPage[] = {{8, 9}, {160, 160}, {185, 185}, {274, 274}, {337, 339}};
constexpr CodeSpan ProjectPage[] = {{260, 264}};
constexpr FixedRange ProjectFixed[] = {{2, 2, 1, 3}, {265, 265, 0, 2}, {266, 266, 0, 9}};
constexpr CodeSpan TimeSheetPage[] = {{8, 8}, {13, 13}, {65, 65}, {265, 265}, {270, 270}, {350, 350}};
constexpr CodeSpan StockMovePage[] = {{8, 11}, {13, 14}, {20, 20}, {43, 43}, {185, 188}};
constexpr FixedRange StockMoveFixed[] = {{183, 184, 1, 3}};
constexpr CodeSpan PurchaseDocPage[] = {{8, 11}, {13, 14}, {43, 43}, {144, 144}, {185, 185}, {188, 191}, {372, 372}};
constexpr FixedRange PurchaseDocFixed[] = {{2, 2, 1, 3}};
constexpr FixedRange ReminderFixed[] = {{2, 2, 1, 4}, {216, 216, 0, 2}, {217, 217, 2, 4}};
constexpr CodeSpan StatementPage[] = {{69, 69}, {219, 220}, {222, 222}, {228, 237}, {259, 259}};
constexpr FixedRange StatementFixed[] = {{227, 227, 1, 3}, {2, 2, 1, 4}};
constexpr FixedRange PaymentDocFixed[] = {{3, 3, 1, 4}, {69, 69, 1, PaymentRows}, {319, 323, 1, PaymentRows}};

constexpr RowRangeProvider InvoiceRowRange{RowSource::Matrix, InvoicePage, InvoiceFixed};
constexpr RowRangeProvider QuoteRowRange{RowSource::RowCount, QuotePage, QuoteFixed};
constexpr RowRangeProvider DeliveryRowRange{RowSource::RowCount, DeliveryPage, DeliveryFixed};
constexpr RowRangeProvider OrderRowRange{RowSource::RowCount, OrderPage, OrderFixed};
constexpr RowRangeProvider PurchaseOrderRowRange{RowSource::RowCount, PurchaseOrderPage, PurchaseOrderFixed};
constexpr RowRangeProvider ProductionRowRange{RowSource::Matrix, ProductionPage, {}};
constexpr RowRangeProvider ProjectRowRange{RowSource::Matrix, ProjectPage, ProjectFixed};
constexpr RowRangeProvider TimeSheetRowRange{RowSource::Matrix, TimeSheetPage, {}};
constexpr RowRangeProvider StockMoveRowRange{RowSource::RowCount, StockMovePage, StockMoveFixed};
constexpr RowRangeProvider PurchaseDocRowRange{RowSource::RowCount, PurchaseDocPage, PurchaseDocFixed};
constexpr RowRangeProvider ReminderRowRange{RowSource::None, {}, ReminderFixed};
constexpr RowRangeProvider StatementRowRange{RowSource::RowCount, StatementPage, StatementFixed};
constexpr RowRangeProvider PaymentDocRowRange{RowSource::None, {}, PaymentDocFixed};

// The provider of doctype; null for the types without one (the label
// documents -23 and -21 print one value a label; the customer and asset
// documents; -9, -5).
const RowRangeProvider *ProviderOf(int16_t doctype) {
    switch (doctype) {
    case -18: case -17: case -16: case -2: return &InvoiceRowRange;
    case -14: return &QuoteRowRange;
    case -27: case -12: case -7: case -3: return &DeliveryRowRange;
    case -15: case -6: return &OrderRowRange;
    case -19: return &PurchaseOrderRowRange;
    case -28: return &ProductionRowRange;
    case -24: return &ProjectRowRange;
    case -29: return &TimeSheetRowRange;
    case -10: return &PaymentDocRowRange;
    case -11: case -8: return &StatementRowRange;
    case -20: return &StockMoveRowRange;
    case -22: return &PurchaseDocRowRange;
    case -4: return &ReminderRowRange;
    default: return nullptr;
    }
}

// The number of rows of the printed record's matrix (its register from
// the doctype table); 0 without a record or rows.
int32_t MatrixRows(int16_t doctype) {
    const DocTypeRec *d = DocTypeOf(doctype);
    if (!d || !FormDocRecord) return 0;
    int32_t n = MatrixRowCount(d->reg, 0, FormDocRecord);
    return n < 0 ? 0 : n;
}

// The VAT codes the invoice's summary holds (the rows of its VAT
// summary, built when its print started).
int16_t InvoiceVatRates() {
    int32_t n = InvoiceVatSums ? VatSumsUsedCount(InvoiceVatSums) : 0;
    return (int16_t)(n > INT16_MAX ? INT16_MAX : n);
}

bool InSpans(std::span<const CodeSpan> spans, int16_t code) {
    for (const CodeSpan &s : spans)
        if (code >= s.from && code <= s.to) return true;
    return false;
}

// Runs provider p for code: a page code gets the current page's rows,
// a fixed code its range; other codes are left as they are.
void RunProvider(const RowRangeProvider &p, int16_t doctype, int16_t code, int16_t *first, int16_t *last) {
    if (InSpans(p.page, code)) {
        int32_t lastRow = (p.source == RowSource::Matrix ? MatrixRows(doctype) : FormRowCount) - 1;
        int32_t windowEnd = (int32_t)FormFirstRow + FormRowsPerPage - 1;
        *first = FormFirstRow;
        *last = (int16_t)(lastRow < windowEnd ? lastRow : windowEnd);
        return;
    }
    for (const FixedRange &f : p.fixed) {
        if (code < f.from || code > f.to) continue;
        *first = f.first;
        if (f.last == VatRatesUsed) *last = InvoiceVatRates();
        else if (f.last == PaymentRows) *last = (int16_t)(PaymentDocRowCount() > INT16_MAX ? INT16_MAX : PaymentDocRowCount());
        else *last = f.last;
        return;
    }
}

// The company's address lines: 62 over rows 1..4, 63 over 2..4.
void AddressLineRange(int16_t code, int16_t *first, int16_t *last) {
    if (code == 62) *first = 1, *last = 4;
    else if (code == 63) *first = 2, *last = 4;
}
}  // namespace

// The rows field code of doctype prints over into *first..*last (the
// caller sets both to 0; a code the doctype does not range keeps 0..0).
// A last below first prints nothing (a page past the last row).
void DocFieldRowRange(int16_t doctype, int16_t code, int16_t *first, int16_t *last) {
    assert(first && last);
    const RowRangeProvider *p = ProviderOf(doctype);
    if (p) RunProvider(*p, doctype, code, first, last);
    AddressLineRange(code, first, last);
}
