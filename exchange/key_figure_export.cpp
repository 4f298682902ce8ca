// key_figure_export.cpp - export kind 12: the key-figure rows of block 150
// evaluated by the formula language and written as lines of TAB-separated
// fields, and the results table the rows' formulas read while it runs.
//
// Selection: the first range text is the code range of the rows (from the
// row coded as its first code through the row coded as its last, in block
// order); Option1 set writes each row's code and name; Option2 set writes
// one value per month of the selection's dates (an empty field first),
// else one value over the whole selection. The table has a row for every
// row of the block and a column for every month evaluated, so no selection
// reaches outside it.
#include "exchange/balance_sections.h"

#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/formula/formula.h"
#include "output/output_job.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"

namespace {

namespace K = KeyFigureBlk::Rows;

// The results of the run: rows by the block's rows, columns by months.
struct ResultsTable {
    int32_t rows = 0, columns = 0;
    std::vector<PackedDecimal> cells;
    const uint8_t *blockRows = nullptr;   // the block's rows, for lookups by code
    int32_t column = 0;                   // the column being evaluated
};
ResultsTable *Current = nullptr;

// Makes the table current for its lifetime; the last one is put back.
struct CurrentTable {
    ResultsTable table;
    ResultsTable *previous;
    CurrentTable(int32_t rows, int32_t columns, const uint8_t *blockRows) : previous(Current)
    {
        table.rows = rows;
        table.columns = columns;
        table.blockRows = blockRows;
        table.cells.resize(size_t(rows) * size_t(columns));
        for (PackedDecimal &c : table.cells) DecSetBlank(&c);
        Current = &table;
    }
    ~CurrentTable() { Current = previous; }
    CurrentTable(const CurrentTable &) = delete;
    CurrentTable &operator=(const CurrentTable &) = delete;
};

// The selection's dates and months, put back when the run ends.
struct SavedPeriod {
    ReportJob &job;
    DateRec from, to;
    uint16_t monthFrom, monthTo;
    explicit SavedPeriod(ReportJob &running)
        : job(running), from(GetDate(running.selection, ReportParamsVc::DateFrom)),
          to(GetDate(running.selection, ReportParamsVc::DateTo)),
          monthFrom(GetU16(running.selection, ReportParamsVc::MonthFrom)),
          monthTo(GetU16(running.selection, ReportParamsVc::MonthTo))
    {
    }
    ~SavedPeriod()
    {
        PutDate(job.selection, ReportParamsVc::DateFrom, from);
        PutDate(job.selection, ReportParamsVc::DateTo, to);
        PutU16(job.selection, ReportParamsVc::MonthFrom, monthFrom);
        PutU16(job.selection, ReportParamsVc::MonthTo, monthTo);
    }
    SavedPeriod(const SavedPeriod &) = delete;
    SavedPeriod &operator=(const SavedPeriod &) = delete;
};

// Makes month (counted from January 1980) the period the formulas see:
// its first and last day and its month index, in the job's selection.
void PeriodIsMonth(ReportJob &job, uint16_t month)
{
    DateRec first{1, uint16_t(month % 12 + 1), uint16_t(1980 + month / 12)}, last;
    DateMonthEnd(&first, &last);
    PutDate(job.selection, ReportParamsVc::DateFrom, first);
    PutDate(job.selection, ReportParamsVc::DateTo, last);
    PutU16(job.selection, ReportParamsVc::MonthFrom, month);
    PutU16(job.selection, ReportParamsVc::MonthTo, month);
}

// Evaluates row's formula into column of the table and writes its text.
void EvaluateRow(const uint8_t *row, int32_t index, int32_t column)
{
    PString text = {0};
    GetText(row, K::Formula, text);
    Current->column = column;
    CompileScript(text);
    PackedDecimal &cell = Current->cells[size_t(index) * size_t(Current->columns) + size_t(column)];
    if (!FieldFromText(reinterpret_cast<uint8_t *>(&cell), FtAmount2, 0, text)) DecSetBlank(&cell);
    ExportText(text);
}

// True when the row's code is code, letters in either case.
bool RowCodeIs(const uint8_t *row, const uint8_t *code)
{
    PString own;
    GetText(row, K::Code, own);
    return PStringCompareNoCase(own, code) == 0;
}

}  // namespace

// Writes the key-figure rows of the range; a block without rows writes
// nothing, and so does a per-month selection whose dates do not make at
// least one month (told).
void KeyFigureExport(ReportJob &job)
{
    if (!job.selection) return;
    const bool codeAndName = GetU16(job.selection, ReportParamsVc::Option1) == 1;
    const bool perMonth = GetU16(job.selection, ReportParamsVc::Option2) == 1;
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
    const uint16_t first = MonthIndex(&from), last = MonthIndex(&to);
    if (perMonth && (DateIsEmpty(&from) || DateIsEmpty(&to) || last < first)) {
        ShowTextMessage(Texts::KeyFigureMonthsRefused);
        OutputJobState.stopFlag = 1;
        return;
    }
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, KeyFigureBlk::Number) || !rows) {
        MemFree(&rows);
        return;
    }
    const int32_t count = int32_t(MemSize(rows) / K::Size);
    PString firstCode = {0}, lastCode = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText1, firstCode, lastCode);
    const uint8_t *bytes = MemLock(rows);
    {
        SavedPeriod saved(job);
        CurrentTable table(count, perMonth ? int32_t(last - first) + 1 : 1, bytes);
        bool writing = firstCode[0] == 0;
        for (int32_t i = 0; i < count && !OutputJobState.stopFlag; i++) {
            const uint8_t *row = bytes + size_t(i) * K::Size;
            writing = writing || RowCodeIs(row, firstCode);
            if (!writing) continue;
            if (codeAndName) {
                ExportValue(row + K::Code, FtText);
                ExportValue(row + K::Name, FtText);
            }
            if (perMonth) {
                ExportCString("");
                for (uint32_t m = first; m <= last && !OutputJobState.stopFlag; m++) {
                    PeriodIsMonth(job, uint16_t(m));
                    EvaluateRow(row, i, int32_t(m - first));
                }
            } else {
                EvaluateRow(row, i, 0);
            }
            ExportLineFeed();
            ExportNumber(row + K::Name, FtText);
            if (lastCode[0] != 0 && RowCodeIs(row, lastCode)) break;
        }
    }
    MemUnlock(rows);
    MemFree(&rows);
}

bool KeyFigureResultAt(int32_t row, int32_t column, PackedDecimal *out)
{
    DecSetBlank(out);
    if (!Current || row < 0 || row >= Current->rows || column < 0 || column >= Current->columns) return false;
    *out = Current->cells[size_t(row) * size_t(Current->columns) + size_t(column)];
    return !DecIsBlank(out);
}

bool KeyFigureResultOfRow(const uint8_t *code, PackedDecimal *out)
{
    DecSetBlank(out);
    if (!Current) return false;
    for (int32_t i = 0; i < Current->rows; i++)
        if (RowCodeIs(Current->blockRows + size_t(i) * K::Size, code)) return KeyFigureResultAt(i, Current->column, out);
    return false;
}
