// document_buttons_test.cpp - the buttons of the document windows and
// lists in a headless frame: each conversion button makes its document
// and opens it in its window, a window being edited beeps and converts
// nothing, a list on no row asks for one and does nothing, unlisted buttons and
// types do nothing, and the list buttons run their approve kind on the
// marked records.
#include <gtest/gtest.h>

#include <string>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "platform/display.h"
#include "recordwin/record_windows.h"
#include "rules/hooks.h"
#include "rules/vat_currency.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace OR = ORVc::Rows;

class DocumentButtonsTest : public InvoiceFixture {
protected:
    void SetUp() override {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        RulesInstall();   // after the company: its blocks are laid down whole, unchecked
        for (int block : {OrderSeriesBlk::Number, DeliverySeriesBlk::Number, QuotationSeriesBlk::Number})
            AddSeriesRow(block, 1, 99999);
        InvoiceFrameUp();
    }
    void TearDown() override {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    // A stored order of qty ITEM1 at 100, qty shipped already; its id.
    uint32_t StoreOrder(double qty, double shipped = 0) {
        RuleRecord r(ORVc::Number);
        RecNewDefaults(ORVc::Number, r.record);
        PutU32(r.record, ORVc::SerNr, 500 + (uint32_t)RegRecordCount(ORVc::Number));
        PutText(r.record, ORVc::CustCode, 20, "C1");
        uint8_t row[OR::Size] = {};
        PutU16(row, OR::Kind, 1);
        PutText(row, OR::ItemCode, 20, "ITEM1");
        PutDec(row, OR::Quantity, Dec(qty));
        PutDec(row, OR::Price, Dec(100));
        PutDec(row, OR::QtyShipped, Dec(shipped));
        PutText(row, OR::VatCode, 2, "1");
        PutText(row, OR::StructCode, 20, "_");
        EXPECT_TRUE(MatrixRowPut(ORVc::Number, 0, r.record, 0, row));
        OrderTotals(r.record);
        uint32_t recid = 0;
        EXPECT_TRUE(RecInsertUnchecked(ORVc::Number, r.record, &recid));
        return recid;
    }
    static void Press(int window, int button) {
        int b = button;
        WindowEvent(window, 23, &b, &b);
    }
    static int Open(int type, uint32_t recid) { return OpenOrActivateWindow(type, 0, recid, true, 0); }
};

// Buttons 1 and 2 of a stored order: a delivery and an invoice, each
// stored and shown in its own window with the new record.
TEST_F(DocumentButtonsTest, TheOrderButtonsMakeAndOpenADeliveryAndAnInvoice) {
    uint32_t order = StoreOrder(3, 2);
    int w = Open(WinTypes::Order, order);
    ASSERT_GT(w, 0);
    Press(w, 1);
    int delivery = WinFindByDef(WinTypes::Delivery);
    ASSERT_GT(delivery, 0);
    EXPECT_EQ(RegRecordCount(SHVc::Number), 1u);
    const uint8_t *d = WinRecordBuffer(delivery);
    EXPECT_EQ(GetU32(d, SHVc::OrderNr), 500u);
    ASSERT_EQ(MatrixRowCount(SHVc::Number, 0, d), 1);
    EXPECT_NE(WinTable[delivery]->recordId, 0u);

    Press(w, 2);
    int invoice = WinFindByDef(WinTypes::SalesInvoice);
    ASSERT_GT(invoice, 0);
    const uint8_t *inv = WinRecordBuffer(invoice);
    EXPECT_EQ(GetU32(inv, IVVc::OrderNr), 500u);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv), 1);
    uint8_t row[IVVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv, 0, row));
    EXPECT_EQ(Num(row, IVVc::Rows::Quantity), 2) << "what is shipped and not invoiced";
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
}

// An order being edited (or not yet stored) beeps and converts nothing;
// an order with nothing left to deliver opens no delivery window; an
// unlisted button and a type without buttons do nothing.
TEST_F(DocumentButtonsTest, RefusedButtonsBeepOrStaySilentAndOpenNothing) {
    uint32_t order = StoreOrder(3);
    int w = Open(WinTypes::Order, order);
    ASSERT_GT(w, 0);
    WinSetRecState(w, 2);
    int beeps = PlBeepCount();
    Press(w, 1);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(RegRecordCount(SHVc::Number), 0u);
    EXPECT_EQ(WinFindByDef(WinTypes::Delivery), 0);
    WinSetRecState(w, 0);

    // Nothing shipped: no invoice is made, a beep says so.
    beeps = PlBeepCount();
    Press(w, 2);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 0u);
    EXPECT_EQ(WinFindByDef(WinTypes::SalesInvoice), 0);

    beeps = PlBeepCount();
    Press(w, 9);
    EXPECT_EQ(PlBeepCount(), beeps);
    EXPECT_EQ(RegRecordCount(SHVc::Number) + RegRecordCount(IVVc::Number), 0u);

    int fresh = OpenOrActivateWindow(WinTypes::Order, 0, 0, true, 0);
    ASSERT_GT(fresh, 0);
    Press(fresh, 1);
    EXPECT_EQ(RegRecordCount(SHVc::Number), 0u) << "a new record has nothing stored to convert";

    // The order list on no row converts nothing and asks for a row (no
    // beep: the user is told what to do).
    int list = OpenOrActivateWindow(WinTypes::OrderList, 0, 0, true, 0);
    ASSERT_GT(list, 0);
    beeps = PlBeepCount();
    shown.clear();
    Press(list, 1);
    Press(list, 3);
    EXPECT_EQ(PlBeepCount(), beeps);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind("Choose a row of the list first", 0), 0u) << shown[0];
    EXPECT_EQ(RegRecordCount(SHVc::Number) + RegRecordCount(IVVc::Number), 0u);
}

