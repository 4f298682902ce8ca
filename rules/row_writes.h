// row_writes.h - writes of a record's matrix rows made for the user at a
// window: a refused write is told, and a change of several rows that is
// refused half-way puts back the rows it had already written, so the
// record is left as it was before the change.
#pragma once

#include <cstdint>
#include <vector>

// The rows a change is about to write, as they were before it.
struct RowsKept {
    int reg = 0;
    std::vector<int32_t> rows;
    std::vector<uint8_t> bytes;   // the rows' bytes in the order of rows
    int32_t count = -1;           // the row count kept by RowsKeepAll; -1 none
};

// Keeps row `row` of record as it is now; false when there is no such row.
bool RowsKeep(RowsKept *kept, int reg, const uint8_t *record, int32_t row);
// Keeps every row of record and their count, for a change that may add
// rows or take them away; false when a row could not be read.
bool RowsKeepAll(RowsKept *kept, int reg, const uint8_t *record);
// Puts every kept row back and, after RowsKeepAll, drops the rows added
// since; false when one of them could not be.
bool RowsPutBack(const RowsKept &kept, uint8_t *record);

// Tells the user that rows could not be written and the change was undone.
void TellRowsNotWritten();

// Writes src into row `row` of record; a refused write (which changes
// nothing) is told and gives false.
bool MatrixRowPutTold(int reg, uint8_t *record, int32_t row, const uint8_t *src);
// Moves row `from` to the place `to`, the rows between moving one place
// toward from. A refused write puts every moved row back and is told;
// false then, and false (nothing told) when from or to is no row.
bool MatrixRowMoveTold(int reg, uint8_t *record, int32_t from, int32_t to);
