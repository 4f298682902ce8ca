// purchase_order_fill.cpp - a purchase order filled from its vendor.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "operations/doc_flow_fields.h"
#include "rules/documents.h"

// Reads the vendor (register 27) of the order's vendor code and copies its
// name, address lines, text, VAT zone, payment terms, currency, language,
// delivery terms and the code at 642 into the order; false, the order
// untouched, when there is no such vendor.
bool CopyVendorToPurchaseOrder(uint8_t *order) {
    assert(order);
    RuleRecord vendor(VEVc::Number);
    if (!vendor.record) return false;
    uint8_t code[256];
    GetText(order, PurchOrderVc::VendCode, code);
    if (code[0] == 0) return false;
    PutText(vendor.record, VEVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(VEVc::Number, vendor.record, 1, 1, &recid, &position)) return false;
    const uint8_t *v = vendor.record;
    DocFlowCopyText(order, PurchOrderVc::VendName, v, VEVc::Name);
    DocFlowCopyText(order, PurchOrderVc::Addr1, v, VEVc::Addr1);
    DocFlowCopyText(order, PurchOrderVc::Addr2, v, VEVc::Addr2);
    DocFlowCopyText(order, PurchOrderVc::Addr3, v, VEVc::Addr3);
    DocFlowCopyText(order, PurchOrderVc::Contact, v, VEVc::Contact);
    PutU16(order, PurchOrderVc::VatZone, GetU16(v, VEVc::VatZone));
    DocFlowCopyText(order, PurchOrderVc::PayTerms, v, VEVc::PayTerms);
    DocFlowCopyText(order, PurchOrderVc::CurncyCode, v, VEVc::CurncyCode);
    DocFlowCopyText(order, PurchOrderVc::LangCode, v, VEVc::LangCode);
    DocFlowCopyText(order, PurchOrderVc::DelMode, v, VEVc::DelMode);
    DocFlowCopyText(order, PurchOrderVc::DelTerms, v, VEVc::DelTerms);
    return true;
}
