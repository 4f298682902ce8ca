// import_missing.cpp - the customer, items and user an imported sales
// invoice names but the company lacks, made before the invoice is stored
// so that the invoice never points at nothing.
//
// Each made record carries the code and what the invoice tells of it
// (the customer's name and address, the item's row text); the user fills
// in the rest later. A store that fails is told and fails the open hold.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "rules/rules_types.h"

namespace {

// Makes the record of reg whose key field at codeAt (max characters)
// holds code, unless it exists; fill adds the rest. true when it exists
// or was stored; an empty code needs nothing.
template <typename Fill> bool MakeUnlessStored(int reg, uint32_t codeAt, int max, const uint8_t *code, Fill fill) {
    if (code[0] == 0) return true;
    RuleRecord r(reg);
    if (!r.record) return false;
    PutPString(r.record, codeAt, max, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(reg, r.record, 1, 1, &recid, &position)) return true;
    RecClear(reg, r.record);
    PutPString(r.record, codeAt, max, code);
    fill(r.record);
    if (RecStore(reg, r.record, 0, &recid)) return true;
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
    return false;
}

}  // namespace

// Makes the invoice's customer when it is missing, with the invoice's
// name and address lines.
bool CreateMissingCustomer(const uint8_t *invoice) {
    assert(invoice);
    uint8_t code[256];
    GetPString(invoice, IVVc::CustCode, 20, code);
    return MakeUnlessStored(CUVc::Number, CUVc::Code, 20, code, [&](uint8_t *c) {
        uint8_t text[256];
        const uint32_t from[] = {IVVc::Addr0, IVVc::Addr1, IVVc::Addr2, IVVc::Addr3};
        const uint32_t to[] = {CUVc::Name, CUVc::Addr1, CUVc::Addr2, CUVc::Addr3};
        for (int i = 0; i < 4; i++) {
            GetPString(invoice, from[i], 60, text);
            PutPString(c, to[i], 60, text);
        }
    });
}

// Makes each item that an item row of the invoice names and the company
// lacks, named by the row's text; false at the first failed store.
bool CreateMissingItems(const uint8_t *invoice) {
    assert(invoice);
    uint8_t row[IVVc::Rows::Size], code[256];
    int32_t count = MatrixRowCount(IVVc::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IVVc::Number, invoice, i, row) || GetU16(row, IVVc::Rows::Kind) != 1) continue;
        GetPString(row, IVVc::Rows::ItemCode, 20, code);
        bool made = MakeUnlessStored(INVc::Number, INVc::Code, 20, code, [&](uint8_t *item) {
            uint8_t text[256];
            GetPString(row, IVVc::Rows::Text, 100, text);
            if (text[0] > 60) text[0] = 60;
            PutPString(item, INVc::Name, 60, text);
        });
        if (!made) return false;
    }
    return true;
}

// Makes the invoice's salesperson (register 44) when missing.
bool CreateMissingUser(const uint8_t *invoice) {
    assert(invoice);
    uint8_t code[256];
    GetPString(invoice, IVVc::SalesMan, 5, code);
    return MakeUnlessStored(PEVc::Number, PEVc::Code, 5, code, [](uint8_t *) {});
}
