// order_report_fixture.h - the report company grown with what the order,
// purchase-order, salesman and item statistics reports read.
//
// StoreOrderHistory() lays down, on top of the sales history of
// report_fixture.h (invoices 1-6, receipts 1-2, order 1 and its two
// deliveries):
//   invoice 7  C3  12.3.2024  ITEM2 2 x 50, salesman "S9" (no such person)
//   invoice 8  C1  14.3.2024  kind 3 credit note, ITEM1 1 x 100, salesman "S1"
//   invoices 1-5, 7, 8 and receipts 1-2 entered in the customer ledger
//   (which writes the item statistics);
//   persons S1 "Sally Seller" (commission 10 %), S2 "Sam Second" (150 %);
//   objects P1 "North", P2 "South";
//   order 2  C2   2.3.2024  EUR, P2, S2: ITEM1 4 x 100 less 10 %
//            (delivered 4, shipped 4, invoiced 1), ITEM2 3 x 50 (1, 1, 1)
//   order 3  C1  10.1.2024  ITEM2 1 x 50, delivered and invoiced in full
//   order 4  C3   5.3.2024  "P1,P2": ITEM1 200 x 100, nothing delivered
//            (more than the 100 in stock)
//   order 5  C1   8.3.2024  P1: ITEM2 10 x 50 delivered and shipped 10,
//            invoiced 4
//   purchase orders: 1 (V1, 1.3.2024, "R1"): ITEM1 10 x 60 received 4,
//   ITEM2 5 x 20 less 5 %; 2 (V2, 4.3.2024, "R2"): ITEM2 8 x 20; 3 (V1)
//   closed though still marked open; 5 (V0, 6.3.2024): ITEM1 1 x 60.
//   purchases 1 (V1, 1.2.2024): 100 ITEM1 at 55 and 2 (V2): 40 ITEM2 at
//   18, received: the receipts the stock's FIFO layers name; their
//   vouchers book stock against account 2450 "Goods not invoiced".
//   The company's fiscal year is 2024.
#pragma once

#include "operations/customer_receipt.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "tests/reports/report_fixture.h"

class OrderReportFixture : public ReportFixture {
protected:
    struct OrderLine {
        const char *item;
        double qty, price, discount, delivered, shipped, invoiced;
    };
    struct POLine {
        const char *item;
        double qty, price, discount, received;
    };

