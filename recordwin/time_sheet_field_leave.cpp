// time_sheet_field_leave.cpp - the field logic of the time-sheet window
// (type 268, register 54): an empty date, person, project or item of a
// row takes the row above's; a project or item typed as a person's or
// employee type's short code becomes the code it stands for; the total
// follows the quantities.
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/projects.h"
#include "rules/rules_types.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

namespace Row = TimeSheetVc::Rows;
constexpr int PersonMax = 5, CodeMax = 20, EmpTypeMax = 5, ShortCodeMax = 5;

// Searches the 90-byte rows of rec (register reg) for the one whose short
// code (at row byte 0) is the cell's text; the cell takes that row's code
// at `codeAt`. False when none has it.
bool ExpandShortCode(int reg, const uint8_t *rec, uint32_t shortAt, uint32_t codeAt, uint8_t *cell)
{
    PString typed, code;
    GetPString(cell, 0, CodeMax, typed);
    if (typed[0] == 0 || typed[0] > ShortCodeMax) return false;
    int32_t count = MatrixRowCount(reg, 0, rec);
    uint8_t row[PEVc::Rows::Size];
    static_assert(PEVc::Rows::Size == EmpTypeVc::Rows::Size);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowGet(reg, 0, rec, i, row)) break;
        GetPString(row, shortAt, ShortCodeMax, code);
        if (!PStringEqual(code, typed)) continue;
        GetPString(row, codeAt, CodeMax, code);
        PutPString(cell, 0, CodeMax, code);
        return true;
    }
    return false;
}

// The project (at 12) or item (at 34) of row r was changed: read the
// row's person and search its rows (project) or its employee type's rows
// (item) for the short code typed.
void CodeCellChanged(uint8_t *r, uint32_t cell)
{
    PString person;
    GetText(r, Row::Person, person);
    RuleRecord p(PEVc::Number);
    if (!p.record || !ProjectReadByCode(p, PEVc::Code, PersonMax, person)) return;
    if (cell == Row::Project) {
        (void)ExpandShortCode(PEVc::Number, p.record, PEVc::Rows::Code, PEVc::Rows::Project, r + cell);
        return;
    }
    PString type;
    GetText(p.record, PEVc::EmpType, type);
    RuleRecord t(EmpTypeVc::Number);
    if (!t.record || !ProjectReadByCode(t, EmpTypeVc::Code, EmpTypeMax, type)) return;
    (void)ExpandShortCode(EmpTypeVc::Number, t.record, EmpTypeVc::Rows::Code, EmpTypeVc::Rows::ItemCode, r + cell);
}

// Copies the cell at `cell` (size bytes) of the row above into r when
// r's is empty; true when it was copied.
bool FromRowAbove(const WinRows &rows, int row, uint8_t *r, uint32_t cell, uint32_t size, bool empty)
{
    const uint8_t *above = rows.At(row - 1);
    if (!empty || !above) return false;
    std::memcpy(r + cell, above + cell, size);
    return true;
}

}  // namespace

// Screen field `field` of a time-sheet window was committed.
void TimeSheetFieldLeave(int window, int field, uint8_t changed)
{
    if (!WinRecordIs(window, TimeSheetVc::Number) || !WinRecordBuffer(window)) return;
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) return;
    WinRows rows(window, Row::Size);
    uint8_t *r = rows.At(at.row);
    if (!r) return;
    switch (at.cell) {
    case Row::RowDate: {
        DateRec date = GetDate(r, Row::RowDate);
        if (FromRowAbove(rows, at.row, r, Row::RowDate, sizeof(DateRec), DateIsEmpty(&date)))
            WinMatrixDrawRow(window, at.row, Row::RowDate, 0);
        return;
    }
    case Row::Person:
        if (FromRowAbove(rows, at.row, r, Row::Person, Row::Project - Row::Person, r[Row::Person] == 0))
            WinMatrixDrawRow(window, at.row, Row::Person, 0);
        return;
    case Row::Project:
    case Row::ItemCode: {
        uint32_t cell = uint32_t(at.cell), size = Row::ItemCode - Row::Project;
        if (FromRowAbove(rows, at.row, r, cell, size, r[cell] == 0)) changed = 1;
        if (changed) CodeCellChanged(r, cell);
        WinMatrixDrawRow(window, at.row, cell, 0);
        return;
    }
    case Row::Quantity:
        if (!changed) return;
        TimeSheetTotal(WinRecordBuffer(window));
        WinRedrawFieldById(window, int(TimeSheetVc::Total));
        WinMarkChanged(window);
        return;
    default: return;
    }
}
