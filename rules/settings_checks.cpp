// settings_checks.cpp - the checks of settings blocks before they are
// stored, and what a stored block changes in the running program.
//
// A check reports the first fault at its row and column and refuses the
// block; blocks without a check are stored as entered. The fiscal-years
// check also gives new years their order codes, which the store keeps.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/accounts.h"
#include "rules/series_terms.h"
#include "rules/settings_checks.h"
#include "rules/vat_currency.h"

namespace {

constexpr uint32_t SeriesRowSize = InvSeriesBlk::Rows::Size;
constexpr uint16_t YearCodeStepUp = 10;
constexpr uint16_t YearCodeLastBase = 40;

// Refuses at row and column of a row-table block.
int RowFault(int text, uint32_t row, uint32_t column) {
    return FieldErrorAt(text, nullptr, 0, (uint16_t)row, (uint16_t)column);
}

// Told when a series row's last number lies before its first.
constexpr int TextSeriesReversed = 18000;

// True when block is one of the number-series blocks whose ranges may not
// overlap. The vouchers' may: they number within their fiscal year, so
// each year's range may hold the same numbers.
bool IsSeriesBlock(int block) { return (block >= 187 && block <= 196) || block == 198 || block == 204; }

// The index of the first row after row i whose code (at codeAt, of width
// max) equals row i's; -1 when none.
int32_t LaterSameCode(const uint8_t *rows, uint32_t rowSize, uint32_t count, uint32_t i, uint32_t codeAt, int max) {
    uint8_t a[256], b[256];
    GetPString(rows + (size_t)i * rowSize, codeAt, max, a);
    for (uint32_t j = i + 1; j < count; j++) {
        GetPString(rows + (size_t)j * rowSize, codeAt, max, b);
        if (PStringEqual(a, b)) return (int32_t)j;
    }
    return -1;
}

// The day after d.
DateRec DayAfter(const DateRec &d) {
    DateRec next;
    DateAddDays(&d, 1, &next);
    return next;
}

// The order code of row i of the fiscal years.
uint16_t OrderCodeAt(const uint8_t *rows, uint32_t i) {
    return GetU16(rows + (size_t)i * FiscalYearBlk::Rows::Size, FiscalYearBlk::Rows::OrderCode);
}

// Gives row i its order code: the rule's code when it is free and in
// range, else a free code that keeps the years' order among the rows that
// already have one. false when no code is free.
bool GiveYearCode(uint8_t *rows, uint32_t count, uint32_t i, int ruleCode) {
    std::vector<uint8_t> coded;
    int32_t position = 0;
    for (uint32_t j = 0; j < count; j++) {
        if (j == i || OrderCodeAt(rows, j) == 0) continue;
        const uint8_t *row = rows + (size_t)j * FiscalYearBlk::Rows::Size;
        coded.insert(coded.end(), row, row + FiscalYearBlk::Rows::Size);
        if (j < i) position++;
    }
    int32_t n = (int32_t)(coded.size() / FiscalYearBlk::Rows::Size);
    uint16_t rule = ruleCode > 0 && ruleCode <= 0xFFFF ? (uint16_t)ruleCode : 0;
    uint16_t code = FiscalYearCodeFor(coded.empty() ? nullptr : coded.data(), n, position, rule);
    if (code == 0) return false;
    PutU16(rows + (size_t)i * FiscalYearBlk::Rows::Size, FiscalYearBlk::Rows::OrderCode, code);
    return true;
}


// The code the backward pass proposes for row k, which has none: the last
// row (count x 10 + 40) or its successor's code less 10. Where that code
// would leave no room below it for the rows still without code down to
// the previous coded row, or lies above the highest code, the free
// interval is shared out evenly instead, so that many new years keep
// their date order.
int BackwardYearCode(const uint8_t *rows, uint32_t count, uint32_t k) {
    const bool last = k == count - 1;
    int ideal = last ? (int)count * YearCodeStepUp + YearCodeLastBase : (int)OrderCodeAt(rows, k + 1) - YearCodeStepUp;
    int top = last ? YearCodeMax + 1 : (int)OrderCodeAt(rows, k + 1);
    int low = YearCodeMin - 1, waiting = 0;
    for (uint32_t j = k + 1; j-- > 0;) {
        if (OrderCodeAt(rows, j) != 0) {
            low = OrderCodeAt(rows, j);
            break;
        }
        waiting++;
    }
    if (ideal <= YearCodeMax && ideal - YearCodeStepUp * (waiting - 1) > low) return ideal;
    int step = (top - low) / (waiting + 1);
    return step >= 1 ? top - step : 0;
}

}  // namespace

