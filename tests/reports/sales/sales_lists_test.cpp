// sales_lists_test.cpp - the document lists (7, 53, 58, 59), the VAT-code
// check (67), the invoice journals (94, 95), the overdue items with
// interest (report 18 and the reminder run -8 through a recording form
// printer) and the statements of open invoices (66), as goldens over the
// sales history grown with goods received, quotations, a second order,
// purchase invoices with their vendors and a second payment; with the
// filters, a selection that takes nothing and Esc mid-walk.
#include <array>
#include <functional>
#include <tuple>

#include "reports/sales/customer_reports.h"
#include "reports/sales/sales_lists.h"
#include "rules/ledger.h"
#include "operations/customer_receipt.h"
#include "core/company_variant.h"
#include "output/forms/forms.h"
#include "platform/queue.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

// What the recording form printer was given, one entry a call.
struct FormCall {
    int16_t doctype;
    std::string customer;
    double total, interest, notOverdue, overdue, ageTotal;
    std::vector<int32_t> invoices;
    std::vector<double> interests;
};
std::vector<FormCall> FormCalls;
uint8_t FormAnswer = 1;

uint8_t RecordingFormPrinter(int16_t doctype, const uint8_t *block)
{
    FormCall c{doctype, {}, 0, 0, 0, 0, 0, {}, {}};
    PString code;
    ::GetText(FormCustomer, CUVc::Code, code);
    c.customer = PStringToStd(code);
    auto amount = [&](uint32_t at) {
        PackedDecimal d = GetDec(block, at);
        return DecIsBlank(&d) ? 0.0 : DecToDouble(&d);
    };
    c.total = amount(OverdueBlock::Total);
    c.interest = amount(OverdueBlock::Interest);
    c.notOverdue = amount(OverdueBlock::NotOverdue);
    c.overdue = amount(OverdueBlock::Overdue);
    c.ageTotal = amount(OverdueBlock::AgeTotal);
    const MemBlock rows = GetU32(block, OverdueBlock::Rows);
    const uint8_t *data = MemLock(rows);
    for (uint32_t i = 0; data && i < MemSize(rows) / OverdueRow::Size; i++) {
        c.invoices.push_back(GetI32(data + i * OverdueRow::Size, OverdueRow::InvoiceNr));
        PackedDecimal d = GetDec(data + i * OverdueRow::Size, OverdueRow::Interest);
        c.interests.push_back(DecIsBlank(&d) ? -1 : DecToDouble(&d));
    }
    if (data) MemUnlock(rows);
    FormCalls.push_back(c);
    return FormAnswer;
}

class SalesListsTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        FormCalls.clear();
        FormAnswer = 1;
        OverdueFormPrinter = RecordingFormPrinter;
    }
    void TearDown() override {
        CompanyVariantBind(nullptr);
        OverdueFormPrinter = PrintForm;
        ReportFixture::TearDown();
    }

    // The sales history entered in the customer ledger (invoices 1-5,
    // receipts 1-4: receipt 3 of 30 on account on 5.3, receipt 4 a second
    // payment of 4 on invoice 1 on 8.3), C3's invoice 7 paid by receipt 5
    // and its invoice 8 not yet due, C4 without any invoice; the open
    // items as those payments leave them.
    void StoreLedgerHistory() {
        StoreSalesHistory();
        ASSERT_FALSE(HasFatalFailure());
        StoreReceipt(3, {5, 3, 2024}, "", 0, {{1, -1, "C1", {0, 0, 0}, 30}}, 30);
        StoreReceipt(4, {8, 3, 2024}, "", 0, {{1, 1, "C1", {0, 0, 0}, 4}}, 4);
        PostInvoice({.serial = 7, .customer = "C3", .date = {1, 3, 2024}}, {{.item = "ITEM2", .qty = 1, .price = 50}},
                    "", "", "", 50, 12.5);
        PostInvoice({.serial = 8, .customer = "C3", .date = {12, 3, 2024}}, {{.item = "ITEM2", .qty = 1, .price = 40}},
                    "", "", "", 40, 10);
        StoreReceipt(5, {10, 3, 2024}, "", 0, {{1, 7, "C3", {0, 0, 0}, 62.5}}, 62.5);
        StoreInvoiceCustomer("C4", "Quiet Customer");
        ASSERT_FALSE(HasFatalFailure());
        for (int32_t serial : {1, 2, 3, 4, 5, 7, 8}) {
            RuleRecord r(IVVc::Number);
            PutI32(r.record, IVVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, r.record, recid), ApproveResult::Changed);
        }
        for (int32_t serial = 1; serial <= 5; serial++) {
            RuleRecord r(IPVc::Number);
            PutI32(r.record, IPVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFind(IPVc::Number, r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveReceiptToCustomerLedger(IPVc::Number, r.record, recid), ApproveResult::Changed);
        }
        // The open items as the receipts left them: 6 of invoice 1, none of
        // the paid invoices 3 and 7.
        for (int32_t serial : {1, 3, 7}) {
            RuleRecord item(ARVc::Number);
            PutI32(item.record, ARVc::InvoiceNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFind(ARVc::Number, item.record, 1, 1, &recid, &position)) << serial;
            if (serial == 1) {
                PutDec(item.record, ARVc::OpenAmount, Dec(6));
                PutDec(item.record, ARVc::HomeAmount, Dec(6));
                ASSERT_TRUE(RecStore(ARVc::Number, item.record, 1, &recid));
            } else {
                ASSERT_EQ(RecDeleteChecked(ARVc::Number, item.record, &recid, nullptr), RecDone) << serial;
            }
        }
    }

    // Goods received 1 (V1, 2.3, received, two rows) and 2 (V2 in EUR,
    // 9.3, not received).
    void StoreGoodsReceived() {
        struct Row {
            const char *item;
            double qty, price, cost;
            const char *charge;
        };
        auto store = [&](int32_t serial, DateRec date, const char *vendor, const char *name, int32_t po,
                         uint16_t received, const char *currency, std::initializer_list<Row> rows) {
            StoreRecord(PUVc::Number, [&](uint8_t *r) {
                PutI32(r, PUVc::SerNr, serial);
                PutDate(r, PUVc::RegDate, date);
                PutDate(r, PUVc::TransDate, date);
                PutText(r, PUVc::Text, 60, "Widgets in");
                PutText(r, PUVc::VendCode, 20, vendor);
                PutText(r, PUVc::VendName, 60, name);
                PutI32(r, PUVc::POSerNr, po);
                PutU16(r, PUVc::Received, received);
                PutText(r, PUVc::Currency, 5, currency);
                double value = 0, qty = 0;
                for (const Row &x : rows) {
                    uint8_t row[PUVc::Rows::Size] = {};
                    PutText(row, PUVc::Rows::ItemCode, 20, x.item);
                    PutDec(row, PUVc::Rows::Quantity, Dec(x.qty));
                    PutText(row, PUVc::Rows::Text, 60, x.item);
                    PutDec(row, PUVc::Rows::Price, Dec(x.price));
                    PutText(row, PUVc::Rows::Charge, 20, x.charge);
                    PutDec(row, PUVc::Rows::UnitCost, Dec(x.cost));
                    PutI32(row, PUVc::Rows::PORowNr, -1);
                    ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, r, MatrixRowCount(PUVc::Number, 0, r), row));
                    value += x.qty * x.cost;
                    qty += x.qty;
                }
                PutDec(r, PUVc::ValueSum, Dec(value));
                PutDec(r, PUVc::QtySum, Dec(qty));
            });
        };
        store(1, {2, 3, 2024}, "V1", "First Vendor", 7, 1, "", {{"ITEM1", 3, 60, 60, ""}, {"ITEM2", 2, 20, 20, ""}});
        store(2, {9, 3, 2024}, "V2", "Second Vendor", -1, 0, "EUR", {{"ITEM2", 10, 5, 57.38, "2%"}});
    }

    // Quotations 1 (C1, 4.3, class "A") and 2 (C2 in EUR outside the VAT
    // zone, 8.3, class "B", a discounted row).
    void StoreQuotations() {
        auto store = [&](int32_t serial, const char *customer, const char *name, DateRec date, const char *salesman,
                         const char *cls, const char *currency, uint16_t zone, const char *item, double qty,
                         double price, double discount, const char *vat, double net, double vatSum) {
            StoreRecord(QuotationVc::Number, [&](uint8_t *r) {
                PutI32(r, QuotationVc::SerNr, serial);
                PutText(r, QuotationVc::CustCode, 20, customer);
                PutDate(r, QuotationVc::QTDate, date);
                PutText(r, QuotationVc::CustName, 60, name);
                PutText(r, QuotationVc::Addr1, 60, "Quote street 1");
                PutText(r, QuotationVc::Addr2, 60, "Quote town");
                PutText(r, QuotationVc::PayTerms, 2, "30");
                PutText(r, QuotationVc::SalesMan, 5, salesman);
                PutText(r, QuotationVc::QuoteClass, 5, cls);
                PutText(r, QuotationVc::CurncyCode, 5, currency);
                PutU16(r, QuotationVc::VatZone, zone);
                PutDec(r, QuotationVc::NetTotal, Dec(net));
                PutDec(r, QuotationVc::VatTotal, Dec(vatSum));
                PutDec(r, QuotationVc::Total, Dec(net + vatSum));
                uint8_t row[QuotationVc::Rows::Size] = {};
                PutU16(row, QuotationVc::Rows::Kind, 1);
                PutText(row, QuotationVc::Rows::ItemCode, 20, item);
                PutText(row, QuotationVc::Rows::Text, 100, item);
                PutDec(row, QuotationVc::Rows::Quantity, Dec(qty));
                PutDec(row, QuotationVc::Rows::Price, Dec(price));
                PutDec(row, QuotationVc::Rows::Discount, Dec(discount));
                PutDec(row, QuotationVc::Rows::Sum, Dec(net));
                PutText(row, QuotationVc::Rows::VatCode, 2, vat);
                ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, r, 0, row));
                uint8_t text[QuotationVc::Rows::Size] = {};
                PutU16(text, QuotationVc::Rows::Kind, 3);
                PutText(text, QuotationVc::Rows::Text, 100, "A text row");
                ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, r, 1, text));
            });
        };
        store(1, "C1", "First Customer", {4, 3, 2024}, "S1", "A", "", 0, "ITEM1", 2, 100, 0, "1", 200, 50);
        store(2, "C2", "Euro Customer", {8, 3, 2024}, "S2", "B", "EUR", 1, "ITEM2", 4, 50, 10, "0", 180, 0);
    }

    // Order 2: C2 in EUR at 1125, 6.3, objects "P2", salesman "S2", one
    // item row and a text row whose sum is blank.
    void StoreSecondOrder() {
        StoreRecord(ORVc::Number, [&](uint8_t *r) {
            PutText(r, ORVc::CustCode, 20, "C2");
            PutI32(r, ORVc::SerNr, 2);
            PutDate(r, ORVc::OrdDate, DateRec{6, 3, 2024});
            PutText(r, ORVc::Addr0, 60, "Euro Customer");
            PutText(r, ORVc::Objects, 30, "P2");
            PutText(r, ORVc::SalesMan, 5, "S2");
            PutText(r, ORVc::PayTerms, 2, "30");
            PutText(r, ORVc::CurncyCode, 5, "EUR");
            PutDec(r, ORVc::Rate, Dec(1125));
            PutU16(r, ORVc::Open, 1);
            PutDec(r, ORVc::Net, Dec(300));
            PutDec(r, ORVc::Total, Dec(300));
            uint8_t row[ORVc::Rows::Size] = {};
            PutU16(row, ORVc::Rows::Kind, 1);
            PutText(row, ORVc::Rows::ItemCode, 20, "ITEM2");
            PutText(row, ORVc::Rows::Text, 100, "ITEM2");
            PutDec(row, ORVc::Rows::Quantity, Dec(6));
            PutDec(row, ORVc::Rows::Price, Dec(50));
            PutDec(row, ORVc::Rows::Sum, Dec(300));
            ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, r, 0, row));
            uint8_t text[ORVc::Rows::Size] = {};
            PutU16(text, ORVc::Rows::Kind, 3);
            PutText(text, ORVc::Rows::Text, 100, "Deliver in spring");
            ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, r, 1, text));
        });
    }

    // Vendors V1 (class "A") and V2 ("B") and purchase invoices: 1 (V1,
    // approved) a taxed and a VAT-free row; 2 (V2, not approved) wholly
    // VAT-free; 3 (V1) a credit note with a taxed and a VAT-free row; 4
    // (V2 in EUR at 1125) a row of VAT code 2 and a note row.
    void StorePurchaseInvoices() {
        for (auto [code, name, cls] : {std::tuple{"V1", "First Vendor", "A"}, std::tuple{"V2", "Second Vendor", "B"}})
            StoreRecord(VEVc::Number, [&](uint8_t *r) {
                PutText(r, VEVc::Code, 20, code);
                PutText(r, VEVc::Name, 60, name);
                PutText(r, VEVc::Addr1, 60, "Vendor road 1");
                PutText(r, VEVc::Addr3, 60, "Lund");
                PutText(r, VEVc::AccountNr, 20, "Our no. 9");
                PutText(r, VEVc::VEGroup, 5, cls);
            });
        struct Row {
            uint16_t kind;
            double amount;
            const char *vat;
        };
        auto store = [&](int32_t serial, const char *vendor, DateRec date, const char *number, uint16_t approved,
                         uint16_t kind, double rate, double total, std::initializer_list<Row> rows) {
            StoreRecord(VIVc::Number, [&](uint8_t *r) {
                PutI32(r, VIVc::SerNr, serial);
                PutDate(r, VIVc::InvDate, date);
                PutDate(r, VIVc::TransDate, DateRec{(uint16_t)(date.day + 1), date.month, date.year});
                PutText(r, VIVc::VendInvNr, 20, number);
                PutU16(r, VIVc::Approved, approved);
                PutText(r, VIVc::VendCode, 20, vendor);
                PutU16(r, VIVc::InvType, kind);
                PackedDecimal rt = Dec(rate);
                if (rate == 0) DecSetBlank(&rt);
                PutDec(r, VIVc::Rate, rt);
                PutDec(r, VIVc::InvAmount, Dec(total));
                for (const Row &x : rows) {
                    uint8_t row[VIVc::Rows::Size] = {};
                    PutU16(row, VIVc::Rows::Kind, x.kind);
                    PutDec(row, VIVc::Rows::Amount, Dec(x.amount));
                    PutText(row, VIVc::Rows::VatCode, 2, x.vat);
                    ASSERT_TRUE(MatrixRowPut(VIVc::Number, 0, r, MatrixRowCount(VIVc::Number, 0, r), row));
                }
            });
        };
        store(1, "V1", {3, 3, 2024}, "F-100", 1, 1, 0, 175, {{1, 100, "1"}, {1, 50, ""}});
        store(2, "V2", {6, 3, 2024}, "F-200", 0, 1, 0, 80, {{1, 80, ""}});
        store(3, "V1", {10, 3, 2024}, "F-101", 1, 3, 0, 60, {{1, 40, "1"}, {1, 10, ""}});
        store(4, "V2", {12, 3, 2024}, "F-201", 1, 1, 1125, 112, {{1, 100, "2"}, {3, 999, "1"}});
    }

    void StoreDocuments() {
        StoreSalesHistory();
        ASSERT_FALSE(HasFatalFailure());
        StoreGoodsReceived();
        StoreQuotations();
        StoreSecondOrder();
        ASSERT_FALSE(HasFatalFailure());
    }

    // Runs body with the selection made by set and compares it with golden.
    void Golden(const char *golden, void (*body)(), int report, const std::function<void()> &set) {
        SCOPED_TRACE(golden);
        ResetParams();
        SetWord(P::ReportNumber, (uint16_t)report);
        set();
        ExpectGolden(golden, RunText(body));
    }
    // The company rule value (the company block's variant word) the
    // overdue items read.
    void SetCompanyRule(uint16_t value) {
        PutU16(companyBlock.data(), CompanyBlk::CompanyVariant, value);
        CompanyVariantBind(companyBlock.data());
    }
    std::array<uint8_t, CompanyBlk::Size> companyBlock{};

    // The stored invoice's reminder counter.
    static int32_t NoticeCount(int32_t serial) {
        RuleRecord r(IVVc::Number);
        PutI32(r.record, IVVc::SerNr, serial);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position));
        return GetI32(r.record, IVVc::NoticeCount);
    }
    void SetCustomerWord686(const char *code, uint16_t value) {
        RuleRecord c(CUVc::Number);
        PutText(c.record, CUVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(CUVc::Number, c.record, 1, 1, &recid, &position));
        PutU16(c.record, CUVc::NoticeCounting, value);
        ASSERT_TRUE(RecStoreByKey(CUVc::Number, c.record, 1, &recid));
    }
};

