// Orders, quotations and contracts are checked before they are stored:
// each fault shown at its field or row and column, the number drawn for a
// refused record given back, a series fault that a later fault replaces.
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/checks.h"
#include "rules/hooks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class SalesChecks : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreCustomer("C1");
        StoreItem("BOLT");
        StoreTerms("K", 3, 0);
        StoreTerms("30", 1, 30);
        AddSeriesRow(OrderSeriesBlk::Number, 1, 100);
        AddSeriesRow(QuotationSeriesBlk::Number, 1, 100);
    }
    // The number of the last text shown among those a sales check gives;
    // 0 when none was shown.
    static int Shown() {
        for (int n : {0, 1120, 1125, 1130, 1134, 1164, 1206, 1227, 1245, 1302, 1547, 1557}) {
            char text[256];
            GetUiTextC(text, n);
            if (!shown.empty() && shown.back() == text) return n;
        }
        return shown.empty() ? 0 : -1;
    }
    // A sales row of kind 1 of register reg (7, 55 or 45).
    static void Row(int reg, uint8_t *r, const char *item, double amount, const char *vat, double qty = 1,
                    double delivered = 0, const char *account = "") {
        uint8_t row[400] = {};
        PutU16(row, 0, 1);
        if (reg == ORVc::Number) {
            PutText(row, ORVc::Rows::ItemCode, 20, item);
            PutDec(row, ORVc::Rows::Quantity, Dec(qty));
            PutDec(row, ORVc::Rows::Sum, Dec(amount));
            PutDec(row, ORVc::Rows::QtyDelivered, Dec(delivered));
            PutText(row, ORVc::Rows::SalesAcc, 10, account);
            PutText(row, ORVc::Rows::VatCode, 2, vat);
        } else if (reg == QuotationVc::Number) {
            PutText(row, QuotationVc::Rows::ItemCode, 20, item);
            PutDec(row, QuotationVc::Rows::Sum, Dec(amount));
            PutText(row, QuotationVc::Rows::VatCode, 2, vat);
        } else {
            PutText(row, ContractVc::Rows::ItemCode, 20, item);
            PutDec(row, ContractVc::Rows::Sum, Dec(amount));
            PutText(row, ContractVc::Rows::SalesAcc, 10, account);
            PutText(row, ContractVc::Rows::VatCode, 2, vat);
        }
        ASSERT_TRUE(MatrixRowPut(reg, 0, r, MatrixRowCount(reg, 0, r), row));
    }
    static void Order(uint8_t *o, uint32_t serial, const char *customer = "C1") {
        PutU32(o, ORVc::SerNr, serial);
        PutDate(o, ORVc::OrdDate, DateRec{15, 6, 2024});
        PutText(o, ORVc::CustCode, 20, customer);
        PutText(o, ORVc::PayTerms, 2, "30");
    }
};

// The order's faults in their order, each at its place; a number drawn for
// a refused order is given back.
TEST_F(SalesChecks, OrderFaultsAtTheirPlaces) {
    RuleRecord o(ORVc::Number);
    Order(o.record, SerialNone, "NOBODY");
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(Shown(), 1120);
    EXPECT_EQ(FieldErrorPos.field, ORVc::CustCode);
    EXPECT_EQ(GetU32(o.record, ORVc::SerNr), SerialNone);

    Order(o.record, SerialNone);
    PutText(o.record, ORVc::PayTerms, 2, "K");
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.field), std::make_pair(1227, (int)ORVc::PayTerms));

    Order(o.record, SerialNone);
    Row(ORVc::Number, o.record, "BOLT", 10, "1");
    Row(ORVc::Number, o.record, "NUT", 0, "");
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(Shown(), 1120);
    EXPECT_EQ(std::make_pair((int)FieldErrorPos.row, (int)FieldErrorPos.column), std::make_pair(1, 2));

    RuleRecord p(ORVc::Number);
    Order(p.record, SerialNone);
    Row(ORVc::Number, p.record, "", 10, "1");
    EXPECT_NE(ValidateOrder(p.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1130, 2));
    RuleRecord q(ORVc::Number);
    Order(q.record, SerialNone);
    Row(ORVc::Number, q.record, "BOLT", 10, "");
    EXPECT_NE(ValidateOrder(q.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1134, 278));
    RuleRecord d(ORVc::Number);
    Order(d.record, SerialNone);
    Row(ORVc::Number, d.record, "BOLT", 10, "1", 4, 5);
    EXPECT_NE(ValidateOrder(d.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1302, 24));
    EXPECT_EQ(GetU32(d.record, ORVc::SerNr), SerialNone);

    RuleRecord e(ORVc::Number);
    Order(e.record, SerialNone);
    PutDate(e.record, ORVc::OrdDate, DateRec{});
    EXPECT_NE(ValidateOrder(e.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.field), std::make_pair(1206, 26));

    RuleRecord ok(ORVc::Number);
    Order(ok.record, SerialNone);
    Row(ORVc::Number, ok.record, "BOLT", 10, "1", 5, 5);
    EXPECT_EQ(ValidateOrder(ok.record, nullptr, 1), 0);
    EXPECT_EQ(GetU32(ok.record, ORVc::SerNr), 1u);
}