// Checks block before it is stored, by its number; blocks without a check
// are accepted.
int SettingsBlockCheck(int block, uint8_t *data, uint32_t size) {
    if (size > 0 && !data) return FieldError(Texts::RecordNotStored, nullptr, RecFocusNone);
    switch (block) {
    case VatAccountsBlk::Number:
        return CheckBlock130Codes(data, size);
    case PaymentModeBlk::Number:
        return CheckPaymentModesBlock(data, size);
    case SalesAccountsBlk::Number:
        return size < SalesAccountsBlk::Size ? FieldError(Texts::RecordNotStored, nullptr, RecFocusNone)
                                             : CheckSalesAccountsBlock(data);
    case FiscalYearBlk::Number:
        return CheckFiscalYearsBlock(data, size);
    case PurchAccountsBlk::Number:
        return size < PurchAccountsBlk::Size ? FieldError(Texts::RecordNotStored, nullptr, RecFocusNone)
                                             : CheckVendorAccountsBlock(data);
    case VatCodeBlk::Number:
        return CheckVatCodeAccounts(data, size);
    case FormatBlk::Number:
        return CheckFormatBlock(data, size);
    case BankFileBlk::Number:
        return CheckBankFileBlock(data, size);
    case ValueKindBlk::Number:
        return CheckValueKindBlock(data, size);
    case PeriodsBlk::Number:
        return CheckPeriodsBlock(data, size);
    case CurrencyBlk::Number:
        return CheckCurrencyBlock(data, size);
    case VoucherSeriesBlk::Number:
        return CheckSeriesRows(data, size, false);
    default:
        return IsSeriesBlock(block) ? CheckSeriesBlock(data, size) : 0;
    }
}

void (*CompanyDetailsShownHook)() = nullptr;

// The company block redraws the windows that show it; the format block
// applies its date format.
void SettingsBlockAfterChange(int block, const uint8_t *data, uint32_t size) {
    (void)data;
    (void)size;
    if (block == CompanyBlk::Number && CompanyDetailsShownHook) CompanyDetailsShownHook();
    if (block == FormatBlk::Number) SaveDateFormat();
}

// Block 130: a code given twice is refused at its later row.
int CheckBlock130Codes(const uint8_t *rows, uint32_t size) {
    uint32_t count = size / VatAccountsBlk::Rows::Size;
    for (uint32_t i = 0; i < count; i++) {
        int32_t j = LaterSameCode(rows, VatAccountsBlk::Rows::Size, count, i, VatAccountsBlk::Rows::VatCode, 2);
        if (j >= 0) return RowFault(Texts::CodeTwice, (uint32_t)j, VatAccountsBlk::Rows::VatCode);
    }
    return 0;
}

// Block 131, row by row: a code given again later, then the row's account.
int CheckPaymentModesBlock(const uint8_t *rows, uint32_t size) {
    uint32_t count = size / PaymentModeBlk::Rows::Size;
    uint8_t account[256];
    for (uint32_t i = 0; i < count; i++) {
        int32_t j = LaterSameCode(rows, PaymentModeBlk::Rows::Size, count, i, PaymentModeBlk::Rows::Code, 1);
        if (j >= 0) return RowFault(Texts::CodeTwice, (uint32_t)j, PaymentModeBlk::Rows::Code);
        GetText(rows + (size_t)i * PaymentModeBlk::Rows::Size, PaymentModeBlk::Rows::Account, account);
        if (!AccountExists(account)) return RowFault(Texts::AccountMissing, i, PaymentModeBlk::Rows::Account);
    }
    return 0;
}

