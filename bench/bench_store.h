// bench_store.h - filling a benchmark company directly: a text into a
// record, one record stored without the rules' hooks, the rows of a
// settings table block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
