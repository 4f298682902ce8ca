// block_sections.cpp - the sections of the text exchange that are laid
// out apart from the field lists: the form definition blocks ("defblock2":
// the block number on a line of its own, then one line a row), the key
// tables ("nyckel1": the block number on the tag line), and the number
// series blocks, which a full export writes in one fixed order.
#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "exchange/balance_sections.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "rules/rules_types.h"

namespace {

// A form definition row: language, a code, the first number of a series,
// the form's name, the printer and the copy pass (64 bytes).
const Column DefRow[] = {
    {InvoiceFormBlk::Rows::LangCode, FtCodeNoSep, 5},
    {InvoiceFormBlk::Rows::Code6, FtCodeNoSep, 5},
    {InvoiceFormBlk::Rows::SeriesStart, FtLongOrEmpty, 0},
    {InvoiceFormBlk::Rows::FormName, FtText, 20},
    {InvoiceFormBlk::Rows::PrinterName, FtCodeNoSep, 20},
    {InvoiceFormBlk::Rows::CopyPass, FtLongOrEmpty, 0},
};
static_assert(InvoiceFormBlk::Rows::Size == 64);

// A key table row: code, name and formula (324 bytes).
const Column KeyRow[] = {
    {KeyFigureBlk::Rows::Code, FtCodeNoSep, 5},
    {KeyFigureBlk::Rows::Name, FtText, 60},
    {KeyFigureBlk::Rows::Formula, FtText, 255},
};
static_assert(KeyFigureBlk::Rows::Size == 324);
static_assert(Report37RowBlk::Rows::Size == 324 && Report41RowBlk::Rows::Formula == KeyFigureBlk::Rows::Formula);

// The number series blocks in the order a full export writes them.
constexpr std::array<uint16_t, 14> SeriesBlocks = {188, 187, 190, 191, 192, 193, 194,
                                                   195, 198, 152, 197, 196, 189, 204};

// A number-series row of the older "tser4" layout: first and last number,
// valid from and to, text (42 bytes).
const Column SeriesRowOld[] = {
    {SeriesRow::FirstNr, FtLongOrEmpty, 0}, {SeriesRow::LastNr, FtLongOrEmpty, 0},
    {SeriesRow::ValidFrom, FtDate, 0},      {SeriesRow::ValidTo, FtDate, 0},
    {SeriesRow::Text, FtText, 20},
};
static_assert(SeriesRow::Size == 42);

// True when block is a table whose rows are rowSize bytes: the only
// blocks a section of that row layout may be stored into.
bool BlockHasRows(int block, uint32_t rowSize)
{
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    return desc && SettingsDescKind(desc) == 0 && SettingsDescSize(desc) == rowSize;
}

// Writes a table block's rows, one line each, after the head the caller
// wrote, and the section's closing empty line. Nothing (not even the head)
// when the block has no rows: head is called only when there are some.
void WriteRowsSection(int block, std::span<const Column> cols, uint32_t rowSize, void (*head)(int block))
{
    if (!BlockHasRows(block, rowSize)) return;
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, block) || !rows) return;
    uint32_t count = MemSize(rows) / rowSize;
    if (count > 0) {
        head(block);
        const uint8_t *bytes = MemLock(rows);
        for (uint32_t r = 0; r < count && !OutputJobState.stopFlag; r++) {
            WriteRowColumns(cols, bytes + size_t(r) * rowSize);
            RepLineFeed();
        }
        MemUnlock(rows);
        RepLineFeed();
    }
    MemFree(&rows);
}

