// stock_report_lines.cpp - the small pieces the item and stock reports
// print with: a value, a record's text field and a serial number placed on
// the current line, and a document read by its serial number.
#include <cassert>
#include <cstdio>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/stock/stock_reports.h"

void StockValueAt(int x, const PackedDecimal *value, int type) {
    assert(value);
    RepAmountAt(x, value, type);
}

void StockFieldAt(int x, const uint8_t *record, RawOffset offset, int width, int align) {
    assert(record);
    RepTextField(x, record, offset, width, 0, align);
}

void StockNumberAt(int x, uint32_t number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", unsigned(number));
    RepCText(x, 0, digits, 0);
}

// Every document the stock reports go back to has its serial number
// (at serialField) as its first index.
bool StockReadBySerial(int reg, uint32_t serialField, uint32_t serial, uint8_t *record) {
    assert(record);
    RecClear(reg, record);
    PutU32(record, serialField, serial);
    return RecFindByFirstKey(reg, record);
}
