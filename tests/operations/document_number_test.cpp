// The number step that purchase invoices, outgoing payments, sales
// invoices, expenses and person payments share: a document without a
// number draws the next one, a new or changed number must be free and in
// a series, and an update keeping its stored number is not asked again.
#include "rules/serial_numbers.h"
#include "tests/operations/purchase_fixture.h"

namespace {

class DocumentNumberTest : public PurchaseFixture {
protected:
    // The check of doc numbered serial (its own date fixed).
    static int Check(uint8_t *doc, uint32_t serial, const uint8_t *old, int mode) {
        PutU32(doc, VIVc::SerNr, serial);
        shown.clear();
        RecFocusClear();
        return CheckDocumentNumber(VIVc::Number, doc, old, mode, VIVc::SerNr, DateRec{10, 6, 2024}, 0);
    }
};

TEST_F(DocumentNumberTest, UnnumberedDocumentDrawsTheNextFreeNumber) {
    uint32_t first = Invoice(100);
    RuleRecord doc(VIVc::Number);
    ASSERT_NE(doc.record, nullptr);
    EXPECT_EQ(Check(doc.record, SerialNone, nullptr, 1), 0);
    EXPECT_EQ(GetU32(doc.record, VIVc::SerNr), first + 1);
    EXPECT_TRUE(shown.empty());
}

TEST_F(DocumentNumberTest, TakenOrOutOfSeriesNumberIsRefusedAtTheNumber) {
    uint32_t first = Invoice(100);
    RuleRecord doc(VIVc::Number);
    ASSERT_NE(doc.record, nullptr);
    EXPECT_EQ(Check(doc.record, first, nullptr, 1), -1);
    EXPECT_TRUE(Told(Texts::SerialNumberExists));
    EXPECT_EQ(FieldErrorPos.field, (uint16_t)VIVc::SerNr);
    EXPECT_EQ(Check(doc.record, 100000, nullptr, 1), -1);
    EXPECT_TRUE(Told(Texts::NumberOutsideSeries));
    EXPECT_EQ(FieldErrorPos.field, (uint16_t)VIVc::SerNr);
}

TEST_F(DocumentNumberTest, UpdateKeepingItsNumberIsNotAskedAgainButAChangedOneIs) {
    uint32_t first = Invoice(100), second = Invoice(200);
    RuleRecord doc(VIVc::Number);
    ASSERT_NE(doc.record, nullptr);
    RuleRecord stored(VIVc::Number);
    ASSERT_TRUE(PurchaseInvoiceRead(first, stored));
    EXPECT_EQ(Check(doc.record, first, stored.record, 2), 0);   // its own key exists
    EXPECT_EQ(Check(doc.record, second, stored.record, 2), -1);
    EXPECT_TRUE(Told(Texts::SerialNumberExists));
    EXPECT_EQ(Check(doc.record, first, stored.record, 1), -1);   // an insert is always asked
}

}  // namespace
