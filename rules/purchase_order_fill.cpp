// purchase_order_fill.cpp - a purchase order filled from its vendor.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "rules/documents.h"

namespace {

// Copies the text field of at most max characters at from in src to to in dst.
void CopyText(uint8_t *dst, uint32_t to, const uint8_t *src, uint32_t from, int max) {
    uint8_t text[256];
    GetPString(src, from, max, text);
    PutPString(dst, to, max, text);
}

}  // namespace

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
    CopyText(order, PurchOrderVc::VendName, v, VEVc::Name, 60);
    CopyText(order, PurchOrderVc::Addr1, v, VEVc::Addr1, 60);
    CopyText(order, PurchOrderVc::Addr2, v, VEVc::Addr2, 60);
    CopyText(order, PurchOrderVc::Addr3, v, VEVc::Addr3, 60);
    CopyText(order, PurchOrderVc::Contact, v, VEVc::Contact, 60);
    PutU16(order, PurchOrderVc::VatZone, GetU16(v, VEVc::VatZone));
    CopyText(order, PurchOrderVc::PayTerms, v, VEVc::PayTerms, 2);
    CopyText(order, PurchOrderVc::CurncyCode, v, VEVc::CurncyCode, 5);
    CopyText(order, PurchOrderVc::LangCode, v, VEVc::LangCode, 5);
    CopyText(order, PurchOrderVc::DelMode, v, VEVc::DelMode, 5);
    CopyText(order, PurchOrderVc::DelTerms, v, VEVc::DelTerms, 5);
    return true;
}