// ---- VAT-code check ----

// A sound table lists nothing; a code with an empty and an unknown
// account lists two blocks; the check tells which fault it is.
TEST_F(SalesListsTest, VatCodeCheckListsOnlyTheFaults) {
    int message = 0;
    PString account;
    PStringFromC(account, InvoiceCo::VatOut);
    EXPECT_TRUE(VatAccountCheck(account, &message));
    PStringFromC(account, "");
    EXPECT_FALSE(VatAccountCheck(account, &message));
    EXPECT_EQ(message, 4202);
    PStringFromC(account, "9999");
    EXPECT_FALSE(VatAccountCheck(account, &message));
    EXPECT_EQ(message, 4203);
    Golden("report67_sound", OverTestJob<VatCodeCheckReport>, 67, [] {});
    AddRow(VatAccountsBlk::Number, VatAccountsBlk::Rows::Size, [&](uint8_t *r) {
        PutText(r, VatAccountsBlk::Rows::VatCode, 2, "2");
        PutText(r, VatAccountsBlk::Rows::AccZone1, 10, "9999");
        PutText(r, VatAccountsBlk::Rows::AccZone2, 10, InvoiceCo::VatOut);
    });
    Golden("report67_faults", OverTestJob<VatCodeCheckReport>, 67, [] {});
}

