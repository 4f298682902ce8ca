// user_services.cpp - the current user's person record, users' names and
// the number-series defaults a session starts with.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
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
    PutText(person, PEVc::Code, code);
    return RecFindByFirstKey(PEVc::Number, person);
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
    PutText(person, PEVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(PEVc::Number, person, 1, 1, &recid, &position)) GetText(person, PEVc::Name, out);
    RecBufferFree(PEVc::Number, &h);
}

// Gives the current session's user entry the company's default number
// series: block 132's five hints at 0..19 go to the entry's first five
// choices, and its last voucher number, first purchase-invoice number and
// first outgoing-payment number to the three further ones. Nothing
// without a current session or without the block.
void SessionSeriesDefaults() {
    uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    if (!entry || !SeriesStateBlock) return;
    SettingsBlockLoad(SeriesDefaultsBlk::Number);
    static_assert(SeriesDefaultsBlk::OrderHint == 0 && SeriesDefaultsBlk::ReceiptHint == 16);
    std::memcpy(entry + SU::SeriesA, SeriesStateBlock + SeriesDefaultsBlk::OrderHint, 20);
    const uint32_t further[3] = {SeriesDefaultsBlk::LastVoucherNr, SeriesDefaultsBlk::PurchInvStart,
                                 SeriesDefaultsBlk::OutPayStart};
    for (int i = 0; i < 3; i++) PutU32(entry, SU::SeriesB + 4 * i, GetU32(SeriesStateBlock, further[i]));
}