// A number outside the series is shown only when nothing later is wrong;
// a later fault replaces it and the order stays refused. A taken number is
// refused at once; an update that keeps its number skips both tests.
TEST_F(SalesChecks, OrderNumberSeriesAndKey) {
    RuleRecord o(ORVc::Number);
    Order(o.record, 500);
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.field), std::make_pair(1557, 22));
    Row(ORVc::Number, o.record, "BOLT", 10, "");
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(Shown(), 1134);
    RuleRecord stored(ORVc::Number);
    PutU32(stored.record, ORVc::SerNr, 500);
    Order(o.record, 500);
    MatrixRowDelete(ORVc::Number, o.record, 0);
    EXPECT_EQ(ValidateOrder(o.record, stored.record, 2), 0);

    StoreRecord(ORVc::Number, [&](uint8_t *r) { Order(r, 7); });
    RuleRecord again(ORVc::Number);
    Order(again.record, 7);
    EXPECT_NE(ValidateOrder(again.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.field), std::make_pair(1547, 22));
}

// With block 133's switch on, a row's account must carry the row's VAT
// code; a row without an account takes the block-130 account of its VAT
// code in the order's zone.
TEST_F(SalesChecks, AccountAndVatCodeAgree) {
    StoreRecord(ACVc::Number, [](uint8_t *r) { PutText(r, ACVc::Code, 10, "3010"); PutText(r, ACVc::VatCode, 2, "1"); });
    StoreRecord(ACVc::Number, [](uint8_t *r) { PutText(r, ACVc::Code, 10, "3020"); PutText(r, ACVc::VatCode, 2, "2"); });
    AddRow(VatAccountsBlk::Number, VatAccountsBlk::Rows::Size, [](uint8_t *r) {
        PutText(r, VatAccountsBlk::Rows::VatCode, 2, "1");
        PutText(r, VatAccountsBlk::Rows::AccOther, 10, "3010");
        PutText(r, VatAccountsBlk::Rows::AccZone1, 10, "3020");
    });
    std::vector<uint8_t> sales(SalesAccountsBlk::Size, 0);
    PutU16(sales.data(), SalesAccountsBlk::AccountVatCheck, 1);
    StoreBlock(SalesAccountsBlk::Number, sales.data(), SalesAccountsBlk::Size);

    RuleRecord o(ORVc::Number);
    Order(o.record, SerialNone);
    Row(ORVc::Number, o.record, "BOLT", 10, "1", 1, 0, "3020");
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1245, 278));
    RuleRecord z0(ORVc::Number);
    Order(z0.record, SerialNone);
    Row(ORVc::Number, z0.record, "BOLT", 10, "1");
    EXPECT_EQ(ValidateOrder(z0.record, nullptr, 1), 0);
    PutU16(z0.record, ORVc::VatZone, 1);   // zone 1 books VAT code 1 on 3020, whose code is 2
    EXPECT_NE(ValidateOrder(z0.record, nullptr, 2), 0);
    EXPECT_EQ(Shown(), 1245);

    RuleRecord c(ContractVc::Number);
    PutU32(c.record, ContractVc::SerNr, 1);
    PutDate(c.record, ContractVc::ContractDate, DateRec{1, 6, 2024});
    PutText(c.record, ContractVc::CustCode, 20, "C1");
    Row(ContractVc::Number, c.record, "BOLT", 10, "1", 1, 0, "3020");
    EXPECT_NE(ValidateContract(c.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1245, 244));
}

// Quotations: number and customer at their own fields; contracts: an empty
// customer, an amount without VAT code, and a row of amount 0 without one.
TEST_F(SalesChecks, QuotationAndContractFields) {
    RuleRecord q(QuotationVc::Number);
    PutU32(q.record, QuotationVc::SerNr, 500);
    PutDate(q.record, QuotationVc::QTDate, DateRec{1, 6, 2024});
    PutText(q.record, QuotationVc::CustCode, 20, "C1");
    EXPECT_NE(ValidateQuotation(q.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.field), std::make_pair(1557, 0));
    PutU32(q.record, QuotationVc::SerNr, SerialNone);
    PutText(q.record, QuotationVc::CustCode, 20, "NOBODY");
    EXPECT_NE(ValidateQuotation(q.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.field), std::make_pair(1120, 4));
    EXPECT_EQ(GetU32(q.record, QuotationVc::SerNr), SerialNone);
    PutText(q.record, QuotationVc::CustCode, 20, "C1");
    Row(QuotationVc::Number, q.record, "BOLT", 10, "");
    EXPECT_NE(ValidateQuotation(q.record, nullptr, 1), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1134, 242));

    RuleRecord c(ContractVc::Number);
    PutU32(c.record, ContractVc::SerNr, SerialNone);
    PutDate(c.record, ContractVc::ContractDate, DateRec{1, 6, 2024});
    EXPECT_NE(ValidateContract(c.record, nullptr, 1), 0);
    EXPECT_EQ(Shown(), 1125);
    EXPECT_EQ(GetU32(c.record, ContractVc::SerNr), SerialNone);
    PutText(c.record, ContractVc::CustCode, 20, "C1");
    Row(ContractVc::Number, c.record, "BOLT", 0, "");
    EXPECT_EQ(ValidateContract(c.record, nullptr, 1), 0);
    EXPECT_EQ(GetU32(c.record, ContractVc::SerNr), 1u);
    Row(ContractVc::Number, c.record, "", 5, "");
    EXPECT_NE(ValidateContract(c.record, c.record, 2), 0);
    EXPECT_EQ(std::make_pair(Shown(), (int)FieldErrorPos.column), std::make_pair(1134, 244));
}