// ---- Document lists ----

TEST_F(SalesListsTest, DeliveriesByLayoutAndFilter) {
    StoreDocuments();
    ASSERT_FALSE(HasFatalFailure());
    auto both = [] {
        SetWord(P::Option2, 1);
        SetWord(P::Option3, 1);
    };
    Golden("report7_layout0", OverTestJob<DeliveryReport>, 7, both);
    Golden("report7_layout1", OverTestJob<DeliveryReport>, 7, [&] { both(); SetWord(P::ReportLayout, 1); });
    Golden("report7_shipped", OverTestJob<DeliveryReport>, 7, [] { SetWord(P::Option3, 1); });
    Golden("report7_no_flags", OverTestJob<DeliveryReport>, 7, [] {});
    Golden("report7_reversed_range", OverTestJob<DeliveryReport>, 7, [&] { both(); SetText(P::SelText1, "2:1"); });
    Golden("report7_period", OverTestJob<DeliveryReport>, 7, [&] { both(); SetPeriod({6, 3, 2024}, {31, 3, 2024}); });
}

TEST_F(SalesListsTest, GoodsReceivedWithTheirValue) {
    StoreDocuments();
    ASSERT_FALSE(HasFatalFailure());
    auto both = [] {
        SetWord(P::Option2, 1);
        SetWord(P::Option3, 1);
    };
    Golden("report53_layout0", OverTestJob<PurchaseReport53>, 53, both);
    Golden("report53_layout1", OverTestJob<PurchaseReport53>, 53, [&] { both(); SetWord(P::ReportLayout, 1); });
    Golden("report53_vendor_and_po", OverTestJob<PurchaseReport53>, 53, [&] {
        both();
        SetWord(P::ReportLayout, 1);
        SetText(P::SelText2, "V1");
        SetText(P::SelText8, "5:9");
    });
    Golden("report53_nobody", OverTestJob<PurchaseReport53>, 53, [&] { both(); SetText(P::SelText2, "NOBODY"); });
}

