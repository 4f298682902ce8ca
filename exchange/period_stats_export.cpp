// period_stats_export.cpp - export kinds 7 and 8: the sales statistics of
// the customers (register 1, five balance columns) and of the items
// (register 12, three columns) as a line per record of the code range:
// the code, then one amount per month of the selection, the movement of
// one column in that month. Kind 8 writes its block of months twice.
//
// Selection: the first range text is the code range (an empty last code:
// to the register's end); DateFrom and DateTo give the months (their
// month indexes, which the export dispatch keeps in MonthFrom and MonthTo).
#include "exchange/balance_sections.h"

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/code_walk.h"
#include "exchange/text_exchange.h"
#include "operations/statistics_slots.h"
#include "output/output_job.h"
#include "rules/ledger.h"

namespace {

// What a statistics export walks and writes.
struct StatsExport {
    int reg;
    uint32_t code, amounts;   // the key code (20) and the period block handle
    int kinds, column;        // columns of the period block, the one written
    int blocks;               // times the months are written on each line
};

// Writes the statistics of s for every record of the code range, in code
// order, until the job stops. Dates that make no month write the codes.
void PeriodStatsExport(const ReportJob &job, const StatsExport &s)
{
    if (!job.selection) return;
    PString from = {0}, to = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText1, from, to);
    const DateRec d1 = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec d2 = GetDate(job.selection, ReportParamsVc::DateTo);
    const bool months = !DateIsEmpty(&d1) && !DateIsEmpty(&d2);
    const uint32_t first = MonthIndex(&d1), last = MonthIndex(&d2);
    WalkCodeRange(s.reg, s.code, 20, from, to, [&](const uint8_t *record, const uint8_t *) {
        ExportValue(record + s.code, FtText);
        const MemBlock amounts = GetU32(record, s.amounts);
        for (int b = 0; b < s.blocks && months; b++)
            for (uint32_t m = first; m <= last; m++) {
                PackedDecimal change;
                PeriodBalanceChange(amounts, s.kinds, s.column, uint16_t(m), uint16_t(m), &change);
                ExportValue(&change, FtAmount2);
            }
    });
}

}  // namespace

// Kind 7: per customer, its net sales in home currency month by month.
void PeriodStatsExport5(const ReportJob &job)
{
    PeriodStatsExport(
        job, {CSVc::Number, CSVc::CustCode, CSVc::Amounts, CustomerStatSlot::Count, CustomerStatSlot::HomeSales, 1});
}

// Kind 8: per item, its sales month by month; the
// months are written twice, as files of this kind have always had them.
void PeriodStatsExport3(const ReportJob &job)
{
    PeriodStatsExport(job, {ISVc::Number, ISVc::ItemCode, ISVc::Amounts, ItemStatSlot::Count, ItemStatSlot::Sales, 2});
}