    void StoreOrderHistory() {
        StoreSalesHistory();
        ASSERT_FALSE(HasFatalFailure());
        PostInvoice({.serial = 7, .customer = "C3", .date = {12, 3, 2024}},
                    {{.item = "ITEM2", .qty = 2, .price = 50}}, "", "", "S9", 100, 25);
        PostInvoice({.serial = 8, .date = {14, 3, 2024}, .kind = 3},
                    {{.item = "ITEM1", .qty = 1, .price = 100, .link = 1}}, "", "", "S1", 100, 25);
        ASSERT_FALSE(HasFatalFailure());
        for (int32_t serial : {1, 2, 3, 4, 5, 7, 8}) {
            RuleRecord r(IVVc::Number);
            PutI32(r.record, IVVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, r.record, recid), ApproveResult::Changed) << serial;
        }
        for (int32_t serial = 1; serial <= 2; serial++) {
            RuleRecord r(IPVc::Number);
            PutI32(r.record, IPVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFind(IPVc::Number, r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveReceiptToCustomerLedger(IPVc::Number, r.record, recid), ApproveResult::Changed) << serial;
        }
        StorePerson("S1", "Sally Seller", 10);
        StorePerson("S2", "Sam Second", 150);
        for (auto [code, name] : {std::pair{"P1", "North"}, std::pair{"P2", "South"}}) {
            StoreRecord(OBVc::Number, [&](uint8_t *r) {
                PutText(r, OBVc::Code, 5, code);
                PutText(r, OBVc::Name, 60, name);
            });
        }
        StoreStatusOrder(2, "C2", {2, 3, 2024}, "P2", "S2", "EUR",
                         {{"ITEM1", 4, 100, 10, 4, 4, 1}, {"ITEM2", 3, 50, 0, 1, 1, 1}});
        StoreStatusOrder(3, "C1", {10, 1, 2024}, "", "", "", {{"ITEM2", 1, 50, 0, 1, 1, 1}});
        StoreStatusOrder(4, "C3", {5, 3, 2024}, "P1,P2", "", "", {{"ITEM1", 200, 100, 0, 0, 0, 0}});
        StoreStatusOrder(5, "C1", {8, 3, 2024}, "P1", "S1", "", {{"ITEM2", 10, 50, 0, 10, 10, 4}});
        StorePurchaseOrder(1, "V1", "Parts Ltd", {1, 3, 2024}, "R1", 0,
                           {{"ITEM1", 10, 60, 0, 4}, {"ITEM2", 5, 20, 5, 0}});
        StorePurchaseOrder(2, "V2", "Bolts Inc", {4, 3, 2024}, "R2", 0, {{"ITEM2", 8, 20, 0, 0}});
        StorePurchaseOrder(3, "V1", "Parts Ltd", {5, 3, 2024}, "R3", 1, {{"ITEM1", 1, 60, 0, 0}});
        StorePurchaseOrder(5, "V0", "Alpha Supply", {6, 3, 2024}, "R5", 0, {{"ITEM1", 1, 60, 0, 0}});
        StoreAccount("2450", "Goods not invoiced", 2);
        ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size, [](uint8_t *b) {
            PutText(b, SalesAccountsBlk::PurchClearingAcc, 10, "2450");
            PutText(b, SalesAccountsBlk::RoundingAcc, 10, InvoiceCo::Rounding);
        });
        StorePurchase(1, "V1", "ITEM1", 100, 55);
        StorePurchase(2, "V2", "ITEM2", 40, 18);
        ChangeBlock(CompanyBlk::Number, CompanyBlk::Size, [](uint8_t *b) {
            PutDate(b, CompanyBlk::YearStart, InvoiceCo::YearStart);
            PutDate(b, CompanyBlk::YearEnd, InvoiceCo::YearEnd);
        });
    }

    // A received purchase of one row, dated 1.2.2024 at the main location.
    void StorePurchase(int32_t serial, const char *vendor, const char *item, double qty, double cost) {
        StoreRecord(PUVc::Number, [&](uint8_t *r) {
            PutI32(r, PUVc::SerNr, serial);
            PutDate(r, PUVc::TransDate, DateRec{1, 2, 2024});
            PutText(r, PUVc::VendCode, 20, vendor);
            PutText(r, PUVc::VendName, 60, vendor);
            PutI32(r, PUVc::POSerNr, -1);
            PutText(r, PUVc::Location, 10, InvoiceCo::Location);
            PutU16(r, PUVc::Received, 1);
            PutDec(r, PUVc::ValueSum, Dec(qty * cost));
            PutDec(r, PUVc::QtySum, Dec(qty));
            uint8_t row[PUVc::Rows::Size] = {};
            PutText(row, PUVc::Rows::ItemCode, 20, item);
            PutDec(row, PUVc::Rows::Quantity, Dec(qty));
            PutDec(row, PUVc::Rows::Price, Dec(cost));
            PutDec(row, PUVc::Rows::UnitCost, Dec(cost));
            PutI32(row, PUVc::Rows::PORowNr, -1);
            ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, r, 0, row));
        });
    }

    void StorePerson(const char *code, const char *name, double commission) {
        StoreRecord(PEVc::Number, [&](uint8_t *r) {
            PutText(r, PEVc::Code, 5, code);
            PutText(r, PEVc::Name, 60, name);
            PutDec(r, PEVc::CommPrc, Dec(commission));
        });
    }

    // An order whose state words follow from its rows, as the order
    // window's save sets them; its net, VAT (25 %) and total from the rows.
    void StoreStatusOrder(int32_t serial, const char *customer, DateRec date, const char *objects,
                          const char *salesman, const char *currency, std::initializer_list<OrderLine> rows) {
        StoreRecord(ORVc::Number, [&](uint8_t *r) {
            PutText(r, ORVc::CustCode, 20, customer);
            PutI32(r, ORVc::SerNr, serial);
            PutDate(r, ORVc::OrdDate, date);
            PutText(r, ORVc::Addr0, 60, customer);
            PutText(r, ORVc::Objects, 30, objects);
            PutText(r, ORVc::SalesMan, 5, salesman);
            PutText(r, ORVc::CurncyCode, 5, currency);
            PutText(r, ORVc::Location, 10, InvoiceCo::Location);
            PutText(r, ORVc::DelivText, 10, "REF");
            double net = 0;
            for (const OrderLine &x : rows) {
                uint8_t row[ORVc::Rows::Size] = {};
                PutU16(row, ORVc::Rows::Kind, 1);
                PutText(row, ORVc::Rows::ItemCode, 20, x.item);
                PutText(row, ORVc::Rows::Text, 100, x.item);
                PutDec(row, ORVc::Rows::Quantity, Dec(x.qty));
                PutDec(row, ORVc::Rows::Price, Dec(x.price));
                PutDec(row, ORVc::Rows::Discount, Dec(x.discount));
                PutDec(row, ORVc::Rows::QtyDelivered, Dec(x.delivered));
                PutDec(row, ORVc::Rows::QtyShipped, Dec(x.shipped));
                PutDec(row, ORVc::Rows::QtyInvoiced, Dec(x.invoiced));
                const double sum = x.qty * x.price * (100 - x.discount) / 100;
                PutDec(row, ORVc::Rows::Sum, Dec(sum));
                net += sum;
                ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, r, MatrixRowCount(ORVc::Number, 0, r), row));
            }
            PutDec(r, ORVc::Net, Dec(net));
            PutDec(r, ORVc::Vat, Dec(net / 4));
            PutDec(r, ORVc::Total, Dec(net * 1.25));
            StatusMarkOrder(r);
        });
    }

    // A purchase order; closed ones keep their open word, as an order
    // closed by hand before its marks were derived would.
    void StorePurchaseOrder(int32_t serial, const char *vendor, const char *name, DateRec date, const char *reference,
                            uint16_t closed, std::initializer_list<POLine> rows) {
        StoreRecord(PurchOrderVc::Number, [&](uint8_t *r) {
            PutI32(r, PurchOrderVc::SerNr, serial);
            PutText(r, PurchOrderVc::VendCode, 20, vendor);
            PutText(r, PurchOrderVc::VendName, 60, name);
            PutDate(r, PurchOrderVc::PODate, date);
            PutText(r, PurchOrderVc::Reference, 20, reference);
            PutText(r, PurchOrderVc::Location, 10, InvoiceCo::Location);
            for (const POLine &x : rows) {
                uint8_t row[PurchOrderVc::Rows::Size] = {};
                PutU16(row, PurchOrderVc::Rows::Kind, 1);
                PutText(row, PurchOrderVc::Rows::ItemCode, 20, x.item);
                PutText(row, PurchOrderVc::Rows::Text, 100, x.item);
                PutDec(row, PurchOrderVc::Rows::Quantity, Dec(x.qty));
                PutDec(row, PurchOrderVc::Rows::Price, Dec(x.price));
                PutDec(row, PurchOrderVc::Rows::Discount, Dec(x.discount));
                PutDec(row, PurchOrderVc::Rows::QtyReceived, Dec(x.received));
                ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, r, MatrixRowCount(PurchOrderVc::Number, 0, r), row));
            }
            StatusMarkPurchaseOrder(r);
            PutU16(r, PurchOrderVc::Closed, closed);
            PutU16(r, PurchOrderVc::Open, 1);
        });
    }
};
