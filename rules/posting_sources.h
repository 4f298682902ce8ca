// posting_sources.h - the records that post to an account (vouchers, sm1,
// sp1 and fb1) as the walks over register 18 meet them: where each keeps
// its date and serial number, and the sum of its rows on an account.
#pragma once

#include <cstdint>

#include "rules/rules_types.h"

// Where the source of a posting keeps what the posting is checked against.
struct PostingSource {
    int reg;
    uint32_t date, serNr;
};

// The source of reg; null for a register that posts nothing to accounts.
const PostingSource *PostingSourceOf(int reg);

// Adds to *sum the amounts of the source's rows on account (a PString as
// register 18's key holds it) whose object list holds every code of
// wanted: a voucher's account rows with flag 0, every account row of an
// sm1 or sp1, and every row on account of an fb1 whose own object list is
// objects itself (the list wanted was parsed from). An fb1 is posted to
// the balances on its own object list only, not on its subsets, and the
// callers join or continue these sums with the balances, so both must
// count it alike. false, with *sum as it was, when a row of the source
// could not be read: a source adds all its rows or none.
bool AddPostingSourceRows(int reg, const uint8_t *source, const uint8_t *account, const uint8_t *objects,
                          const ObjectSlots *wanted, PackedDecimal *sum);
