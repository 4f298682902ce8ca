// purchase_prices.h - the unit costs of one purchase (register 4) carried
// into its items: cost prices, sales prices from the markup and the
// price-list prices (purchase_prices_to_items.cpp).
#pragma once

#include <cstdint>

// Runs with params laid out as the job record: the purchase's serial
// number at byte 862, the item-code range at 304 and the item-group range
// at 560 (empty: any), switches at 876 (cost prices), 878 (sales prices,
// company variant 15 only) and 880 (0: price lists recomputed). A missing
// purchase changes nothing. Ends with the run's line of what it set, or
// why nothing (operations/run_outcome.h). False when an item could not be
// stored.
bool PurchasePricesToItems(const uint8_t *params);
// The same, run at the server (request 50) in client mode.
bool PurchasePricesToItemsCall(uint8_t *params);
// Fills the selection of the purchase-prices window from the record of
// the window that opened it: a purchase gives its serial number, a
// purchase source of an item (register PurchItemVc) its item as the item
// range; both switch cost and sales prices on.
void PurchasePricesFill(int openerReg, const uint8_t *opener, uint8_t *params);
