// row_writes.cpp - matrix row writes that are told when refused and
// undone when refused half-way.
#include "rules/row_writes.h"

#include <cassert>
#include <cstring>

#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "dict_offsets.h"

bool RowsKeep(RowsKept *kept, int reg, const uint8_t *record, int32_t row)
{
    assert(kept && (kept->rows.empty() || kept->reg == reg));
    const uint32_t size = RecRowSize(reg);
    if (size == 0) return false;
    const size_t at = kept->bytes.size();
    kept->bytes.resize(at + size);
    if (!MatrixRowGet(reg, 0, record, row, kept->bytes.data() + at)) {
        kept->bytes.resize(at);
        return false;
    }
    kept->reg = reg;
    kept->rows.push_back(row);
    return true;
}

bool RowsKeepAll(RowsKept *kept, int reg, const uint8_t *record)
{
    assert(kept && kept->rows.empty());
    kept->reg = reg;
    kept->count = MatrixRowCount(reg, 0, record);
    for (int32_t row = 0; row < kept->count; row++)
        if (!RowsKeep(kept, reg, record, row)) return false;
    return true;
}

bool RowsPutBack(const RowsKept &kept, uint8_t *record)
{
    const uint32_t size = RecRowSize(kept.reg);
    bool all = true;
    if (kept.count >= 0)
        for (int32_t row = MatrixRowCount(kept.reg, 0, record) - 1; row >= kept.count; row--)
            all = MatrixRowDelete(kept.reg, record, row) && all;
    // Every row is tried even after one fails: each one back is one less
    // left changed.
    for (size_t i = 0; i < kept.rows.size(); i++)
        all = MatrixRowPut(kept.reg, 0, record, kept.rows[i], kept.bytes.data() + i * size) && all;
    return all;
}

void TellRowsNotWritten() { ShowTextMessage(Texts::RowsNotWritten); }

bool MatrixRowPutTold(int reg, uint8_t *record, int32_t row, const uint8_t *src)
{
    if (MatrixRowPut(reg, 0, record, row, src)) return true;
    TellRowsNotWritten();
    return false;
}

bool MatrixRowMoveTold(int reg, uint8_t *record, int32_t from, int32_t to)
{
    const int32_t count = MatrixRowCount(reg, 0, record);
    if (from < 0 || to < 0 || from >= count || to >= count) return false;
    RowsKept kept;
    const int32_t step = from < to ? 1 : -1;
    for (int32_t i = from;; i += step) {
        if (!RowsKeep(&kept, reg, record, i)) return false;
        if (i == to) break;
    }
    // kept holds from..to in order: row i takes the kept row after it,
    // and `to` takes from's.
    const uint32_t size = RecRowSize(reg);
    const uint8_t *moved = kept.bytes.data();
    for (size_t k = 0; k < kept.rows.size(); k++) {
        const uint8_t *src = k + 1 < kept.rows.size() ? moved + (k + 1) * size : moved;
        if (!MatrixRowPut(reg, 0, record, kept.rows[k], src)) {
            RowsPutBack(kept, record);
            TellRowsNotWritten();
            return false;
        }
    }
    return true;
}
