// vat_sums.cpp - sums of amounts per VAT code: a MemBlock of one
// PackedDecimal slot per row of block 208, in the block's order, blank
// until an amount is added. Slot i collects the amounts of row i's code.
//
// Sums belong to the block 208 they were made for: sums whose slot count
// differs from the block's row count (the block changed, or the handle is
// not a sums block) add, total and convert nothing rather than pair slots
// with the wrong codes.
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/settings_row_find.h"
#include "rules/vat_currency.h"

namespace {

constexpr uint32_t SlotSize = sizeof(PackedDecimal);
constexpr int VatCodeMax = 2;

// The slots of a sums block locked for one scope (whole slots only); data
// null and count 0 for a null or stale handle.
struct SumsView {
    MemBlock handle = 0;
    uint8_t *data = nullptr;
    int32_t count = 0;
    explicit SumsView(MemBlock h) {
        if (!h || !MemIsValid(h)) return;
        MemArrayLock(h, SlotSize, &data, &count);
        if (data) handle = h;
        else count = 0;
    }
    ~SumsView() {
        if (handle) MemUnlock(handle);
    }
    SumsView(const SumsView &) = delete;
    SumsView &operator=(const SumsView &) = delete;
    PackedDecimal Get(int32_t i) const { return GetDec(data, (size_t)i * SlotSize); }
    void Put(int32_t i, const PackedDecimal &v) { PutDec(data, (size_t)i * SlotSize, v); }
};

// True when the sums pair slot by slot with the rows of block 208.
bool Matches(const SumsView &sums, const SettingsRows &rows) {
    return sums.data && rows.count > 0 && sums.count == rows.count;
}

}  // namespace

// Makes a sums block with one blank slot per row of block 208 (none for an
// empty block) and gives it locked, its handle in *sums; null and *sums 0
// when memory could not be had. The caller unlocks and frees it.
uint8_t *VatSumsNew(MemBlock *sums) {
    if (!sums) return nullptr;
    *sums = 0;
    int32_t count;
    {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        count = rows.count;
    }
    MemBlock h = MemAlloc((uint32_t)count * SlotSize);
    if (!h) return nullptr;
    uint8_t *data = MemLock(h);
    if (!data) {
        MemFree(&h);
        return nullptr;
    }
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (int32_t i = 0; i < count; i++) PutDec(data, (size_t)i * SlotSize, blank);
    *sums = h;
    return data;
}

namespace {

// The slot of code among the rows of block 208: its row, 0 for an empty
// or unknown code.
int32_t SlotOf(const SettingsRows &rows, const uint8_t *code) {
    const bool askable = code && code[0] <= VatCodeMax;
    int32_t own = askable ? SettingsRowWithCode(rows, VatCodeRow::Code, code) : -1;
    return own < 0 ? 0 : own;
}

}  // namespace

int32_t VatSumsSlotOf(const uint8_t *code) {
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    return SlotOf(rows, code);
}

// Adds a non-blank amount into the slot of code's row (slot 0 for an empty
// or unknown code). A blank amount, an empty block 208 or sums that do not
// match the block add nothing.
void VatSumsAdd(MemBlock sums, const uint8_t *code, const PackedDecimal *amount) {
    if (!amount || DecIsBlank(amount)) return;
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    SumsView view(sums);
    if (!Matches(view, rows)) return;
    int32_t slot = SlotOf(rows, code);
    PackedDecimal sum = view.Get(slot);
    DecAdd(&sum, amount, &sum);
    view.Put(slot, sum);
}

// The total VAT of the sums: each row's VAT (VatAmount of its code and
// slot) rounded to 2 decimals, summed, the sum rounded to 2 decimals.
// extra (may be null) gets the sum of slot x additional percentage / 100,
// not rounded. Both start blank and stay so for an empty block or sums
// that do not match it.
void VatSumsTotal(MemBlock sums, int inclusive, PackedDecimal *vat, PackedDecimal *extra) {
    PackedDecimal total, more;
    DecSetBlank(&total);
    DecSetBlank(&more);
    {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        SumsView view(sums);
        if (Matches(view, rows)) {
            uint8_t code[256];
            for (int32_t i = 0; i < rows.count; i++) {
                const uint8_t *row = rows.data + (size_t)i * VatCodeRow::Size;
                PackedDecimal slot = view.Get(i), v;
                GetText(row, VatCodeRow::Code, code);
                VatAmount(code, &slot, &v, inclusive);
                DecRound(&v, 2, &v);
                DecAdd(&total, &v, &total);
                if (extra) {
                    PackedDecimal pct = GetDec(row, VatCodeRow::AddPct), part;
                    DecMul(&slot, &pct, &part);
                    DecShiftDown2(&part, &part);
                    DecAdd(&more, &part, &more);
                }
            }
            DecRound(&total, 2, &total);
        }
    }
    if (vat) *vat = total;
    if (extra) *extra = more;
}

// Replaces every non-blank slot s by AmountTimesRate(s, rate).
void VatSumsConvert(MemBlock sums, const PackedDecimal *rate) {
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    SumsView view(sums);
    if (!Matches(view, rows)) return;
    for (int32_t i = 0; i < view.count; i++) {
        PackedDecimal s = view.Get(i), r;
        if (DecIsBlank(&s)) continue;
        AmountTimesRate(&s, rate, &r);
        view.Put(i, r);
    }
}

// The number of non-blank slots.
int32_t VatSumsUsedCount(MemBlock sums) {
    SumsView view(sums);
    int32_t used = 0;
    for (int32_t i = 0; i < view.count; i++) {
        PackedDecimal s = view.Get(i);
        if (!DecIsBlank(&s)) used++;
    }
    return used;
}

// The 1-based row number of the n-th non-blank slot; 1 when there are
// fewer than n (or n is below 1).
int32_t VatSumsNthUsed(MemBlock sums, int32_t n) {
    SumsView view(sums);
    int32_t seen = 0;
    for (int32_t i = 0; i < view.count; i++) {
        PackedDecimal s = view.Get(i);
        if (DecIsBlank(&s)) continue;
        if (++seen == n) return i + 1;
    }
    return 1;
}
