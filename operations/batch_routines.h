// batch_routines.h - the batch routines by number (batch_routines.cpp).
// Each reads its selection from ReportParams; false when a store failed.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// Runs the routine of ReportParams word 3; an unknown number does nothing.
bool RunMaintenance();
// 8: approves the unposted sales invoices of the serial range (byte 48).
bool InvoiceRangeApprove();
// 10: re-posts the documents of register word 437 in the serial range.
bool RecordRangeRevalidate();
// 11: item cost prices from their FIFO stock value per unit.
bool ItemCostFromFifo();
// The FIFO value per unit in stock of item `code` at `location` (empty:
// all), rounded to 2 decimals; false when there is no stock above zero.
bool ItemFifoUnitCost(const uint8_t *code, const uint8_t *location, bool currentRate, PackedDecimal *cost);
