// report_defaults.cpp - the default selection of a report window: what a
// report-selection record (the job record's layout) holds when a window
// opens with given values, first the same for every window, then the set
// of its window and report (report_defaults_table.cpp); and the queueing
// of one saved job per code of a selection's code list.
#include "recordwin/report_defaults.h"

#include <cstring>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/definitions.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "recordwin/record_windows.h"
#include "recordwin/report_defaults_table.h"
#include "rules/rules_types.h"
#include "shell/menu_lists.h"

namespace {

namespace RP = ReportParamsVc;

constexpr int OptionWords = 20;
constexpr int TextMax = 255, ShortTextMax = 21, PeriodMax = 31;
constexpr int Block134CopySize = 12;
// The list table of the reports (Ctrl+R).
// Told when an object list queued no job: its ranges hold no object.
constexpr int TextNoObjectInList = 19640;
// The six bytes before the amount-unit word, which no report names but
// every new selection clears.
constexpr uint32_t UnnamedSixSize = 6, UnnamedSixAt = ReportParamsVc::AmountUnit - 2;

// Option word k (0..19) of a selection.
void PutOption(uint8_t *r, int k, uint16_t v) { PutU16(r, RP::Option1 + 2 * uint32_t(k), v); }

// The defaults every report window starts from.
void CommonDefaults(uint8_t *r)
{
    PackedDecimal blank;
    DecSetBlank(&blank);
    const DateRec noDate{0, 0, 0};
    const uint8_t empty[1] = {0};

    PutU16(r, RP::ReportLayout, 0);
    PutText(r, RP::SelText1, empty);
    PutText(r, RP::SelText2, empty);
    PutText(r, RP::SelText3, empty);
    PutDate(r, RP::Date2From, noDate);
    PutDate(r, RP::Date2To, noDate);
    PutU16(r, RP::BatchMode, 0);
    PutI32(r, RP::NumberFrom, -1);
    PutI32(r, RP::NumberTo, -1);
    for (int k = 0; k < OptionWords; k++) PutOption(r, k, 0);
    PutU16(r, RP::RangeKind, 1);
    PutText(r, RP::ObjectSel, empty);
    PutText(r, RP::SelText4, empty);
    PutText(r, RP::ObjectType, empty);
    // Words 1006 and 1008 and the start of the slot at 1010.
    PutU16(r, RP::SecondKind, 0);
    PutU16(r, RP::ColumnLayout, 0);
    r[RP::SelText5] = 0;   // an empty text by its length byte: the slot's amount keeps its other bytes
    PutText(r, RP::SelText6, empty);
    std::memset(r + UnnamedSixAt, 0, UnnamedSixSize);
    PutU16(r, RP::DetailLevel, CompanyVariantIs(CountryVariant::V13) ? 2 : 1);
    PutU16(r, RP::Word1102, 0);
    PutI32(r, RP::Long1104, -1);
    PutI32(r, RP::Long1108, -1);
    std::memset(r + RP::SelText7 - 2, 0, 3);   // the word at 1116 and the length of 1118
    PutText(r, RP::SelText8, empty);
    PutDate(r, RP::DateFrom, noDate);
    PutDate(r, RP::DateTo, noDate);

    uint8_t period[256];
    DefaultPeriodText(period);
    DateRec from = noDate, to = noDate;
    if (period[0] != 0) PeriodTextParse(period, &from, &to);
    PutText(r, RP::PeriodText, period);
    PutDate(r, RP::DateFrom, from);
    PutDate(r, RP::DateTo, to);

    for (uint32_t at : {RP::Amount1, RP::Amount2, RP::Amount3, RP::Amount4, RP::Amount5}) PutDec(r, at, blank);
}

// Type 176 runs over the previous calendar month with the interest
// settings of block 134.
void PreviousMonthDefaults(uint8_t *r)
{
    DateRec first{1, TodayDate.month, TodayDate.year}, last;
    DateAddDays(&first, -1, &last);   // the last day of the previous month
    DateRec start{1, last.month, last.year};
    PutDate(r, RP::Date2To, last);
    PutDate(r, RP::Date2From, start);
    PutU16(r, RP::ReportLayout, 0);
    PutOption(r, 1, 1);
    PackedDecimal two;
    DecFromThousandths(&two, 2000);
    PutDec(r, RP::Amount1010, two);
    const uint8_t *block = SettingsRecord(InterestBlk::Number, InvoiceRateBlock);
    if (block)
        std::memcpy(r + RP::Block134Copy, block, Block134CopySize);
    else
        std::memset(r + RP::Block134Copy, 0, Block134CopySize);
    if (CompanyVariantIs(CountryVariant::V15)) PutU16(r, RP::ReportLayout, 2);
}

// The title of the report the record names, into the first text slot:
// the title of the user's saved definition of it, else the name the
// report list gives it on window `type`. (A document kind's name is no
// report's title: report 22 is not the time sheet.)
void ReportTitleText(uint8_t *r, int type)
{
    const int number = GetI16(r, RP::ReportNumber);
    uint8_t title[256];
    SavedReportTitle(number, title);
    for (int i = 0; title[0] == 0 && i < ListTableCount(ListSlot::Reports); i++) {
        const uint8_t *e = ListTableEntry(ListSlot::Reports, i);
        if (e && DefU16(e + MenuTableEntry::WinType) == type && int16_t(DefU16(e + MenuTableEntry::Number)) == number)
            GetUiText(title, DefU16(e + MenuTableEntry::Text));
    }
    PutText(r, RP::SelText1, title);
}

void ApplyRow(uint8_t *r, const SelectionDefaults &row)
{
    if (row.layout >= 0) PutU16(r, RP::ReportLayout, uint16_t(row.layout));
    for (const OptionRun &run : row.runs)
        for (int k = run.first; k >= 0 && k <= run.last; k++) PutOption(r, k, run.value);
    switch (row.extra) {
    case DefaultsExtra::None: break;
    case DefaultsExtra::ReportTitle: ReportTitleText(r, row.window); break;
    case DefaultsExtra::AltOptions:
        if (CompanyVariantIs(CountryVariant::V15)) {
            PutOption(r, 0, 0);
            PutOption(r, 2, 0);
            PutOption(r, 3, 1);
        }
        PutOption(r, 4, 1);
        break;
    case DefaultsExtra::BatchByVariant: PutU16(r, RP::BatchMode, CompanyVariantIs(CountryVariant::V27) ? 1 : 0); break;
    case DefaultsExtra::BatchModeZero: PutU16(r, RP::BatchMode, 0); break;
    case DefaultsExtra::PeriodInSecondDates:
        PutDate(r, RP::Date2From, GetDate(r, RP::DateFrom));
        PutDate(r, RP::Date2To, GetDate(r, RP::DateTo));
        break;
    }
}

}  // namespace