TEST_F(SalesListsTest, SalesOrdersAtHomePrices) {
    StoreDocuments();
    ASSERT_FALSE(HasFatalFailure());
    Golden("report58_layout0", OverTestJob<SalesOrderReport>, 58, [] {});
    Golden("report58_layout1", OverTestJob<SalesOrderReport>, 58, [] { SetWord(P::ReportLayout, 1); });
    Golden("report58_layout2", OverTestJob<SalesOrderReport>, 58, [] { SetWord(P::ReportLayout, 2); });
    Golden("report58_objects", OverTestJob<SalesOrderReport>, 58, [] { SetText(P::ObjectSel, "P2"); });
    Golden("report58_salesman", OverTestJob<SalesOrderReport>, 58, [] { SetText(P::SelText7, "S9"); });
}

TEST_F(SalesListsTest, QuotationsByLayoutAndClass) {
    StoreDocuments();
    ASSERT_FALSE(HasFatalFailure());
    Golden("report59_layout0", OverTestJob<QuotationReport>, 59, [] {});
    Golden("report59_layout1", OverTestJob<QuotationReport>, 59, [] { SetWord(P::ReportLayout, 1); });
    Golden("report59_class", OverTestJob<QuotationReport>, 59, [] { SetText(P::SelText5, "B"); });
}

