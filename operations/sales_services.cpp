// sales_services.cpp - codes and serial quantities of the sales
// operations: the code after a code, the next customer code, and the
// stock of an item's serial number over every location.
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/rules_types.h"

namespace {

// The largest number IncrementCode writes: a 32-bit signed integer.
constexpr uint64_t CodeNumberMax = 0x7FFFFFFF;

// The width of a customer code.
constexpr int CustomerCodeMax = 20;

}  // namespace

// The code after code: the text before its trailing digits, then their
// number plus one without leading zeros (K0099 gives K100, ABC gives ABC1,
// the empty code 1). false, out untouched, when that number would not fit
// 32 bits or the result would not fit a PString.
bool IncrementCode(const uint8_t *code, uint8_t *out) {
    assert(code && out);
    int n = code[0], start = n;
    while (start > 0 && code[start] >= '0' && code[start] <= '9') start--;
    uint64_t number = 0;
    for (int i = start + 1; i <= n; i++) {
        number = number * 10 + (uint64_t)(code[i] - '0');
        if (number > CodeNumberMax) return false;   // the run itself is already too long
    }
    number++;
    if (number > CodeNumberMax) return false;
    char digits[16];
    int written = std::snprintf(digits, sizeof digits, "%llu", (unsigned long long)number);
    if (written <= 0 || start + written > 255) return false;
    uint8_t result[256];
    result[0] = (uint8_t)start;
    std::memcpy(result + 1, code + 1, (size_t)start);
    PStringAppendC(result, digits);
    PStringCopy(out, result);
    return true;
}

// Proposes the code after the last customer code kept in block 132; when a
// customer already has it, the code after the highest customer code (the
// last entry of the customers' index, whatever characters it holds). The
// proposal is kept in block 132 for the next call. false, out empty, when
// no code can be made (block 132 unbound, or the number runs out of range).
bool NextCustomerCode(uint8_t *out) {
    assert(out);
    out[0] = 0;
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    if (!series) return false;
    uint8_t last[256], next[256];
    GetText(series, SeriesDefaultsBlk::LastCustCode, last);
    if (!IncrementCode(last, next)) return false;
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return false;
    PutText(customer.record, CUVc::Code, next);
    if (RecExists(CUVc::Number, customer.record)) {
        uint32_t count = RegRecordCount(CUVc::Number), recid = 0;
        if (count == 0 || !RecReadAt(CUVc::Number, (int32_t)count, customer.record, &recid)) return false;
        GetText(customer.record, CUVc::Code, last);
        if (!IncrementCode(last, next)) return false;
    }
    if (next[0] > CustomerCodeMax) return false;
    PutText(series, SeriesDefaultsBlk::LastCustCode, next);
    PStringCopy(out, next);
    return true;
}

// True when the register-104 quantities of item with serial, summed over
// every location, reach quantity.
bool SerialQtyTotal(const uint8_t *item, const uint8_t *serial, const PackedDecimal *quantity) {
    assert(item && serial && quantity);
    constexpr const char *index = "ItemSerial";   // item, serial, location
    RuleRecord entry(SerialStockVc::Number);
    if (!entry.record) return false;
    PutText(entry.record, SerialStockVc::ItemCode, item);
    PutText(entry.record, SerialStockVc::SerialNr, serial);
    uint8_t wantItem[256], wantSerial[256], gotItem[256], gotSerial[256];
    GetText(entry.record, SerialStockVc::ItemCode, wantItem);
    GetText(entry.record, SerialStockVc::SerialNr, wantSerial);
    uint32_t recid = 0, position = 0;
    PackedDecimal sum;
    DecSetZero(&sum);
    if (RecFindByIndex(SerialStockVc::Number, index, entry.record, 2, 1, &recid, &position)) {
        for (uint32_t p = position;; p++) {
            if (p != position && !RecReadAtIndex(SerialStockVc::Number, index, (int32_t)p, entry.record, &recid))
                break;
            GetText(entry.record, SerialStockVc::ItemCode, gotItem);
            GetText(entry.record, SerialStockVc::SerialNr, gotSerial);
            if (PStringCompareCollate(gotItem, wantItem) != 0 || PStringCompareCollate(gotSerial, wantSerial) != 0) break;
            PackedDecimal q = GetDec(entry.record, SerialStockVc::Quantity);
            if (!DecIsBlank(&q)) DecAdd(&sum, &q, &sum);
        }
    }
    return DecCompare(&sum, quantity) >= 0;
}