// Fills a report selection (a record of the job record's size) with its
// defaults: the common ones, then the set of window type `type` for the
// report the record names. The words before the layout word (device,
// report number, the caller's words) are kept.
void ReportSelectionDefaults(uint8_t *record, int type)
{
    if (!record) return;
    CommonDefaults(record);
    if (type == WinTypes::InterestLastMonth) {   // the previous calendar month
        PreviousMonthDefaults(record);
        return;
    }
    if (const SelectionDefaults *row = SelectionDefaultsFor(type, GetI16(record, RP::ReportNumber)))
        ApplyRow(record, *row);
}

// Leaves the selection's period open: no period text and no dates.
void ReportPeriodOpen(uint8_t *record)
{
    const uint8_t empty[1] = {0};
    PutText(record, RP::PeriodText, empty);
    PutDate(record, RP::DateFrom, DateRec{0, 0, 0});
    PutDate(record, RP::DateTo, DateRec{0, 0, 0});
}

// Queues the selection `job` once per code of its object list (byte 936):
// an empty list queues it once; a word "a:b" queues it for every object
// (register 15) from a up to b; a single word queues it for that code.
// The number of jobs queued. A refusal of the queue (full, which the
// queue tells) ends the walk. A list whose ranges hold no object queues
// nothing, and the user is told so rather than left to look for jobs
// that were never saved. The list is put back into the job either way.
int ReportJobsPerCode(uint8_t *job)
{
    if (!job) return 0;
    uint8_t list[256];
    GetText(job, RP::ObjectSel, list);
    if (list[0] == 0) return JobQueuePush(job, 1) ? 1 : 0;
    int queued = 0;
    bool refused = false;
    // Queues the job for one code; a refusal ends the walk.
    auto queueFor = [&](const uint8_t *code) {
        PutText(job, RP::ObjectSel, code);
        if (JobQueuePush(job, 1))
            queued++;
        else
            refused = true;
    };
    RuleRecord object(OBVc::Number);
    int p = 1;
    uint8_t word[256], sep[256], last[256];
    while (!refused && p <= list[0]) {
        if (!WordUntilSep(list, &p, word)) {
            p++;   // a separator or sign without a word before it
            continue;
        }
        int at = p;
        bool range = RangeSepRun(list, &at, sep) && sep[0] == 1 && sep[1] == ':' && WordUntilSep(list, &at, last);
        if (!range) {
            queueFor(word);
            continue;
        }
        p = at;
        if (!object.record) continue;
        RecClear(OBVc::Number, object.record);
        PutText(object.record, OBVc::Code, word);
        uint32_t recid = 0, position = 0;
        if (!RecFindByIndex(OBVc::Number, "Code", object.record, 1, 0, &recid, &position)) continue;
        for (uint32_t q = position; !refused; q++) {
            if (q != position && !RecReadAtIndex(OBVc::Number, "Code", int32_t(q), object.record, &recid)) break;
            uint8_t code[256];
            GetText(object.record, OBVc::Code, code);
            if (PStringCompare(code, last) > 0) break;
            queueFor(code);
        }
    }
    PutText(job, RP::ObjectSel, list);
    if (queued == 0 && !refused) ShowTextMessage(TextNoObjectInList);
    return queued;
}
