// party_walk.cpp - the walk of the customers or vendors a report's job
// record selects by its code range.
#include <cassert>

#include "core/text_range.h"
#include "dict_offsets.h"
#include "reports/frame/party_walk.h"

void PartyWalkOfJob(const PartyFields &f, const uint8_t *job, const uint8_t *group,
                    void (*each)(const uint8_t *record, void *context), void *context) {
    assert(job && group && each);
    PString range, from, to;
    GetText(job, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    PartyWalk(f, {from, to, group, false}, [&](const uint8_t *record) {
        each(record, context);
        return true;
    });
}
