// aged_buckets.cpp - which ageing bucket an amount falls in by its days
// overdue and the two limits of settings block 219.
#include "reports/sales/aged_buckets.h"

#include <cassert>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "rules/rules_types.h"

void AgedLimits(int32_t *limit1, int32_t *limit2) {
    assert(limit1 && limit2);
    *limit1 = *limit2 = -1;
    if (const uint8_t *block = SettingsRecord(AgedBlk::Number, Block219)) {
        *limit1 = (int32_t)GetU32(block, AgedBlk::Limit1);
        *limit2 = (int32_t)GetU32(block, AgedBlk::Limit2);
    }
    // -1 is stored for "not set"; a block never stored reads as zeros,
    // and a limit of 0 days would put every overdue amount past both.
    if (*limit1 <= 0) *limit1 = AgedDefaultLimit1;
    if (*limit2 <= 0) *limit2 = AgedDefaultLimit2;
}

// One bucket only, so the four sums always add up to what was added:
// the tests run from the newest bucket to the oldest and stop at the
// first that holds.
void AgedBucketAddWith(int32_t limit1, int32_t limit2, int32_t days, const PackedDecimal *amount,
                       PackedDecimal *buckets[4]) {
    assert(amount && buckets);
    int which = 3;
    if (days >= 0) which = 0;
    else if ((int64_t)days >= -(int64_t)limit1) which = 1;
    else if ((int64_t)days >= -(int64_t)limit2) which = 2;
    PackedDecimal *b = buckets[which];
    if (DecIsBlank(b)) DecSetZero(b);
    if (!DecIsBlank(amount)) DecAdd(b, amount, b);
}

void AgedBucketAdd(int32_t days, const PackedDecimal *amount, PackedDecimal *bucket0, PackedDecimal *bucket1,
                   PackedDecimal *bucket2, PackedDecimal *bucket3) {
    int32_t limit1 = 0, limit2 = 0;
    AgedLimits(&limit1, &limit2);
    PackedDecimal *buckets[4] = {bucket0, bucket1, bucket2, bucket3};
    AgedBucketAddWith(limit1, limit2, days, amount, buckets);
}
