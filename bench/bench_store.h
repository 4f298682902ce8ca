// bench_store.h - filling a benchmark company directly: a text or a
// whole number into a record, one record stored without the rules' hooks,
// the rows of a settings table block, a number series.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "rules/rules_types.h"

// Puts text into a PString field of at most max characters.
inline void BenchPutText(uint8_t *base, uint32_t offset, int max, const std::string &text)
{
    uint8_t p[256];
    PStringFromC(p, text.c_str());
    PutPString(base, offset, max, p);
}

// A whole number as a packed decimal.
inline PackedDecimal BenchNum(int v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// Stores one record of reg filled by fill, by its key and without hooks;
// false when it failed.
template <typename Fill> bool BenchStorePlain(int reg, Fill fill)
{
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStoreByKey(reg, r.record, 1, &recid);
}

// Stores the rows of a settings table block.
inline bool BenchStoreRows(int block, const std::vector<uint8_t> &rows)
{
    return SettingsBlockStore(block, rows.data(), (uint32_t)rows.size()) == RecDone;
}

// Stores a number series of 1..last as the one row of series block `block`.
inline bool BenchSeries(int block, uint32_t last)
{
    std::vector<uint8_t> row(SeriesRow::Size, 0);
    PutU32(row.data(), SeriesRow::FirstNr, 1);
    PutU32(row.data(), SeriesRow::LastNr, last);
    return SettingsBlockStore(block, row.data(), SeriesRow::Size) == RecDone;
}
