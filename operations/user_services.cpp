// user_services.cpp - the current user's person record and users' names.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"

// Clears person (a register-44 buffer), puts the current session's user
// code in it and reads that person; false (person cleared)
// when there is no session, no user code or no such person.
bool CurrentUserRecord(uint8_t *person) {
    assert(person);
    RecClear(PEVc::Number, person);
    const uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    if (!entry) return false;
    uint8_t code[256];
    GetPString(entry, SU::UserCode, 5, code);
    if (code[0] == 0) return false;
    PutPString(person, PEVc::Code, 5, code);
    uint32_t recid = 0, position = 0;
    return RecFind(PEVc::Number, person, 1, 1, &recid, &position);
}

// The name of the person with this code into out (a PString buffer of 256
// bytes); empty when the code is empty, too long or names no person.
void UserNameByCode(const uint8_t *code, uint8_t *out) {
    assert(code && out);
    out[0] = 0;
    if (code[0] == 0 || code[0] > 5) return;
    MemBlock h = 0;
    uint8_t *person = RecBufferNew(PEVc::Number, &h);
    if (!person) return;
    PutPString(person, PEVc::Code, 5, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(PEVc::Number, person, 1, 1, &recid, &position)) GetPString(person, PEVc::Name, 60, out);
    RecBufferFree(PEVc::Number, &h);
}
