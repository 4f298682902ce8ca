// section_table.h - the tags of the text exchange's sections, the order in
// which a full export writes them, the import's dispatch table, and the
// classes in which the database rescue treats registers and blocks.
#pragma once

#include <cstdint>
#include <span>

// Which reader an import tag runs.
enum class TagReader : uint8_t {
    Register,     // records of a register in a layout version
    Block,        // a settings block
    Format,       // the format line
    Header,       // "tb": a full export's header
    SeqNr,        // the sequence number of the next record
    DefBlock,     // a form definition block ("defblock2")
    YearCode,     // the fiscal years
    KeyBlock,     // a key table block ("nyckel1")
    Group,        // the customer and supplier groups ("kgrupp2")
    Vouchers,     // "trans3"
    OldVouchers,  // "transfix"
    Bfo,          // "BFO"
    OldCompany,   // "företag2" and "företag3" (the number says which)
    NetSettings,  // "setuptcp": the network settings
    Balances,     // opening balances, budgets, results, older series (the number says which)
    OkInvoices,   // "okfakt": invoices with the customers, items and users they name
    OldCompany1,  // "företag1": the company in one line
    OldSeries,    // "serier1": the series hints one a line
    NoticeTexts,  // "påmtext1": the reminder texts by number
    NoticeStats,  // "påmstat": the reminder count and date of invoices
    SkipWhole,    // read by no version: skipped to its closing empty line
    OldMasters,   // an older person, price or series section; the number is its OldMasterSection
};

// One row of the import's dispatch table. The tag is in cp1252 bytes.
struct ImportTag {
    const char *tag;
    TagReader reader;
    uint16_t number;     // register or block, 0 for the other readers
    uint8_t version;     // the register's layout version
    uint8_t replace;     // 1: existing records are replaced
};
// The dispatch table, in the order the import compares the tags.
extern const std::span<const ImportTag> ImportTags;

// The section tag (PString) of a register or a settings block; empty when
// it has none.
void RegisterTextTag(int reg, uint8_t *tag);
void BlockTextTag(int block, uint8_t *tag);

// One step of the full export: settings blocks, registers, form definition
// blocks or key tables first..last; the series blocks as one step.
enum class ExportStepKind : uint8_t { Block, Register, DefBlock, KeyBlock, SerialBlocks };
struct ExportStep {
    ExportStepKind kind;
    uint16_t first, last;
};
// The full export's order.
extern const std::span<const ExportStep> FullExportOrder;

// The class of the rescue's pass in which a register or a block is
// handed over: customers and accounts first, settings last but one.
int RescueRegisterClass(int reg);
int RescueBlockClass(int block);
