// Tests of filling a purchase order from its vendor.
#include "rules/documents.h"
#include "tests/rules/rules_fixture.h"

namespace {

class PurchaseOrderFillTest : public RulesFixture {};

// The vendor's fields land in the order's, those whose names differ
// included; the order's own delivery address stays.
TEST_F(PurchaseOrderFillTest, VendorFieldsLandInTheirOrderFields) {
    StoreRecord(VEVc::Number, [](uint8_t *v) {
        PutText(v, VEVc::Code, 20, "V100");
        PutText(v, VEVc::Name, 60, "Vendor Ltd");
        PutText(v, VEVc::Addr1, 60, "Street 1");
        PutText(v, VEVc::Contact, 60, "Our contact");
        PutU16(v, VEVc::VatZone, 2);
        PutText(v, VEVc::DelMode, 5, "TRUCK");
        PutText(v, VEVc::DelTerms, 5, "FOB");
    });
    RuleRecord order(PurchOrderVc::Number);
    PutText(order.record, PurchOrderVc::VendCode, 20, "V100");
    PutText(order.record, PurchOrderVc::DelAddr0, 60, "Our store");
    ASSERT_TRUE(CopyVendorToPurchaseOrder(order.record));
    const uint8_t *o = order.record;
    EXPECT_EQ(Text(o, PurchOrderVc::VendName), "Vendor Ltd");
    EXPECT_EQ(Text(o, PurchOrderVc::Addr1), "Street 1");
    EXPECT_EQ(Text(o, PurchOrderVc::Contact), "Our contact");
    EXPECT_EQ(GetU16(o, PurchOrderVc::VatZone), 2);
    EXPECT_EQ(Text(o, PurchOrderVc::DelMode), "TRUCK");
    EXPECT_EQ(Text(o, PurchOrderVc::DelTerms), "FOB");
    EXPECT_EQ(Text(o, PurchOrderVc::DelAddr0), "Our store");   // not the vendor's

    // No vendor of that code, or no code: false and the order untouched.
    for (const char *code : {"V999", ""}) {
        RuleRecord other(PurchOrderVc::Number);
        PutText(other.record, PurchOrderVc::VendCode, 20, code);
        PutText(other.record, PurchOrderVc::VendName, 60, "kept");
        EXPECT_FALSE(CopyVendorToPurchaseOrder(other.record)) << code;
        EXPECT_EQ(Text(other.record, PurchOrderVc::VendName), "kept");
    }
}

}  // namespace