// With block 205's order credit check on, an order of a customer whose
// open items exceed a limit above zero is refused; a limit of 0 never is.
TEST_F(SalesChecks, OrderCreditLimit) {
    std::vector<uint8_t> credit(CreditLimitBlk::Size, 0);
    PutU16(credit.data(), CreditLimitBlk::OrderCreditCheck, 1);
    StoreBlock(CreditLimitBlk::Number, credit.data(), CreditLimitBlk::Size);
    StoreCustomer("OVER", "", "", 100);
    StoreCustomer("NOLIMIT", "", "", 0);
    StoreCustomer("UNDER", "", "", 200);
    uint32_t nr = 1;
    for (const char *c : {"OVER", "NOLIMIT", "UNDER"})
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutText(r, ARVc::CustCode, 20, c);
            PutU32(r, ARVc::InvoiceNr, nr++);
            PutDec(r, ARVc::OpenAmount, Dec(150));
        });
    RuleRecord o(ORVc::Number);
    Order(o.record, SerialNone, "OVER");
    EXPECT_NE(ValidateOrder(o.record, nullptr, 1), 0);
    EXPECT_EQ(Shown(), 1164);
    EXPECT_EQ(GetU32(o.record, ORVc::SerNr), SerialNone);
    for (const char *c : {"NOLIMIT", "UNDER"}) {
        Order(o.record, SerialNone, c);
        EXPECT_EQ(ValidateOrder(o.record, nullptr, 1), 0) << c;
    }
}

// Through the record layer with the rules installed: a contract inserted
// without a number is numbered; a refused quotation stores nothing and
// keeps no number; register 56 gets its list mark from its default flag.
class SalesEntries : public SalesChecks {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
};

TEST_F(SalesEntries, InsertedThroughTheRecordLayer) {
    RuleRecord c(ContractVc::Number);
    ASSERT_NE(RegisterHookTable[ContractVc::Number].newRecordDefaults, nullptr);
    RegisterHookTable[ContractVc::Number].newRecordDefaults(ContractVc::Number, c.record);
    EXPECT_EQ(GetU16(c.record, ContractVc::Interval), 1);
    PutU32(c.record, ContractVc::SerNr, SerialNone);
    PutText(c.record, ContractVc::CustCode, 20, "C1");
    uint32_t recid = 0;
    int result = -9;
    RecInsertChecked(ContractVc::Number, c.record, &recid, &result);
    EXPECT_EQ(result, RecDone);
    RuleRecord back(ContractVc::Number);
    ASSERT_TRUE(RecReadById(ContractVc::Number, recid, back.record));
    EXPECT_EQ(GetU32(back.record, ContractVc::SerNr), 1u);

    RuleRecord q(QuotationVc::Number);
    PutU32(q.record, QuotationVc::SerNr, SerialNone);
    PutDate(q.record, QuotationVc::QTDate, DateRec{1, 6, 2024});
    PutText(q.record, QuotationVc::CustCode, 20, "NOBODY");
    RecInsertChecked(QuotationVc::Number, q.record, &recid, &result);
    EXPECT_NE(result, RecDone);
    EXPECT_EQ(GetU32(q.record, QuotationVc::SerNr), SerialNone);
    uint8_t any[QuotationVc::Size];
    uint32_t id = 0;
    EXPECT_FALSE(RecReadAt(QuotationVc::Number, 1, any, &id));

    // A purchase item names a vendor the company keeps.
    StoreRecord(VEVc::Number, [](uint8_t *r) { PutText(r, VEVc::Code, 20, "V1"); });
    RuleRecord pi(PurchItemVc::Number);
    PutText(pi.record, PurchItemVc::ItemCode, 20, "BOLT");
    PutText(pi.record, PurchItemVc::VendCode, 20, "V1");
    PutU16(pi.record, PurchItemVc::Default, 1);
    RecInsertChecked(PurchItemVc::Number, pi.record, &recid, &result);
    ASSERT_EQ(result, RecDone);
    ASSERT_TRUE(RecReadById(PurchItemVc::Number, recid, pi.record));
    EXPECT_EQ(GetU16(pi.record, PurchItemVc::Mark), 18);
}

}  // namespace
