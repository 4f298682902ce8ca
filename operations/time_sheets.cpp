// time_sheets.cpp - a time sheet (register 54) checked before it is
// stored and, once marked transferred, carried exactly once into the time
// budgets, the project transactions (register 69) and the project link
// entries (register 70); approve kinds 6 and 46.
//
// The carry-over runs from the before-insert hook, from the before-update
// hook when the flag changes from 0, and from approve kind 6; each runs
// inside the caller's hold, so a failed store leaves nothing carried.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "rules/print_services.h"
#include "rules/projects.h"
#include "rules/series_terms.h"

namespace {

constexpr int ProjectMax = 20, ItemMax = 20, PersonMax = 5;
constexpr int16_t TimeSheetDocType = -29;
constexpr uint16_t LinkTimeSheet = 1, LinkDelivery = 2;

namespace TS = TimeSheetVc;

// The codes of one sheet row.
struct SheetRow {
    uint8_t row[TS::Rows::Size];
    uint8_t person[256], project[256], item[256];
};

// Reads row i of the sheet with its codes; false when there is no such row.
bool ReadSheetRow(const uint8_t *sheet, int32_t i, SheetRow *r) {
    if (!MatrixRowGet(TS::Number, 0, sheet, i, r->row)) return false;
    GetText(r->row, TS::Rows::Person, r->person);
    GetText(r->row, TS::Rows::Project, r->project);
    GetText(r->row, TS::Rows::ItemCode, r->item);
    return true;
}

// A row that names nothing (no person, project or item) is a blank line
// of the window, not a booking: it is neither checked nor carried.
bool BlankRow(const SheetRow &r) { return r.person[0] == 0 && r.project[0] == 0 && r.item[0] == 0; }

// True when one of the rows of rec (rows of reg) carries code at codeAt.
bool RowsHoldCode(int reg, const uint8_t *rec, uint32_t codeAt, int max, const uint8_t *code) {
    int32_t n = MatrixRowCount(reg, 0, rec);
    uint8_t row[256], have[256];
    assert(RecRowSize(reg) <= sizeof row);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(reg, 0, rec, i, row)) break;
        GetPString(row, codeAt, max, have);
        if (PStringEqual(have, code)) return true;
    }
    return false;
}

// The check of one row in the order the user is told: project, closed,
// person, the person's projects, the employee type's items, the item. 0
// when sound, else the text; *column the row column at fault.
int RowFault(const SheetRow &r, uint32_t *column) {
    *column = TS::Rows::Project;
    RuleRecord project(ProjectVc::Number);
    if (!ProjectReadByCode(project, ProjectVc::Code, ProjectMax, r.project)) return Texts::TimeProjectMissing;
    if (GetU16(project.record, ProjectVc::Closed) != 0) return Texts::TimeProjectClosed;
    *column = TS::Rows::Person;
    RuleRecord person(PEVc::Number);
    if (!ProjectReadByCode(person, PEVc::Code, PersonMax, r.person)) return Texts::TimePersonMissing;
    if (GetU16(person.record, PEVc::OnlyListed) != 0 &&
        !RowsHoldCode(PEVc::Number, person.record, PEVc::Rows::Project, ProjectMax, r.project)) {
        *column = TS::Rows::Project;
        return Texts::TimeProjectNotAllowed;
    }
    uint8_t type[256];
    GetText(person.record, PEVc::EmpType, type);
    RuleRecord empType(EmpTypeVc::Number);
    if (ProjectReadByCode(empType, EmpTypeVc::Code, PersonMax, type) &&
        GetU16(empType.record, EmpTypeVc::OnlyListed) != 0 &&
        !RowsHoldCode(EmpTypeVc::Number, empType.record, EmpTypeVc::Rows::ItemCode, ItemMax, r.item)) {
        *column = TS::Rows::ItemCode;
        return Texts::TimeItemNotAllowed;
    }
    *column = TS::Rows::ItemCode;
    RuleRecord item(INVc::Number);
    if (!ProjectReadByCode(item, INVc::Code, ItemMax, r.item)) return Texts::ItemMissing;
    return 0;
}

// The rows that book something, as bytes, in order.
std::vector<uint8_t> BookedRows(const uint8_t *sheet) {
    std::vector<uint8_t> rows;
    int32_t n = MatrixRowCount(TS::Number, 0, sheet);
    SheetRow r;
    for (int32_t i = 0; i < n; i++)
        if (ReadSheetRow(sheet, i, &r) && !BlankRow(r)) rows.insert(rows.end(), r.row, r.row + sizeof r.row);
    return rows;
}

