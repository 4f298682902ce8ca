// record_buffer.h - records of registers in memory, and their rows.
//
// A RecordBuffer is one zero-filled MemBlock of the register's record
// size. A register with rows keeps, at RegMatrixOffset(reg), a 32-bit
// matrix slot:
//   0                 no rows yet
//   a MemBlock handle the Matrix: a block of whole rows of the register's
//                     RowLayout row size, rows numbered from 0; its row
//                     count is the block size / row size
//   -1 (all bits)     the register's matrix is dropped
//   -2                a marker set elsewhere; never a handle
// With several row kinds the first u16 of each row is its kind.
//
// Fields are named by their offset in the record, or in the row (and
// the row's kind). Values move in and out with FieldMove, so texts are
// cut to the field's maximum length on the way in.
//
// Row numbers are checked: reads of a row at or beyond the row count
// (or below 0) are refused with false and leave the destination zeroed;
// rows that MatrixRowPut adds below the one it writes are zero. Every
// operation locks the matrix only while it works; the record buffer made
// by RecBufferNew stays locked until RecBufferFree.
#pragma once

#include <cstdint>

#include "core/memblock.h"

constexpr uint32_t MatrixSlotNone = 0;
constexpr uint32_t MatrixSlotDropped = 0xFFFFFFFFu;   // -1
constexpr uint32_t MatrixSlotMarked = 0xFFFFFFFEu;    // -2

// ---- Arrays in memory blocks ----

// Locks h and gives its address (also into *data) and its number of
// whole elements of elementSize bytes (into *count). A null handle gives
// a null address and count 0 and locks nothing. data and count may be
// null. The caller unlocks a non-null handle.
uint8_t *MemArrayLock(MemBlock h, uint32_t elementSize, uint8_t **data, int32_t *count);
uint8_t *MemArrayLockTwin(MemBlock h, uint32_t elementSize, uint8_t **data, int32_t *count);

// Resizes *h to n bytes, allocating it when *h is 0; bytes beyond the
// old size are zero and the block is left unlocked. false when memory
// cannot be had (*h is kept).
bool MemResizeZero(MemBlock *h, uint32_t n);

// When 0 <= i < the row count of h: moves rows i+1.. down by one row and
// shrinks the block by one row, and gives true. Otherwise changes nothing
// and gives false.
bool MemArrayDeleteRow(MemBlock h, int32_t i, uint32_t rowSize);

// ---- Record buffers ----

// Allocates a zero-filled record of register reg into *h (matrix slot 0)
// and returns its address, locked until RecBufferFree. Null (and *h = 0)
// for a register without a record size or when memory cannot be had.
uint8_t *RecBufferNew(int reg, MemBlock *h);
// Frees the record in *h with its matrix and sets *h to 0; 0 is ignored.
void RecBufferFree(int reg, MemBlock *h);
// Frees the record's rows: a marker slot (-1, -2) becomes 0, a handle is
// freed and the slot cleared. Nothing for a register without rows.
void RecFreeMatrix(int reg, uint8_t *record);
// Frees the rows and sets the slot to -1 (dropped), unless it is -1.
void RecMatrixDrop(int reg, uint8_t *record);

// The rows handle in the record's slot: 0 when the register has no rows
// or the slot holds 0 or a marker.
MemBlock RecMatrixHandle(int reg, const uint8_t *record);
// The register's row size (0 when it has no rows or no row layout).
uint32_t RecRowSize(int reg);

// ---- Rows (the second argument of the Matrix* calls that have one is
// not used; it stays for the callers' sake) ----

int32_t MatrixRowCount(int reg, int unused, const uint8_t *record);
// Copies row `row` into dst (row-size bytes). Refused (false, dst zeroed)
// for a row outside 0..count-1 or a register without rows.
bool MatrixRowGet(int reg, int unused, const uint8_t *record, int32_t row, uint8_t *dst);
// The same; nothing at all when dst is null.
bool MatrixRowRead(int reg, const uint8_t *record, int32_t row, uint8_t *dst);
// Copies src into row `row`, first growing the matrix to row + 1 rows
// when it has fewer (allocating it when the slot is 0; the rows added
// are zero; it never shrinks). false when row < 0, the register has no
// rows, its matrix is dropped, or memory cannot be had. src may lie in
// the matrix itself.
bool MatrixRowPut(int reg, int unused, uint8_t *record, int32_t row, const uint8_t *src);
// Tests only: failPutAt makes the MatrixRowPut with that count (1 the
// first after it was set; -1 none) refuse as a put into a dropped matrix
// would, writing nothing, so that the callers' failure paths can be
// driven. putsDone counts the puts while failPutAt is set.
struct MatrixFaultHooks {
    int64_t failPutAt = -1;
    int64_t putsDone = 0;
};
extern MatrixFaultHooks MatrixTestHooks;
// Inserts a row at `row` (0..count): the rows from there move up by one
// and the new row gets src, or zeros when src is null. false (nothing
// changed) when row is outside 0..count or the matrix cannot grow.
bool MatrixRowInsert(int reg, uint8_t *record, int32_t row, const uint8_t *src);
// Deletes row `row`; false (nothing changed) when there is no such row.
bool MatrixRowDelete(int reg, uint8_t *record, int32_t row);

// ---- Field values ----

// Stores value into the record's field at offset with FieldMove (texts
// re-cut to the field's maximum length). false when the register's
// field list has no field at that offset.
bool RecFieldPut(int reg, uint8_t *record, uint32_t offset, const void *value);
// Stores value into, or reads dst out of, the field at offset of row
// `row`. The field is the layout's entry of the row's kind with that
// offset; with several kinds, offset 0 is the kind word itself (a u16).
// false when value or dst is null, the register has no rows, the row is
// outside 0..count-1, or no entry matches. A Get refused for its row
// zeroes dst as wide as the narrowest field at that offset; one refused
// because the row's kind has no such field leaves dst as it was.
bool MatrixFieldPut(int reg, uint8_t *record, int32_t row, uint32_t offset, const void *value);
bool MatrixFieldGet(int reg, const uint8_t *record, int32_t row, uint32_t offset, void *dst);
