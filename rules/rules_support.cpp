// rules_support.cpp - the scope helpers of the business rules: a record of
// a register for one scope, and the rows or record of a settings block
// loaded for reading.
#include <cassert>

#include "core/record_buffer.h"
#include "database/access/settings_blocks.h"
#include "rules/rules_types.h"

// Makes a zero-filled record of register r; record stays null when the
// register has no record size or memory could not be had.
RuleRecord::RuleRecord(int r) : reg(r) { record = RecBufferNew(r, &handle); }

// Frees the record with its rows.
RuleRecord::~RuleRecord() { RecBufferFree(reg, &handle); }

// Loads block into its bound handle variable *var and locks its rows for
// the scope. Only whole rows count: a block whose size is no multiple of
// rowSize loses its partial last row to the reader.
SettingsRows::SettingsRows(int block, MemBlock *var, uint32_t size)
    : handle(0), data(nullptr), count(0), rowSize(size) {
    assert(var && rowSize > 0);
    SettingsBlockLoad(block);
    handle = *var;
    if (!handle || !MemIsValid(handle)) {
        handle = 0;
        return;
    }
    MemArrayLock(handle, rowSize, &data, &count);
    if (!data) {
        // The handle is live, so the lock cannot have failed; keep the scope safe anyway.
        handle = 0;
        count = 0;
    }
}

// Unlocks the rows locked by the constructor.
SettingsRows::~SettingsRows() {
    if (handle) MemUnlock(handle);
}

// Loads block into its bound buffer and gives that buffer; null while the
// block is unbound.
uint8_t *SettingsRecord(int block, uint8_t *bound) {
    if (!bound) return nullptr;
    SettingsBlockLoad(block);
    return bound;
}