// The number a new sheet's series search starts from: block 132's.
int32_t TimeSheetWanted() {
    const uint8_t *block = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    uint32_t hint = block ? GetU32(block, SeriesDefaultsBlk::TimeSheetHint) : 0;
    return hint == 0 || hint >= SerialAsk ? 0 : (int32_t)hint;
}

// Carries the sheet's rows into their time budgets: a budget found by
// (project, item) takes the row and is rewritten, a missing one is made.
bool RowsToTimeBudgets(const uint8_t *sheet) {
    RuleRecord budget(TimeBudgetVc::Number);
    if (!budget.record) return false;
    int32_t n = MatrixRowCount(TS::Number, 0, sheet);
    SheetRow r;
    for (int32_t i = 0; i < n; i++) {
        if (!ReadSheetRow(sheet, i, &r)) return false;
        if (BlankRow(r)) continue;
        uint32_t recid = 0;
        RecFreeMatrix(TimeBudgetVc::Number, budget.record);
        if (ProjectBudgetFind(TimeBudgetVc::Number, budget.record, r.project, r.item, &recid)) {
            TimeBudgetUpdate(sheet, i, budget.record);
            if (!RecStore(TimeBudgetVc::Number, budget.record, 1, &recid)) return false;
        } else if (!TimeBudgetCreate(sheet, i)) {
            return false;
        }
    }
    return true;
}

// Stores a link entry of project unless its key is stored already.
bool StoreLink(const uint8_t *project, const DateRec &date, uint16_t kind, uint32_t serial) {
    if (project[0] == 0) return true;
    RuleRecord link(ProjLinkVc::Number);
    if (!link.record) return false;
    PutText(link.record, ProjLinkVc::Project, project);
    PutDate(link.record, ProjLinkVc::LinkDate, date);
    PutU16(link.record, ProjLinkVc::Kind, kind);
    PutU32(link.record, ProjLinkVc::SourceNr, serial);
    if (RecExists(ProjLinkVc::Number, link.record)) return true;
    uint32_t recid = 0;
    return RecStore(ProjLinkVc::Number, link.record, 0, &recid);
}

}  // namespace

// The effective date of row index: its own, else the nearest row above
// with a date, else the sheet's registration date.
DateRec TimeSheetRowDate(const uint8_t *sheet, int32_t index) {
    uint8_t row[TS::Rows::Size];
    for (int32_t i = index; i >= 0; i--) {
        if (!MatrixRowGet(TS::Number, 0, sheet, i, row)) continue;
        DateRec d = GetDate(row, TS::Rows::RowDate);
        if (!DateIsEmpty(&d)) return d;
    }
    return GetDate(sheet, TS::RegDate);
}

// The first faulty row of the sheet (see RowFault); true when none is.
bool TimeSheetRowsCheck(const uint8_t *sheet, int32_t *row, uint32_t *column, int *text) {
    assert(sheet && row && column && text);
    int32_t n = MatrixRowCount(TS::Number, 0, sheet);
    SheetRow r;
    for (int32_t i = 0; i < n; i++) {
        if (!ReadSheetRow(sheet, i, &r) || BlankRow(r)) continue;
        int fault = RowFault(r, column);
        if (fault != 0) {
            *row = i;
            *text = fault;
            return false;
        }
    }
    return true;
}

