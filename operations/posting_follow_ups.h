// posting_follow_ups.h - what follows once a sales invoice is posted or a
// delivery shipped, the same on every road that does it (its window's
// save, a list's "Post marked" or "Ship marked", a batch routine).
#pragma once

#include <cstdint>

// The stored invoice recid was posted: its customer ledger (unless it is
// there), then the print-out block 170 asks for, when printAllowed.
// false when a store failed.
bool InvoicePostedFollowUps(uint32_t recid, bool printAllowed);
// The stored delivery recid was shipped: the print-out block 170 asks
// for, when printAllowed. false when a store failed.
bool DeliveryShippedFollowUps(uint32_t recid, bool printAllowed);
