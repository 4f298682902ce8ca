// time_sheet_export.cpp - export kind 19: the rows of the time sheets of a
// number range and a date range, one line each, for a payroll or invoicing
// system; a header line naming the ten columns in Norwegian when the
// company's country variant is 9. No section tags.
#include <vector>

#include "core/date.h"
#include "core/company_variant.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"

namespace {

namespace TR = TimeSheetVc::Rows;

// The leader of the row's project into leader; empty when the project is
// missing (not the leader of the project looked up before).
void ProjectLeader(const uint8_t *row, uint8_t *project, uint8_t *leader)
{
    leader[0] = 0;
    PString code;
    GetText(row, TR::Project, code);
    RecFreeMatrix(ProjectVc::Number, project);
    RecClear(ProjectVc::Number, project);
    RecFieldPut(ProjectVc::Number, project, ProjectVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (code[0] != 0 && RecFind(ProjectVc::Number, project, 1, 1, &recid, &position))
        GetText(project, ProjectVc::Leader, leader);
}

}  // namespace

// Writes the lines of one time sheet: per row the sheet's number, date and
// text, then the row's date, person, project, item, quantity, text and the
// project's leader.
void TimeSheetExportRows(const uint8_t *sheet, uint8_t *project)
{
    std::vector<uint8_t> row(RecRowSize(TimeSheetVc::Number));
    int32_t count = MatrixRowCount(TimeSheetVc::Number, 0, sheet);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(TimeSheetVc::Number, 0, sheet, r, row.data())) break;
        PString leader;
        ProjectLeader(row.data(), project, leader);
        ExportValue(sheet + TimeSheetVc::SerNr, FtLongOrEmpty);
        ExportValue(sheet + TimeSheetVc::RegDate, FtDate);
        ExportValue(sheet + TimeSheetVc::Comment, FtText);
        ExportValue(row.data() + TR::RowDate, FtDate);
        ExportValue(row.data() + TR::Person, FtText);
        ExportValue(row.data() + TR::Project, FtText);
        ExportValue(row.data() + TR::ItemCode, FtText);
        ExportValue(row.data() + TR::Quantity, FtAmount2);
        ExportValue(row.data() + TR::WorkText, FtText);
        ExportText(leader);
        RepLineFeed();
    }
}

// Kind 19: the time sheets from the first number of the range (to its last
// when given) whose date lies in the dates, then one closing line end.
void TimeSheetExport(const ReportJob &job)
{
    if (!job.selection) return;
    int32_t first = -1, last = -1;
    RangeSplitNumber(job.selection + ReportParamsVc::SelText1, &first, &last);
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
    MemBlock hs = 0, hp = 0;
    uint8_t *sheet = RecBufferNew(TimeSheetVc::Number, &hs), *project = RecBufferNew(ProjectVc::Number, &hp);
    if (sheet && project) {
        PutI32(sheet, TimeSheetVc::SerNr, first < 0 ? 0 : first);
        uint32_t recid = 0, position = 0;
        bool found = RecFind(TimeSheetVc::Number, sheet, 1, 0, &recid, &position) && position > 0;
        uint8_t company[CompanyBlk::Size] = {0};
        if (found && SettingsBlockRead(CompanyBlk::Number, company, sizeof company) &&
            GetU16(company, CompanyBlk::CompanyVariant) == uint16_t(CountryVariant::V9)) {
            for (const char *h : {"Nummer", "Regdag", "Tekst", "Dato", "Medarb", "Prosj", "Artikkel", "Antall",
                                  "Spesifikasjon", "Leder"})
                ExportCString(h);
            RepLineFeed();
        }
        for (uint32_t pos = position; found && !OutputJobState.stopFlag; pos++) {
            RecFreeMatrix(TimeSheetVc::Number, sheet);
            if (!RecReadAt(TimeSheetVc::Number, int32_t(pos), sheet, &recid)) break;
            if (last >= 0 && GetI32(sheet, TimeSheetVc::SerNr) > last) break;
            DateRec d = GetDate(sheet, TimeSheetVc::RegDate);
            if (!DateIsEmpty(&from) && DateCompare(&d, &from) < 0) continue;
            if (!DateIsEmpty(&to) && DateCompare(&d, &to) > 0) continue;
            TimeSheetExportRows(sheet, project);
            ExportNumber(sheet + TimeSheetVc::SerNr, FtLongOrEmpty);
        }
        RecFreeMatrix(TimeSheetVc::Number, sheet);
        RecFreeMatrix(ProjectVc::Number, project);
    }
    if (sheet) RecBufferFree(TimeSheetVc::Number, &hs);
    if (project) RecBufferFree(ProjectVc::Number, &hp);
    RepLineFeed();
}
