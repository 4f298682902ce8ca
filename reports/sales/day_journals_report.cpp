// day_journals_report.cpp - report 87, a day's journals in one run: the
// sales journal (1), the customer payments (13), the purchase invoices
// (26), the purchase payments (28), report 53 and report 7, each whose
// flag word is set, in that order, each with the options it needs and its
// own job. To a file each member after the first asks for a file of its
// own, as a job's end closes its file. Each member runs over a copy of
// the batch's job record, so the batch's own record is left as it was.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"

namespace {

namespace P = ReportParamsVc;

struct Member {
    uint32_t flag;      // the option word that asks for the member
    int16_t number;     // the member's report number
};
constexpr Member Members[] = {{P::Option12, 1},  {P::Option13, 13}, {P::Option14, 26},
                              {P::Option15, 28}, {P::Option17, 53}, {P::Option18, 7}};

// The options a member runs with in its job record; summary is the
// run's own Option1.
void MemberOptions(uint8_t *member, int16_t number, uint16_t summary) {
    PutU16(member, P::Option3, 1);
    switch (number) {
    case 1:
        for (uint32_t kind : {P::Option4, P::Option5, P::Option6, P::Option7}) PutU16(member, kind, 1);
        break;
    case 26:
        for (uint32_t kind : {P::Option4, P::Option5, P::Option6}) PutU16(member, kind, 1);
        break;
    case 28:
        PutU16(member, P::Option1, summary ? 1 : 0);
        PutU16(member, P::Option2, summary ? 1 : 0);
        break;
    case 53: case 7:
        PutU16(member, P::Option2, summary ? 1 : 0);
        break;
    default:
        break;
    }
}

}  // namespace

void Report87Batch(ReportJob &job) {
    assert(job.selection);
    const uint8_t *batch = job.selection;
    const uint16_t summary = GetU16(batch, P::Option1);
    bool toldLater = false, printed = false;
    const uint16_t kind = CurrentOutputKind();
    const bool toFile = (kind == OutTextFile || kind == OutTabFile) && !RemoteOutput;
    for (const Member &m : Members) {
        if (CancelFlag) break;
        if (GetU16(batch, m.flag) == 0) continue;
        const ReportRowRec *row = ReportRow(m.number);
        if (!row || row->kind != ReportRowKind::Body) {
            // A member this version does not print is told once and passed over.
            if (!toldLater) ShowTextMessage(Texts::FunctionNotYet);
            toldLater = true;
            continue;
        }
        if (printed && toFile) {
            RepOpenFileDevice();
            if (RepStopped) break;   // no file chosen: the rest is not run
        }
        printed = true;
        std::vector<uint8_t> member(batch, batch + ReportParamsSize);
        PutU16(member.data(), P::ReportNumber, uint16_t(m.number));
        MemberOptions(member.data(), m.number, summary);
        ReportJob memberJob{member.data()};
        RunRowBody(*row, memberJob);
    }
}