// Lines started in the Esc test's job; the second (the first order's)
// posts Esc, as a user pressing it while that order prints.
int LinesStarted = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 2) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while the first order prints: the walk stops after it (its amounts
// printed), the second order is never reached and the job ends stopped.
TEST_F(SalesListsTest, EscStopsTheListAfterTheDocumentAtHand) {
    StoreDocuments();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    ResetParams();
    SetWord(P::ReportNumber, 58);
    SetWord(P::OutputKind, OutPreview);
    RecLog.clear();
    LinesStarted = 0;
    OverTestJob<SalesOrderReport>();
    RepDeviceInstall(OutPreview, saved);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_EQ(RepStopped, 1);
    bool first = false;
    for (const RecCall &call : RecLog) {
        first = first || call.text == "600,00";
        EXPECT_NE(call.text, "Euro Customer");
    }
    EXPECT_TRUE(first) << "order 1's amounts";
}

// Esc during the reminder run: the customer at hand is finished, no
// other is reached.
TEST_F(SalesListsTest, EscStopsTheReminderRunAfterTheCustomerAtHand) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    ResetParams();
    OverdueFormPrinter = [](int16_t doctype, const uint8_t *block) {
        CancelFlag = 1;
        return RecordingFormPrinter(doctype, block);
    };
    OverTestJobArg<CustomerReport18>(0);
    CancelFlag = 0;
    ASSERT_EQ(FormCalls.size(), 1u);
    EXPECT_EQ(FormCalls[0].customer, "C1");
}

// ---- Invoice journals ----

TEST_F(SalesListsTest, SalesInvoiceJournalByCode) {
    StoreSalesHistory();
    ASSERT_FALSE(HasFatalFailure());
    auto every = [] {
        for (uint32_t o : {P::Option2, P::Option3, P::Option4, P::Option5, P::Option6, P::Option7}) SetWord(o, 1);
    };
    Golden("report94_all", OverTestJob<SalesInvoiceJournal>, 94, every);
    Golden("report94_every_code", OverTestJob<SalesInvoiceJournal>, 94, [&] { every(); SetWord(P::Option10, 1); });
    Golden("report94_credit_notes", OverTestJob<SalesInvoiceJournal>, 94, [&] { every(); SetWord(P::Option6, 0); });
    Golden("report94_by_date", OverTestJob<SalesInvoiceJournal>, 94, [&] {
        every();
        SetWord(P::Option8, 1);
        SetPeriod({1, 2, 2024}, {29, 2, 2024});
        SetText(P::SelText1, "4:9");
    });
    Golden("report94_unposted_only", OverTestJob<SalesInvoiceJournal>, 94, [&] { every(); SetWord(P::Option2, 0); });
    // The country variant that counts the invoices and sums them by
    // whether they bear VAT.
    SetCompanyRule(37);
    Golden("report94_country_count", OverTestJob<SalesInvoiceJournal>, 94, every);
}

TEST_F(SalesListsTest, PurchaseInvoiceJournalByCodeAndVatFree) {
    StorePurchaseInvoices();
    ASSERT_FALSE(HasFatalFailure());
    auto every = [] {
        for (uint32_t o : {P::Option2, P::Option3, P::Option6, P::Option7}) SetWord(o, 1);
    };
    Golden("report95_all", OverTestJob<PurchInvoiceJournal>, 95, every);
    Golden("report95_class_a", OverTestJob<PurchInvoiceJournal>, 95, [&] { every(); SetText(P::SelText3, "A"); });
    Golden("report95_every_code", OverTestJob<PurchInvoiceJournal>, 95, [&] { every(); SetWord(P::Option10, 1); });
    SetCompanyRule(37);
    Golden("report95_country_count", OverTestJob<PurchInvoiceJournal>, 95, every);
}