// Block 149: year codes present and distinct, each year beginning the day
// after the previous one ends and before it ends itself; then every row
// without an order code gets one. A stored code is never changed.
int CheckFiscalYearsBlock(uint8_t *rows, uint32_t size) {
    namespace F = FiscalYearBlk::Rows;
    uint32_t count = size / F::Size;
    uint8_t code[256], earlier[256];
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t *row = rows + (size_t)i * F::Size;
        GetText(row, F::YearCode, code);
        if (code[0] == 0) return RowFault(Texts::CodeMissing, i, F::YearCode);
        for (uint32_t j = 0; j < i; j++) {
            GetText(rows + (size_t)j * F::Size, F::YearCode, earlier);
            if (PStringEqual(code, earlier)) return RowFault(Texts::CodeTwice, i, F::YearCode);
        }
        DateRec start = GetDate(row, F::StartDate), end = GetDate(row, F::EndDate);
        if (i > 0) {
            DateRec next = DayAfter(GetDate(row - F::Size, F::EndDate));
            if (DateCompare(&start, &next) != 0) return RowFault(Texts::FiscalYearsNotContiguous, i, F::StartDate);
        }
        if (DateCompare(&start, &end) >= 0) return RowFault(Texts::FiscalYearsNotContiguous, i, F::EndDate);
    }
    for (uint32_t i = 1; i < count; i++) {
        if (OrderCodeAt(rows, i) != 0 || OrderCodeAt(rows, i - 1) == 0) continue;
        if (!GiveYearCode(rows, count, i, OrderCodeAt(rows, i - 1) + YearCodeStepUp))
            return RowFault(Texts::NoFreeYearCode, i, F::OrderCode);
    }
    for (uint32_t k = count; k-- > 0;) {
        if (OrderCodeAt(rows, k) != 0) continue;
        if (!GiveYearCode(rows, count, k, BackwardYearCode(rows, count, k)))
            return RowFault(Texts::NoFreeYearCode, k, F::OrderCode);
    }
    return 0;
}

// A number-series block, row by row: both numbers present, the last not
// before the first (such a row gives no number), dates in order when both
// are set, and, when overlaps are refused, neither number inside an
// earlier row's range.
int CheckSeriesRows(const uint8_t *rows, uint32_t size, bool refuseOverlap) {
    namespace S = InvSeriesBlk::Rows;
    uint32_t count = size / SeriesRowSize;
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t *row = rows + (size_t)i * SeriesRowSize;
        uint32_t first = GetU32(row, S::FirstNr), last = GetU32(row, S::LastNr);
        if (first >= 0xFFFFFFFEu) return RowFault(Texts::CodeMissing, i, S::FirstNr);
        if (last >= 0xFFFFFFFEu) return RowFault(Texts::CodeMissing, i, S::LastNr);
        if ((int32_t)last < (int32_t)first) return RowFault(TextSeriesReversed, i, S::LastNr);
        DateRec from = GetDate(row, S::ValidFrom), to = GetDate(row, S::ValidTo);
        if (!DateIsEmpty(&from) && !DateIsEmpty(&to) && DateCompare(&from, &to) > 0)
            return RowFault(Texts::SeriesDatesReversed, i, S::ValidTo);
        for (uint32_t j = 0; refuseOverlap && j < i; j++) {
            const uint8_t *prev = rows + (size_t)j * SeriesRowSize;
            int32_t lo = (int32_t)GetU32(prev, S::FirstNr), hi = (int32_t)GetU32(prev, S::LastNr);
            if ((int32_t)first >= lo && (int32_t)first <= hi) return RowFault(Texts::SeriesOverlap, i, S::FirstNr);
            if ((int32_t)last >= lo && (int32_t)last <= hi) return RowFault(Texts::SeriesOverlap, i, S::LastNr);
        }
    }
    return 0;
}

int CheckSeriesBlock(const uint8_t *rows, uint32_t size) { return CheckSeriesRows(rows, size, true); }
