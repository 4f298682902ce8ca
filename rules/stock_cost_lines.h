// stock_cost_lines.h - the report lines the stock cost calculations write
// when a report asks them to show their workings.
//
// The FIFO walk and the component scan are rules: postings and batch
// routines use them without a report. A report that wants one line per
// receipt row taken or per component installs these writers at start-up;
// until it does, asking for the lines tells the user that they are not
// available and the calculation still gives its result.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"

struct StockCostLinesRec {
    // One receipt row the FIFO walk took: the document's register and
    // serial number, its date, the units taken, their unit cost and value.
    void (*fifoRow)(uint16_t reg, uint32_t serial, const DateRec &date, const PackedDecimal *qty,
                    const PackedDecimal *unit, const PackedDecimal *value);
    // One component of an item structure: its code, what is available and
    // reserved, and the two quantities the item needs of it per unit.
    void (*component)(const uint8_t *code, const PackedDecimal *available, const PackedDecimal *reserved,
                      const PackedDecimal *needed, const PackedDecimal *neededSecond);
};
extern StockCostLinesRec StockCostLines;

// True when lines were asked for and a writer is installed; asked for
// without one, the user is told once for the calculation and false.
bool StockCostLinesReady(bool asked, bool installed);
