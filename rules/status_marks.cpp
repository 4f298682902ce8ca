// status_marks.cpp - the list marks of productions and stock movements,
// kept from their done flags.
#include <cassert>

#include "core/field_access.h"
#include "rules/documents.h"

namespace {

constexpr uint16_t MarkDone = 18;

// Sets the mark word from the done flag: 0 for 0, 18 for 1; any other
// flag value leaves the mark as it is.
void MarkFromFlag(uint8_t *record, uint32_t flagAt, uint32_t markAt) {
    uint16_t flag = GetU16(record, flagAt);
    if (flag == 0) PutU16(record, markAt, 0);
    else if (flag == 1) PutU16(record, markAt, MarkDone);
}

}  // namespace

// The production's list mark from its finished flag.
void StatusMarkProduction(uint8_t *production) {
    assert(production);
    MarkFromFlag(production, ProductionVc::Finished, ProductionVc::Mark);
}

// The stock movement's list mark from its done flag.
void StatusMarkStockMovement(uint8_t *move) {
    assert(move);
    MarkFromFlag(move, StockMoveVc::Done, StockMoveVc::Mark);
}