// An invoice with no VAT-coded row is listed and its amount counted in
// the VAT-free total; a credit note takes back its VAT-free part.
TEST_F(SalesListsTest, WhollyVatFreePurchasesCountInTheVatFreeTotal) {
    StorePurchaseInvoices();
    ASSERT_FALSE(HasFatalFailure());
    ResetParams();
    SetWord(P::ReportNumber, 95);
    for (uint32_t o : {P::Option2, P::Option3, P::Option6, P::Option7}) SetWord(o, 1);
    SetText(P::SelText1, "2");
    std::string text = RunText(PurchInvoiceJournal);
    EXPECT_NE(text.find("F-200"), std::string::npos);
    // The invoice's own VAT-free line and the run's total.
    size_t first = text.find("80,00"), second = text.find("80,00", first + 1);
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    SetText(P::SelText1, "1:3");
    text = RunText(PurchInvoiceJournal);
    // 50 + 80 - 10.
    EXPECT_NE(text.find("120,00"), std::string::npos);
}

// ---- Overdue items and interest ----

TEST_F(SalesListsTest, InterestOfOneOverdueRow) {
    uint8_t item[ARVc::Size] = {};
    PutI32(item, ARVc::InvoiceNr, 77);
    PutDec(item, ARVc::OpenAmount, Dec(1000));
    PutU16(item, ARVc::InvType, 1);
    auto interest = [&](DateRec due) {
        PutDate(item, ARVc::DueDate, due);
        MemBlock rows = 0;
        PackedDecimal i;
        EXPECT_TRUE(OverdueRowAdd(&rows, item, nullptr, &i));
        EXPECT_EQ(MemSize(rows), OverdueRow::Size);
        const double v = DecIsBlank(&i) ? -1 : DecToDouble(&i);
        MemFree(&rows);
        return v;
    };
    InterestDayCap = 0xFFFFFFFFu;
    EXPECT_EQ(interest({15, 3, 2024}), -1) << "due today";
    EXPECT_EQ(interest({14, 3, 2024}), 0.22) << "one day";
    EXPECT_EQ(interest({14, 2, 2024}), 6.58) << "30 days";
    PutU16(item, ARVc::InvType, 3);
    EXPECT_EQ(interest({14, 2, 2024}), -1) << "a credit note bears none";
    // Company rule 7: every kind bears interest, for at most the cap.
    SetCompanyRule(7);
    InterestDayCap = 10;
    EXPECT_EQ(interest({4, 2, 2024}), 2.19) << "40 days capped at 10";
    InterestDayCap = 0xFFFFFFFFu;
    // Rows grow one by one and keep what they hold.
    MemBlock rows = 0;
    PackedDecimal i;
    for (int n = 0; n < 3; n++) ASSERT_TRUE(OverdueRowAdd(&rows, item, nullptr, &i));
    ASSERT_EQ(MemSize(rows), 3 * OverdueRow::Size);
    const uint8_t *data = MemLock(rows);
    EXPECT_EQ(GetI32(data + 2 * OverdueRow::Size, OverdueRow::InvoiceNr), 77);
    EXPECT_EQ(GetU16(data + 2 * OverdueRow::Size, OverdueRow::One), 1);
    MemUnlock(rows);
    MemFree(&rows);
}

TEST_F(SalesListsTest, OverdueItemsReport) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    Golden("report18_layout0", [] { OverTestJobArg<CustomerReport18>(1); }, 18, [] {});
    Golden("report18_two_days", [] { OverTestJobArg<CustomerReport18>(1); }, 18, [] { SetWord(P::ReportLayout, 1); });
    Golden("report18_currency", [] { OverTestJobArg<CustomerReport18>(1); }, 18, [] { SetWord(P::Option5, 1); });
    Golden("report18_objects", [] { OverTestJobArg<CustomerReport18>(1); }, 18, [] { SetText(P::ObjectSel, "P1"); });
    Golden("report18_nobody", [] { OverTestJobArg<CustomerReport18>(1); }, 18, [] { SetText(P::SelText1, "X1:X9"); });
    SetCompanyRule(7);
    Golden("report18_capped", [] { OverTestJobArg<CustomerReport18>(1); }, 18,
           [] { PutDate(TestJob, P::Date2From, DateRec{5, 3, 2024}); });
}

// The header of report 18 names the objects its items were chosen by.
TEST_F(SalesListsTest, OverdueHeaderNamesTheObjects) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    ResetParams();
    SetWord(P::ReportNumber, 18);
    SetWord(P::OutputKind, OutPreview);
    SetText(P::ObjectSel, "P1");
    RecLog.clear();
    OverTestJobArg<CustomerReport18>(1);
    RepDeviceInstall(OutPreview, saved);
    bool named = false;
    for (const RecCall &call : RecLog)
        named = named || (call.name == "headerLine" && call.text.find("P1") != std::string::npos);
    EXPECT_TRUE(named);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
}

