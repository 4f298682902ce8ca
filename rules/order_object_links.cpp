// order_object_links.cpp - the links of orders to their objects
// (register 121): one entry per object of an order's object list, so an
// object can be traced to the orders that name it.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "rules/documents.h"
#include "rules/ledger.h"

namespace {

constexpr uint16_t SourceOrder = ORVc::Number;

// Fills link with the entry of object code for the order of serial and date.
void MakeLink(uint8_t *link, const uint8_t *code, uint32_t serial, const DateRec &date) {
    PutText(link, OrderObjVc::ObjCode, code);
    PutU32(link, OrderObjVc::SourceNr, serial);
    PutU16(link, OrderObjVc::SourceReg, SourceOrder);
    PutDate(link, OrderObjVc::DocDate, date);
}

// The object slots of order's object list.
ObjectSlots OrderObjects(const uint8_t *order) {
    uint8_t list[256];
    GetText(order, ORVc::Objects, list);
    ObjectSlots slots{};
    ParseObjectList(list, &slots);
    return slots;
}

// True when a and b are the same date.
bool SameDate(DateRec a, DateRec b) { return DateCompare(&a, &b) == 0; }

}  // namespace

// True when order and stored have the same object list and the same date,
// the two fields the links are made of besides the serial number.
bool OrderLinkFieldsEqual(const uint8_t *order, const uint8_t *stored) {
    assert(order && stored);
    uint8_t a[256], b[256];
    GetText(order, ORVc::Objects, a);
    GetText(stored, ORVc::Objects, b);
    return PStringEqual(a, b) && SameDate(GetDate(order, ORVc::OrdDate), GetDate(stored, ORVc::OrdDate));
}

// After an order is stored: when stored (the order as it was, null for a
// new order) has other objects or another date, its links are deleted
// through the record layer's hooks; then a link for each object of order
// is stored (replacing one that exists). A link of stored that is already
// gone is no fault. false when a delete or a store failed.
bool UpdateOrderObjectLinks(const uint8_t *order, const uint8_t *stored) {
    assert(order);
    RuleRecord link(OrderObjVc::Number);
    if (!link.record) return false;
    uint32_t recid = 0, position = 0;
    if (stored && !OrderLinkFieldsEqual(order, stored)) {
        ObjectSlots old = OrderObjects(stored);
        uint32_t serial = GetU32(stored, ORVc::SerNr);
        DateRec date = GetDate(stored, ORVc::OrdDate);
        for (int i = 0; i < ObjectSlotCount; i++) {
            if (old[i][0] == 0) continue;
            RecClear(OrderObjVc::Number, link.record);
            MakeLink(link.record, old[i].data(), serial, date);
            if (!RecFindByIndex(OrderObjVc::Number, "ObjSource", link.record, 4, 1, &recid, &position)) continue;
            if (!RecDeleteHooked(OrderObjVc::Number, link.record, recid)) return false;
        }
    }
    ObjectSlots now = OrderObjects(order);
    uint32_t serial = GetU32(order, ORVc::SerNr);
    DateRec date = GetDate(order, ORVc::OrdDate);
    for (int i = 0; i < ObjectSlotCount; i++) {
        if (now[i][0] == 0) continue;
        RecClear(OrderObjVc::Number, link.record);
        MakeLink(link.record, now[i].data(), serial, date);
        if (!RecStoreByKey(OrderObjVc::Number, link.record, 1, &recid)) return false;
    }
    return true;
}