// The quotation's button 1 makes an order and opens it.
TEST_F(DocumentButtonsTest, TheQuotationButtonMakesAnOrder) {
    uint32_t quotation = StoreRecord(QuotationVc::Number, [&](uint8_t *q) {
        PutU32(q, QuotationVc::SerNr, 9);
        PutText(q, QuotationVc::CustCode, 20, "C1");
        uint8_t row[QuotationVc::Rows::Size] = {};
        PutU16(row, QuotationVc::Rows::Kind, 1);
        PutText(row, QuotationVc::Rows::ItemCode, 20, "ITEM2");
        PutDec(row, QuotationVc::Rows::Quantity, Dec(4));
        ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, q, 0, row));
    });
    int w = Open(WinTypes::Quotation, quotation);
    ASSERT_GT(w, 0);
    Press(w, 1);
    int order = WinFindByDef(WinTypes::Order);
    ASSERT_GT(order, 0);
    EXPECT_EQ(Text(WinRecordBuffer(order), ORVc::CustCode), "C1");
    EXPECT_EQ(RegRecordCount(ORVc::Number), 1u);
}

// The list buttons act on the marked record: the order list makes an
// invoice of the marked order and opens it, the delivery list ships the
// marked delivery, the invoice list posts the marked invoice.
TEST_F(DocumentButtonsTest, ListButtonsActOnTheMarkedRecords) {
    uint32_t order = StoreOrder(4, 1);
    int list = OpenOrActivateWindow(WinTypes::OrderList, 0, 0, true, 0);
    ASSERT_GT(list, 0);
    ASSERT_TRUE(ListMarkAdd(list, (int32_t)order));
    Press(list, 2);
    int invoice = WinFindByDef(WinTypes::SalesInvoice);
    ASSERT_GT(invoice, 0);
    uint32_t invoiceId = WinTable[invoice]->recordId;
    EXPECT_EQ(GetU32(WinRecordBuffer(invoice), IVVc::OrderNr), 500u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);

    Press(list, 1);
    int delivery = WinFindByDef(WinTypes::Delivery);
    ASSERT_GT(delivery, 0);
    uint32_t deliveryId = WinTable[delivery]->recordId;
    int deliveries = OpenOrActivateWindow(WinTypes::DeliveryList, 0, 0, true, 0);
    ASSERT_GT(deliveries, 0);
    Press(deliveries, 1);
    RuleRecord d(SHVc::Number);
    ASSERT_TRUE(RecReadById(SHVc::Number, deliveryId, d.record));
    EXPECT_EQ(GetU16(d.record, SHVc::Shipped), 0) << "nothing marked, nothing shipped";
    ASSERT_TRUE(ListMarkAdd(deliveries, (int32_t)deliveryId));
    Press(deliveries, 1);
    ASSERT_TRUE(RecReadById(SHVc::Number, deliveryId, d.record));
    EXPECT_EQ(GetU16(d.record, SHVc::Shipped), 1);

    int invoices = OpenOrActivateWindow(WinTypes::SalesInvoiceList, 0, 0, true, 0);
    ASSERT_GT(invoices, 0);
    ASSERT_TRUE(ListMarkAdd(invoices, (int32_t)invoiceId));
    Press(invoices, 7);
    RuleRecord inv(IVVc::Number);
    ASSERT_TRUE(RecReadById(IVVc::Number, invoiceId, inv.record));
    EXPECT_EQ(GetU16(inv.record, IVVc::Posted), 0) << "an unlisted button does nothing";
    Press(invoices, 1);
    ASSERT_TRUE(RecReadById(IVVc::Number, invoiceId, inv.record));
    EXPECT_EQ(GetU16(inv.record, IVVc::Posted), 1);
}

// The item's button 1 opens a new purchase item filled from the item.
TEST_F(DocumentButtonsTest, TheItemButtonFillsANewPurchaseItem) {
    uint32_t item = 0;
    {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, "ITEM1");
        uint32_t position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &item, &position));
    }
    int w = Open(195, item);
    ASSERT_GT(w, 0);
    Press(w, 1);
    int source = WinFindByDef(284);
    ASSERT_GT(source, 0);
    const uint8_t *p = WinRecordBuffer(source);
    EXPECT_EQ(Text(p, PurchItemVc::ItemCode), "ITEM1");
    EXPECT_EQ(Text(p, PurchItemVc::Text), "Blue widget");
    EXPECT_EQ(Num(p, PurchItemVc::Price), 60);
    EXPECT_EQ(Num(p, PurchItemVc::MinQty), 1);
    EXPECT_EQ(Num(p, PurchItemVc::Threshold), 1);
    PackedDecimal unit = GetDec(p, PurchItemVc::PriceUnit);
    EXPECT_TRUE(DecIsBlank(&unit));
    EXPECT_NE(WinRecState(source), 0) << "the filled record waits to be stored";
}

}  // namespace
