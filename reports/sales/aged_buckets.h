// aged_buckets.h - the four ageing buckets of the customer and vendor
// ledgers: not yet due, and overdue up to the first limit, up to the
// second, and beyond (the two day limits of settings block 219).
#pragma once

#include <cstdint>

#include "core/decimal.h"

// The limit a stored -1 (not set) stands for.
constexpr int32_t AgedDefaultLimit1 = 15, AgedDefaultLimit2 = 30;

// The two day limits of block 219, loaded first; a limit not set (-1,
// or 0 or below as in a block never stored) is 15 for the first and 30
// for the second.
void AgedLimits(int32_t *limit1, int32_t *limit2);

// Adds amount into exactly one of the four buckets by days (due date
// less the reference date, negative when overdue): 0 when not yet due,
// 1 when overdue by at most the first limit, 2 by at most the second, 3
// beyond both. With the second limit not above the first, bucket 2 takes
// nothing and everything beyond the first limit goes to bucket 3.
void AgedBucketAdd(int32_t days, const PackedDecimal *amount, PackedDecimal *bucket0, PackedDecimal *bucket1,
                   PackedDecimal *bucket2, PackedDecimal *bucket3);
// The same with the limits given (no block read).
void AgedBucketAddWith(int32_t limit1, int32_t limit2, int32_t days, const PackedDecimal *amount,
                       PackedDecimal *buckets[4]);
