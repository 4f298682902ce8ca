// settings_code_uses.h - the codes of the settings tables that records
// and settings name (VAT codes, currencies, languages, payment modes,
// asset groups, quotation classes, fiscal years), and the rule that a
// row whose code something names stays in its table.
#pragma once

#include <cstdint>

// A settings table whose rows others name by a code.
struct CodeTable {
    int block;
    uint32_t rowSize;
    uint32_t codeAt;   // the code of a row
    int codeMax;       // its longest text; 0: the code is a 16-bit word
    uint32_t nameAt;   // the code as the user knows it (a text)
    int nameMax;
};

// Where a code of a table is named.
enum class CodeHolder : uint8_t {
    Record,      // a field of a register's records
    RecordRow,   // a field of the rows of a register's records
    Block,       // a field of a settings block of one record
};

// One field that names the codes of a table.
struct CodeUse {
    int table;           // the settings table whose codes it names
    CodeHolder holder;
    int number;          // the register or settings block that holds it
    uint32_t at;         // its offset in the record, the row or the block
    int max;             // its longest text; 0: a 16-bit word
    uint16_t rowKind;    // rows of this kind only; 0: every row
    const char *index;   // an index whose first key part it is; null: none
};

// What the user calls the holder of a use (a PString into out): the
// title of the window that keeps its register or settings block, then
// the record's key when a record is given.
void CodeUseHolderName(const CodeUse &u, const uint8_t *record, uint8_t *out);
// The table of settings block `block`; null when its codes are named by
// nothing.
const CodeTable *CodeTableOf(int block);
// Every field that names a table's codes, one table for all of them.
const CodeUse *CodeUsesBegin();
const CodeUse *CodeUsesEnd();

// The store's rule (every road that stores the block passes it: a
// window's OK after a row was deleted, emptied or its code typed over, an
// import of the table): 0 when
// the rows about to be stored as table `block` (size bytes) keep every
// code of its stored rows that a record or a setting names; else
// FieldError's -1 after telling the user the code and one record or
// setting that names it. Blocks that are no such table pass.
int CheckCodesInUseKept(int block, const uint8_t *rows, uint32_t size);
