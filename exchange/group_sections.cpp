// group_sections.cpp - the statement-row registers' section "kgrupp2"
// (registers 25, 26 and 34 to 43, one layout). Each line starts with the
// number of the register it belongs to; the reader takes only the
// numbers of that family, so that a stray line cannot empty another
// register.
#include <cassert>
#include <cstdint>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"

namespace {

// The columns after the register number, the same for every register of
// the family (their layouts are one).
const Column GroupColumns[] = {
    {SR21Vc::RowKind, FtShort, 0},
    {SR21Vc::RowNr, FtLongOrEmpty, 0},
    {SR21Vc::Formula, FtText, 60},
    {SR21Vc::Label, FtText, 60},
    {SR21Vc::SignClass, FtShort, 0},
};
static_assert(SR22Vc::RowKind == SR21Vc::RowKind && SR51Vc::SignClass == SR21Vc::SignClass &&
              SR42Vc::Label == SR21Vc::Label && SR51Vc::Size == SR21Vc::Size);

// The register a line's selector names: 0 and 1 are the old names of 25
// and 26; the family's own numbers stand for themselves. 0 for any other.
int GroupRegisterOf(int16_t selector)
{
    if (selector == 0) return SR21Vc::Number;
    if (selector == 1) return SR22Vc::Number;
    if (selector == SR21Vc::Number || selector == SR22Vc::Number) return selector;
    if (selector >= SR42Vc::Number && selector <= SR51Vc::Number) return selector;
    return 0;
}

// Reads the next section's tag after the section's last line; from
// within a line (a refused one), passes over the rest of the section
// first.
void GroupSectionEnd(bool withinLine)
{
    while (withinLine && !ImportAbortFlag && ImportNextLineHasData()) {
    }
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

}  // namespace

// Writes one record of a statement-row register: the register number,
// then the row kind, number, formula, label and sign class. The line end
// is the caller's.
void WriteGroupText(int reg, const uint8_t *record)
{
    assert(record && GroupRegisterOf(int16_t(reg)) == reg);
    uint16_t number = uint16_t(reg);
    ExportValue(&number, FtShort);
    WriteColumns(GroupColumns, record);
}

// Reads a "kgrupp2" section whose tag the reader has read, a record a
// line, each stored by key into the register its first column names (a
// row number 0 stores nothing). Unless the file began with a full
// export's header, the register the first line names is emptied first.
// A selector outside the family skips the rest of the section and is
// kept for the import's result; a refused delete or store fails the
// step's hold.
void GroupImport()
{
    std::vector<uint8_t> record(SR21Vc::Size);
    bool first = true;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        uint16_t selector = 0;
        if (!ImportReadField(&selector, FtShort, 0)) return;
        int reg = GroupRegisterOf(int16_t(selector));
        if (reg == 0) {
            ImportResult.badGroupSelector = selector;
            GroupSectionEnd(true);
            return;
        }
        if (first && !ImportResult.seenHeader && !RegDeleteAll(reg)) {
            DbHoldFail();
            GroupSectionEnd(true);
            return;
        }
        first = false;
        std::fill(record.begin(), record.end(), 0);
        if (!ReadColumns(GroupColumns, record.data(), uint32_t(record.size()))) return;
        ImportShowProgress(record.data() + SR21Vc::RowNr, FtLong);
        if (GetI32(record.data(), SR21Vc::RowNr) == 0) continue;
        uint32_t recid = 0;
        if (!RecStoreByKey(reg, record.data(), 1, &recid)) DbHoldFail();
    }
    GroupSectionEnd(false);
}
