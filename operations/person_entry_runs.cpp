// person_entry_runs.cpp - batch routines 17 and 18: a person entry
// (register 126) for every employee (register 119) through
// PersonEntryCalc, and the deletion of a serial range of person entries.
// Both show the record at hand in the busy message and stop after it on
// the user's Esc.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/person_entries.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

PersonRunBusyRec PersonRunBusy;

namespace {

namespace E = PersEntryVc;
namespace W = EmployeeVc;
namespace P = ReportParamsVc;

constexpr int TextDeleting = 6400;        // "Deleting person entry "
constexpr int EntryTextMax = 60;
constexpr uint32_t NumberNone = 0xFFFFFFFFu;

void Busy(const uint8_t *text) {
    if (PersonRunBusy.show) PersonRunBusy.show(text);
}
void BusyClose() {
    if (PersonRunBusy.close) PersonRunBusy.close();
}

// The entry's text: the employee's name, the selection's third text and
// the employee's first text, blank-separated, cut to the field.
void EntryText(const uint8_t *selection, const uint8_t *person, uint8_t *out) {
    PString part;
    GetText(person, W::Name, out);
    PStringAppendC(out, " ");
    GetText(selection, P::SelText3, part);
    PStringAppend(out, part);
    PStringAppendC(out, " ");
    GetText(person, W::Position, part);
    PStringAppend(out, part);
    if (out[0] > EntryTextMax) out[0] = EntryTextMax;
}

// Makes and stores the entry of one employee; false when no number was
// free or the store failed (told).
bool EntryOfPerson(const uint8_t *selection, const uint8_t *person, const DateRec &date, uint8_t *entry) {
    RecFreeMatrix(E::Number, entry);
    std::memset(entry, 0, E::Size);
    PutDate(entry, E::TransDate, date);
    PutDate(entry, E::Date2, TodayDate);   // the date last read from the clock
    PString text;
    EntryText(selection, person, text);
    PutText(entry, E::Text, text);
    GetText(person, W::PerCode, text);
    PutText(entry, E::PerCode, text);
    GetText(person, W::DepCode, text);
    PutText(entry, E::DepCode, text);
    PersonEntryCalc(selection, person, entry);
    if (MatrixRowCount(E::Number, 0, entry) == 0) return true;   // nothing to post for this employee
    const int32_t serial = NextSerialNumber(E::Number, &date, 0, 0);
    if (serial == NoFreeNumber) {
        DateToText(&date, text);
        ShowMessage(Texts::NoPersonEntrySerial, text);
        return false;
    }
    PutI32(entry, E::SerNr, serial);
    uint32_t recid = 0;
    return RecInsertUnchecked(E::Number, entry, &recid);
}

}  // namespace

bool MaintenanceRun17(const ReportJob &job) {
    if (!job.selection) return false;
    const DateRec date = GetDate(job.selection, P::DateFrom);
    RuleRecord person(W::Number), entry(E::Number);
    if (!person.record || !entry.record) return false;
    bool ok = true;
    uint32_t recid = 0;
    PString name;
    for (int32_t p = 1; ok && RecReadAt(W::Number, p, person.record, &recid); p++) {
        GetText(person.record, W::Name, name);
        Busy(name);
        ok = EntryOfPerson(job.selection, person.record, date, entry.record);
        RecFreeMatrix(W::Number, person.record);
        if (UserCancelFlag) break;
    }
    BusyClose();
    return ok;
}

bool MaintenanceRun18(const ReportJob &job) {
    if (!job.selection) return false;
    const uint32_t from = GetU32(job.selection, P::NumberFrom), to = GetU32(job.selection, P::NumberTo);
    if (from == NumberNone || to == NumberNone) return true;
    RuleRecord entry(E::Number);
    if (!entry.record) return false;
    bool ok = true;
    PString busy, number;
    for (;;) {
        RecFreeMatrix(E::Number, entry.record);
        std::memset(entry.record, 0, E::Size);
        PutU32(entry.record, E::SerNr, from);
        uint32_t recid = 0, position = 0;
        if (!RecFind(E::Number, entry.record, 1, 0, &recid, &position)) break;
        const uint32_t serial = GetU32(entry.record, E::SerNr);
        if (serial < from || serial > to) break;
        GetUiText(busy, TextDeleting);
        LongToDigitText(int32_t(serial), number);
        PStringAppend(busy, number);
        Busy(busy);
        if (!RecDeleteHooked(E::Number, entry.record, recid)) {
            ok = false;
            break;
        }
        if (UserCancelFlag) break;
    }
    RecFreeMatrix(E::Number, entry.record);
    BusyClose();
    return ok;
}