// Numbers a sheet without a number from the series of its date, refuses
// a number stored already (1547) or outside the series (1557) when it is
// new or changed, then checks the rows.
int ValidateTimeSheet(uint8_t *sheet, const uint8_t *stored, int mode) {
    assert(sheet);
    DateRec date = GetDate(sheet, TS::RegDate);
    if (NeedsNumber(GetU32(sheet, TS::SerNr))) {
        int32_t n = NextSerialNumber(TS::Number, &date, TimeSheetWanted(), 0);
        PutU32(sheet, TS::SerNr, n == NoFreeNumber ? SerialNone : (uint32_t)n);
    }
    uint32_t serial = GetU32(sheet, TS::SerNr);
    if (mode == 1 || !stored || GetU32(stored, TS::SerNr) != serial) {
        if (!NeedsNumber(serial) && RecExists(TS::Number, sheet))
            return FieldError(Texts::RecordKeyExists, nullptr, RecFocusNone);
        if (NeedsNumber(serial) || !SerialNumberValid(TS::Number, (int32_t)serial, &date))
            return FieldError(Texts::NumberOutsideSeries, nullptr, RecFocusNone);
    }
    // The rows of a transferred sheet are in the budgets already: a change
    // would leave the budgets telling other hours than the sheet.
    if (mode != 1 && stored && GetU16(stored, TS::Transferred) != 0 && BookedRows(sheet) != BookedRows(stored))
        return FieldError(Texts::TimeSheetRowsKept, nullptr, TS::Matrix);
    int32_t row = 0;
    uint32_t column = 0;
    int text = 0;
    if (!TimeSheetRowsCheck(sheet, &row, &column, &text))
        return FieldErrorAt(text, nullptr, TS::Matrix, (uint16_t)row, (uint16_t)column);
    TimeSheetTotal(sheet);
    return 0;
}

// Carries a transferred sheet over: budgets, list mark, transactions and
// link entries, in that order.
bool TimeSheetTransfer(uint8_t *sheet) {
    assert(sheet);
    if (GetU16(sheet, TS::Transferred) == 0) return true;
    if (!RowsToTimeBudgets(sheet)) return false;
    StatusMarkFromFlag(sheet);
    return TimeSheetProjectTrans(sheet) && ProjectLinkEntries(TS::Number, sheet);
}

// Kind 6: Changed once the sheet was marked and carried over.
ApproveResult ApproveTimeSheet(int reg, uint8_t *sheet, uint32_t recid) {
    (void)reg;
    (void)recid;
    assert(sheet);
    if (GetU16(sheet, TS::Transferred) != 0) return ApproveResult::Unchanged;
    PutU16(sheet, TS::Transferred, 1);
    return TimeSheetTransfer(sheet) ? ApproveResult::Changed : ApproveResult::Failed;
}

// Kind 46: the sheet's form; nothing of the record changes.
ApproveResult PrintTimeSheetForm(int reg, uint8_t *sheet, uint32_t recid) {
    (void)recid;
    assert(sheet);
    PrintDocumentForm(reg, TimeSheetDocType, sheet);
    return ApproveResult::Unchanged;
}

// One transaction per row: person, date, sheet, item and project.
bool TimeSheetProjectTrans(const uint8_t *sheet) {
    assert(sheet);
    RuleRecord trans(ProjTransVc::Number);
    if (!trans.record) return false;
    uint32_t serial = GetU32(sheet, TS::SerNr);
    int32_t n = MatrixRowCount(TS::Number, 0, sheet);
    SheetRow r;
    for (int32_t i = 0; i < n; i++) {
        if (!ReadSheetRow(sheet, i, &r)) return false;
        if (BlankRow(r)) continue;
        RecClear(ProjTransVc::Number, trans.record);
        PutText(trans.record, ProjTransVc::Person, r.person);
        PutDate(trans.record, ProjTransVc::TransDate, TimeSheetRowDate(sheet, i));
        PutU32(trans.record, ProjTransVc::SheetNr, serial);
        PutText(trans.record, ProjTransVc::ItemCode, r.item);
        PutText(trans.record, ProjTransVc::Project, r.project);
        if (RecExists(ProjTransVc::Number, trans.record)) continue;
        uint32_t recid = 0;
        if (!RecStore(ProjTransVc::Number, trans.record, 0, &recid)) return false;
    }
    return true;
}

// The link entries of a time sheet's rows or of a delivery.
bool ProjectLinkEntries(int reg, const uint8_t *record) {
    assert(record);
    if (reg == SHVc::Number) {
        uint8_t project[256];
        GetText(record, SHVc::Project, project);
        return StoreLink(project, GetDate(record, SHVc::ShipDate), LinkDelivery, GetU32(record, SHVc::SerNr));
    }
    if (reg != TS::Number) return true;
    uint32_t serial = GetU32(record, TS::SerNr);
    int32_t n = MatrixRowCount(TS::Number, 0, record);
    SheetRow r;
    for (int32_t i = 0; i < n; i++) {
        if (!ReadSheetRow(record, i, &r)) return false;
        if (!StoreLink(r.project, TimeSheetRowDate(record, i), LinkTimeSheet, serial)) return false;
    }
    return true;
}
