// formula_reports.cpp - the formula-row reports: 19 (key figures, block
// 150, a code range of rows), 33 (block 156, every row) and 37 to 41
// (blocks 164 to 168, every row). Each row's formula runs in the report
// language; its result goes into the results table, where later rows'
// formulas read it, and onto one line with the row's code and text.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/formula/formula.h"
#include "output/layer_operations.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"

namespace {

namespace K = KeyFigureBlk::Rows;
namespace P = ReportParamsVc;
constexpr int LineHeight = 15, ColCode = 0, ColResult = 1, ColText = 2;
// Told by a formula report whose settings block holds no rows.
constexpr int TextReportNoRows = 3169;

// Runs row i's formula, keeps its result and prints the row.
void EvaluateRow(const uint8_t *row, int32_t i) {
    PString text, code, name;
    GetText(row, K::Formula, text);
    CompileScript(text);
    PackedDecimal value;
    if (!FieldFromText(reinterpret_cast<uint8_t *>(&value), FtAmount2, 0, text)) DecSetBlank(&value);
    FormulaResultPut(i, &value);
    GetText(row, K::Code, code);
    GetText(row, K::Name, name);
    RepStartLine(LineHeight);
    RepTextEx(ColCode, -1, 0, 0, 0, code);
    RepTextEx(ColText, -1, 0, 0, 0, name);
    RepTextEx(ColResult, -1, 0, -1, 0, text);
    RepEndLine();
}

// Whether row's code is code (exactly).
bool CodeIs(const uint8_t *row, const uint8_t *code) {
    PString own;
    GetText(row, K::Code, own);
    return PStringEqual(own, code);
}

// Prints the rows of block under title: from the row coded `from` (the
// first row when empty) through the row coded `to` (to the last when
// empty or when no row has it); rows outside keep a blank result.
void FormulaRows(int block, const uint8_t *title, const uint8_t *from, const uint8_t *to) {
    RepBeginJob(title);
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, block);
    const int32_t count = rows ? int32_t(MemSize(rows) / K::Size) : 0;
    const uint8_t *bytes = count > 0 ? MemLock(rows) : nullptr;
    if (bytes && FormulaRunBegin(bytes, count)) {
        bool inside = from[0] == 0;
        for (int32_t i = 0; i < count && !CancelFlag; i++) {
            const uint8_t *row = bytes + size_t(i) * K::Size;
            inside = inside || CodeIs(row, from);
            if (!inside) continue;
            EvaluateRow(row, i);
            if (to[0] != 0 && CodeIs(row, to)) break;
            if (ReportCancelled()) break;
        }
        FormulaRunEnd();
    }
    if (count == 0 && !CancelFlag) {
        PString line;
        NoRowsLine(TextReportNoRows, WindowKindSettingsRows, block, line);
        RepStartLine(LineHeight);
        RepTextEx(ColCode, -1, 0, 0, 0, line);
        RepEndLine();
    }
    if (bytes) MemUnlock(rows);
    MemFree(&rows);
}

}  // namespace

void FormulaReport19(ReportJob &job) {
    assert(job.selection);
    if (CancelFlag) return;
    PString range, from, to, title;
    GetText(job.selection, P::SelText1, range);
    RangeSplitToFields(range, job.selection + P::SelText5, job.selection + P::SelText6, 20);
    GetTextPrefix(job.selection, P::SelText5, 20, from);
    GetTextPrefix(job.selection, P::SelText6, 20, to);
    GetUiText(title, Texts::KeyFigureReportTitle);
    FormulaRows(KeyFigureBlk::Number, title, from, to);
    RepEndJob();
}

void FormulaReport33(ReportJob &job) {
    assert(job.selection);
    if (CancelFlag) return;
    PString title, all = {0};
    GetUiText(title, 3421);
    FormulaRows(VatReportRowBlk::Number, title, all, all);
    if (GetU16(job.selection, P::Option5) != 0 && !CancelFlag) VoucherNumberRanges(job.selection);
    RepEndJob();
}

void FormulaReport37(ReportJob &job) {
    assert(job.selection);
    if (CancelFlag) return;
    const int report = int16_t(GetU16(job.selection, P::ReportNumber));
    if (report < 37 || report > 41) return;
    PString title, all = {0};
    GetText(job.selection, P::SelText1, title);
    if (title[0] == 0) RepWindowText(report, title);
    if (title[0] == 0) GetUiText(title, Texts::FormulaReportTitle);
    FormulaRows(Report37RowBlk::Number + (report - 37), title, all, all);
    RepEndJob();
}