// The reminder run hands each customer with items its block; the
// reminders are counted on the invoices only when the form printed.
TEST_F(SalesListsTest, ReminderRunThroughTheFormPrinter) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    SetCustomerWord686("C1", 1);
    ResetParams();
    SetWord(P::ReportNumber, (uint16_t)-8);
    SetWord(P::Option3, 1);
    const int32_t before = NoticeCount(1);
    FormAnswer = 0;
    OverTestJobArg<CustomerReport18>(0);
    ASSERT_FALSE(FormCalls.empty());
    EXPECT_EQ(NoticeCount(1), before) << "a failed print counts no reminder";
    FormCalls.clear();
    FormAnswer = 1;
    OverTestJobArg<CustomerReport18>(0);
    ASSERT_FALSE(FormCalls.empty());
    const FormCall &c1 = FormCalls[0];
    EXPECT_EQ(c1.doctype, -8);
    EXPECT_EQ(c1.customer, "C1");
    ASSERT_FALSE(c1.invoices.empty());
    EXPECT_EQ(c1.invoices[0], 1);
    EXPECT_EQ(c1.total, c1.notOverdue + c1.overdue);
    EXPECT_GT(c1.interest, 0);
    EXPECT_EQ(NoticeCount(1), before + 1);
    for (const FormCall &c : FormCalls) EXPECT_NE(c.customer, "C4") << "C4 has no open items";
    EXPECT_GE(FormCalls.size(), 2u);
    // Only the customer range: nobody, no form.
    FormCalls.clear();
    SetText(P::SelText1, "X1:X9");
    OverTestJobArg<CustomerReport18>(0);
    EXPECT_TRUE(FormCalls.empty());
}

// A customer without open items adds nothing to the grand total and
// prints nothing; credit notes stay off the reminder unless asked for.
TEST_F(SalesListsTest, CustomerWithoutItemsPrintsNothing) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    ResetParams();
    PString code;
    PStringFromC(code, "C4");
    PackedDecimal grand = Dec(5);
    CustomerOverdueItems(TestJob, code, 0, &grand);
    EXPECT_EQ(DecToDouble(&grand), 5);
    EXPECT_TRUE(FormCalls.empty());
    PStringFromC(code, "C1");
    CustomerOverdueItems(TestJob, code, 0, &grand);
    ASSERT_EQ(FormCalls.size(), 1u);
    EXPECT_EQ(DecToDouble(&grand), 5 + FormCalls[0].total);
}

// ---- Statements of open invoices ----

TEST_F(SalesListsTest, StatementsOfOpenInvoices) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    Golden("report66_layout0", OverTestJob<CustomerStatementReport>, 66, [] {});
    Golden("report66_open_only", OverTestJob<CustomerStatementReport>, 66, [] { SetWord(P::RangeKind, 1); });
    Golden("report66_overdue_only", OverTestJob<CustomerStatementReport>, 66, [] { SetWord(P::RangeKind, 2); });
    Golden("report66_as_of", OverTestJob<CustomerStatementReport>, 66, [] {
        SetWord(P::ReportLayout, 1);
        PutDate(TestJob, P::Date2From, DateRec{1, 2, 2024});
    });
    Golden("report66_no_choice", OverTestJob<CustomerStatementReport>, 66, [] { SetWord(P::RangeKind, 3); });
}

// Invoice 1 has two payments: its number and date print on the first
// payment line only, and its open line shows the dots, no number.
TEST_F(SalesListsTest, StatementPaymentLinesOfAnInvoice) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    ResetParams();
    SetWord(P::ReportNumber, 66);
    SetText(P::SelText1, "C1");
    const std::string text = RunText(CustomerStatementReport);
    const size_t first = text.find("1\t10.01.2024\t31.01.2024\t240,00");
    ASSERT_NE(first, std::string::npos) << text;
    const size_t second = text.find("\n08.03.2024\t4,00", first);
    EXPECT_NE(second, std::string::npos) << text;
    EXPECT_NE(text.find("\n...........\t6,00", second), std::string::npos) << text;
}

}  // namespace