// Reads the rows of a table block, one for each following line that holds
// data, and stores the block whole; then reads the next section's tag.
// Nothing is stored when a row is damaged (the import stops there); a
// refused store fails the step's hold, so the import counts it.
void ReadRowsSection(int block, std::span<const Column> cols, uint32_t rowSize)
{
    assert(BlockHasRows(block, rowSize));
    MemBlock rows = 0;
    std::vector<uint8_t> row(rowSize);
    uint32_t count = 0;
    bool whole = true;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        std::fill(row.begin(), row.end(), 0);
        if (!ReadColumns(cols, row.data(), rowSize)) {
            whole = false;
            break;
        }
        if (!MemResizeZero(&rows, (count + 1) * rowSize)) {
            ImportDamage(1);
            whole = false;
            break;
        }
        std::memcpy(MemLock(rows) + size_t(count) * rowSize, row.data(), rowSize);
        MemUnlock(rows);
        count++;
    }
    uint16_t shown = uint16_t(block);
    ImportShowProgress(&shown, FtShort);
    if (whole && !ImportAbortFlag && SettingsBlockStoreHandle(block, rows) != RecDone) DbHoldFail();
    MemFree(&rows);
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

// Reads a section whose block number stands on the line after its tag:
// the rows of that block when blockFits takes the number, else damage
// (the rows could not be placed).
void ReadNumberedRowsSection(bool (*blockFits)(int block), std::span<const Column> cols, uint32_t rowSize)
{
    uint16_t block = 0;
    ImportSkipLine();
    if (!ImportReadField(&block, FtShort, 0)) return;
    if (!blockFits(block)) {
        ImportDamage(1);
        return;
    }
    ReadRowsSection(block, cols, rowSize);
}

// The head of a "defblock2" section: the tag line, then the block number.
void DefBlockHead(int block)
{
    uint16_t number = uint16_t(block);
    ExportCString("defblock2");
    RepLineFeed();
    ExportValue(&number, FtShort);
    RepLineFeed();
}

// The head of a "nyckel1" section: the tag and the block number on one line.
void KeyBlockHead(int block)
{
    uint16_t number = uint16_t(block);
    ExportCString("nyckel1");
    ExportValue(&number, FtShort);
    RepLineFeed();
}

}  // namespace

// Writes the "defblock2" section of a form definition block: the tag, the
// block number, a line a row, an empty line; nothing for a block without
// rows or one that is not a form definition block.
void WriteDefBlockText(int block)
{
    WriteRowsSection(block, DefRow, InvoiceFormBlk::Rows::Size, DefBlockHead);
}

// Reads a "defblock2" section whose tag the reader has read: the block
// number from the next line, then its rows. A number that names no form
// definition block is damage (the rows could not be placed).
void ReadDefBlockText()
{
    ReadNumberedRowsSection([](int block) { return BlockHasRows(block, InvoiceFormBlk::Rows::Size); }, DefRow,
                            InvoiceFormBlk::Rows::Size);
}

// Writes the number series blocks in their export order, each as its own
// block section; stops when the job stops.
void SerialBlocksExport()
{
    for (uint16_t block : SeriesBlocks) {
        if (OutputJobState.stopFlag) return;
        SettingsBlockExport(block);
    }
}

// Writes the "nyckel1" section of a key table block: the tag with the
// block number, a line a row, an empty line; nothing without rows.
void KeyBlockExport(int block)
{
    WriteRowsSection(block, KeyRow, KeyFigureBlk::Rows::Size, KeyBlockHead);
}

// Reads a "nyckel1" section whose tag the reader has read: the block
// number from the rest of the tag line (below 1: the key figures, 150),
// then its rows. A number that names no key table is damage.
void KeyBlockImport()
{
    uint16_t block = 0;
    if (!ImportReadField(&block, FtShort, 0)) return;
    if (int16_t(block) < 1) block = KeyFigureBlk::Number;
    if (!BlockHasRows(block, KeyFigureBlk::Rows::Size)) {
        ImportDamage(ImportColumnNumber());
        return;
    }
    ReadRowsSection(block, KeyRow, KeyFigureBlk::Rows::Size);
}

// Reads a "tser4" section whose tag the reader has read: the rest of the
// tag line skipped, the block number on the next line, then one range a
// line; the block's rows are replaced by them. A number that names no
// number-series block is damage.
void SerialBlockImport()
{
    ReadNumberedRowsSection(
        [](int block) {
            return std::find(SeriesBlocks.begin(), SeriesBlocks.end(), block) != SeriesBlocks.end() &&
                   BlockHasRows(block, SeriesRow::Size);
        },
        SeriesRowOld, SeriesRow::Size);
}
