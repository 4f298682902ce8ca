// field_columns.cpp - the column engine of the text exchange: a record (or
// a settings block's record or row) written and read by its field list,
// header columns first, then one line per row of its matrix.
#include <cassert>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/person_password.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"

namespace {

// Rows one record may bring; more is damage (a record the engine could not
// store whole).
constexpr int32_t MaxImportRows = 65535;

// The bytes a column's field covers.
uint32_t ColumnWidth(const Column &c)
{
    return uint32_t(FieldSize(c.type, c.len));
}

// The row size of a list for a register: its own, or the dictionary's.
uint32_t ListRowSize(int reg, const FieldList &l)
{
    return l.rowSize == RowSizeOfRegister ? RecRowSize(reg) : l.rowSize;
}

// The size of a register's record, or of a settings block's record or row
// (0 when the interface file does not describe it).
uint32_t RecordSizeOf(bool block, int number)
{
    if (!block) return RegRecordSize(number);
    const uint8_t *desc = SettingsBlockDesc(number, nullptr);
    return desc ? SettingsDescSize(desc) : 0;
}

// True when a settings block is a table of rows, each its own line.
bool BlockIsTable(int block)
{
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    return desc && SettingsDescKind(desc) == 0;
}

// A person's password column: the verifier's text, never a password. A
// record without a verifier, and an export for a user who may not have
// verifiers (ExportWritesVerifiers), write an empty field.
void WritePasswordColumn(const uint8_t *person)
{
    PString text;
    text[0] = 0;
    PasswordVerifier v;
    if (ExportWritesVerifiers() && PersonVerifierGet(person, &v)) PStringFromC(text, VerifierToText(v).c_str());
    ExportText(text);
}

// Reads a person's password column: a verifier's text is kept as the
// verifier; any other text is a password, which the record's store turns
// into a verifier. False when the field is damaged.
bool ReadPasswordColumn(uint8_t *person, uint16_t len)
{
    PString text;
    if (!ImportReadField(text, FtText, 255)) return false;
    PasswordVerifier v;
    if (VerifierFromText(std::string_view(reinterpret_cast<const char *>(text + 1), text[0]), &v)) {
        PersonPasswordRedact(person);
        PersonVerifierPut(person, v);
        return true;
    }
    if (text[0] > len) text[0] = uint8_t(len);
    std::memset(person + PEVc::PassVerifier, 0, VerifierBytes);   // the password replaces any verifier
    PutTextPrefix(person, PEVc::Password, len, text);
    return true;
}

}  // namespace

// Writes the columns of a list from base: a field by its type, an empty
// field, or a line end; the reader-only kinds write nothing.
void WriteColumns(std::span<const Column> cols, const uint8_t *base)
{
    static const uint8_t empty[1] = {0};
    for (const Column &c : cols) {
        switch (c.kind) {
        case Col::Field: ExportValue(base + c.pos, c.type); break;
        case Col::Verifier: WritePasswordColumn(base); break;
        case Col::Empty: ExportText(empty); break;
        case Col::NewLine: RepLineFeed(); break;
        case Col::ReadOnly:
        case Col::IfData:
        case Col::Clear: break;
        }
    }
}

// True when every column of a list writes an empty field from base (a
// field by its text form, as the text-file device writes it).
bool ColumnsWriteEmpty(std::span<const Column> cols, const uint8_t *base)
{
    PString text;
    for (const Column &c : cols) {
        if (c.kind != Col::Field) continue;
        FieldToText(base + c.pos, c.type, text);
        if (text[0] != 0) return false;
    }
    return true;
}

// Writes one row line's columns. A row whose columns are all empty gets
// EmptyRowMark in one more column: a line of TABs alone would read as the
// end of the rows, and the reader drops the columns after a row's own.
void WriteRowColumns(std::span<const Column> cols, const uint8_t *base)
{
    WriteColumns(cols, base);
    if (ColumnsWriteEmpty(cols, base)) ExportCString(EmptyRowMark);
}

// Reads the columns of a list into base (size bytes). An IfData column
// whose next line holds no data ends the reading of the list there (only
// its Clear columns still apply): the optional lines stand at the end of
// their section. False when a field is damaged.
bool ReadColumns(std::span<const Column> cols, uint8_t *base, uint32_t size)
{
    bool skipping = false;
    for (const Column &c : cols) {
        bool placed = c.kind == Col::NewLine || c.kind == Col::IfData || c.kind == Col::Empty ||
                      uint32_t(c.pos) + ColumnWidth(c) <= size;
        if (!ImportListFits(placed)) return false;
        if (skipping && c.kind != Col::Clear) continue;
        switch (c.kind) {
        case Col::Field:
        case Col::ReadOnly:
            if (!ImportReadField(base + c.pos, c.type, c.len)) return false;
            break;
        case Col::Empty:
            if (!ImportReadField(nullptr, c.type, c.len)) return false;
            break;
        case Col::Verifier:
            if (!ReadPasswordColumn(base, c.len)) return false;
            break;
        case Col::NewLine: ImportSkipLine(); break;
        case Col::IfData: skipping = !ImportNextLineHasData(); break;
        case Col::Clear: FieldClear(base + c.pos, c.type, c.len); break;
        }
    }
    return true;
}

// Writes a record by a list: its header columns; with rows, a line end
// and then each row's columns and a line end. The record's closing line
// end is the caller's.
void WriteListRecord(int number, const FieldList &l, const uint8_t *record)
{
    if (l.block && BlockIsTable(number)) {
        WriteRowColumns(l.header, record);   // a table block's row
        return;
    }
    WriteColumns(l.header, record);
    if (l.rowSize == 0) return;
    assert(!l.block);
    RepLineFeed();
    uint32_t size = ListRowSize(number, l);
    std::vector<uint8_t> row(size);
    int32_t count = MatrixRowCount(number, 0, record);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(number, 0, record, r, row.data())) break;
        WriteRowColumns(l.rows, row.data());
        RepLineFeed();
    }
}

// Reads a record by a list into a cleared record: the header columns;
// with rows, one row for each following line that holds data, read in
// full into a zeroed scratch row and put at the matrix's end. False when
// damaged: a field, or more rows than one record can hold.
bool ReadListRecord(int number, const FieldList &l, int version, uint8_t *record)
{
    uint32_t size = RecordSizeOf(l.block, number);
    if (!ReadColumns(l.header, record, size)) return false;
    if (l.rowSize == 0) return true;
    uint32_t rowSize = l.block ? 0 : ListRowSize(number, l);
    if (!ImportListFits(rowSize > 0 && rowSize <= RecRowSize(number))) return false;
    std::vector<uint8_t> row(RecRowSize(number));
    for (int32_t count = 0; ImportNextLineHasData(); count++) {
        std::fill(row.begin(), row.end(), 0);
        if (!ReadColumns(l.rows, row.data(), rowSize)) return false;
        if (count >= MaxImportRows || !MatrixRowPut(number, 0, record, count, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    return true;
}
