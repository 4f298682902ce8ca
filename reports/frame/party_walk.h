// party_walk.h - the walk the customer and vendor reports make over their
// register: a key range by code or by name, and a group the selection may
// name. By code with a group named, the walk reads the group's index (group,
// code) and ends where the group ends, so a small group of a large
// register costs only its own records.
#pragma once

#include <cstdint>

#include "core/field_access.h"
#include "core/pstring.h"
#include "reports/frame/index_walk.h"
#include "rules/rules_types.h"

// Where a customer or vendor record keeps what the walk reads: its code
// (index "Code"), name (index "Name") and group (index "Group": group,
// code).
struct PartyFields {
    int reg;
    TextField<20> code;
    TextField<60> name;
    TextField<5> group;
};

// The records to walk: from..to (codes, or names with byName; an empty
// end is open) of group (empty: any group). PStrings.
struct PartyRange {
    const uint8_t *from;
    const uint8_t *to;
    const uint8_t *group;
    bool byName;
};

// Calls each(record) for each record of the range, in key order, until
// each returns false, the range ends or Esc (polled after each record
// taken, so Esc stops after the record at hand).
template <typename Each> void PartyWalk(const PartyFields &f, const PartyRange &r, Each each) {
    RuleRecord party(f.reg);
    if (!party.record) return;
    const bool byGroup = !r.byName && r.group[0];
    if (r.byName) PutText(party.record, f.name, r.from);
    else PutText(party.record, f.code, r.from);
    if (byGroup) PutText(party.record, f.group, r.group);
    const char *index = r.byName ? "Name" : byGroup ? "Group" : "Code";
    PString key, group;
    IndexWalkAll(f.reg, index, party.record, byGroup ? 2 : 1, [&](uint8_t *record) {
        if (r.byName) GetText(record, f.name, key);
        else GetText(record, f.code, key);
        if (r.to[0] && PStringCompare(key, r.to) > 0) return false;
        GetText(record, f.group, group);
        if (r.group[0] && !PStringEqual(group, r.group)) return !byGroup;   // the group index has passed the group
        return each(record) && !ReportCancelled();
    });
}

// PartyWalk by code over the code range in the job record's SelText1 and
// group (empty: any), calling each(record, context) (party_walk.cpp).
void PartyWalkOfJob(const PartyFields &f, const uint8_t *job, const uint8_t *group,
                    void (*each)(const uint8_t *record, void *context), void *context);

