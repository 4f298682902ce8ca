// record_text.cpp - the writer and reader of each register's and settings
// block's section, by number: the ledger's own routines for vouchers,
// drafts and opening balances, else the list's special function, else the
// column engine over the list.
#include <cassert>

#include "exchange/text_exchange.h"
#include "exchange/ledger_text.h"

// The list of a register or block in a version (ListNewest: the newest);
// null when there is none.
const FieldList *FieldListFor(bool block, int number, int version)
{
    const FieldList *found = nullptr;
    for (const FieldList &l : FieldLists) {
        if (l.block != block || number < l.first || number > l.last) continue;
        if (version == ListNewest) {
            if (!found || l.version > found->version) found = &l;
        } else if (l.version == version) {
            return &l;
        }
    }
    return found;
}

// Writes a register's record in its newest layout; a register without a
// list writes nothing.
void WriteRecordText(int reg, const uint8_t *record)
{
    assert(record);
    switch (reg) {
    case 9: WriteSm1Text(record); return;
    case 11: WriteVoucherText(record); return;
    case 51: WriteFb1Text(record); return;
    default: break;
    }
    const FieldList *l = FieldListFor(false, reg, ListNewest);
    if (!l) return;
    if (l->write) l->write(reg, record);
    else WriteListRecord(reg, *l, record);
}

// Reads a register's record in a layout version into a cleared record,
// then, unless flag is ReadTextOnly, runs the list's after-reading effect.
// False when damaged, or when the register has no list for the version
// (the import is stopped then: what the section holds cannot be placed).
bool ReadRecordText(int reg, int version, uint8_t *record, int flag)
{
    assert(record);
    switch (reg) {
    case 9: return ReadSm1Text(record);
    case 11: return ReadVoucherText(record, version);
    case 51: return ReadFb1Text(record);
    default: break;
    }
    const FieldList *l = FieldListFor(false, reg, version);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    bool ok = l->read ? l->read(reg, version, record) : ReadListRecord(reg, *l, version, record);
    if (ok && l->after && flag != ReadTextOnly) l->after(reg, version, record);
    return ok;
}

// Writes one settings block record or row; a block without a list writes
// nothing.
void WriteBlockText(int block, const uint8_t *data)
{
    assert(data);
    const FieldList *l = FieldListFor(true, block, ListNewest);
    if (!l) return;
    if (l->write) l->write(block, data);
    else WriteListRecord(block, *l, data);
}

// Reads one settings block record or row into data; false when damaged
// (a block without a list stops the import as damaged too), and then the
// caller stores nothing.
bool ReadBlockText(int block, uint8_t *data)
{
    assert(data);
    const FieldList *l = FieldListFor(true, block, ListNewest);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    bool ok = l->read ? l->read(block, 0, data) : ReadListRecord(block, *l, 0, data);
    if (ok && l->after) l->after(block, 0, data);
    return ok;
}
