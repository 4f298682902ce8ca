// Tests of approve kind 18: the customer-ledger entry and the monthly
// statistics of a posted invoice and of its credit note; and of what an
// invoice moves in its project.
#include <array>
#include <string>

#include "operations/sales_invoice.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"
#include "tests/operations/invoice_fixture.h"

namespace {

class CustomerLedgerTest : public InvoiceCompanyFixture {
protected:
    // Stores a posted invoice with its totals; its record id.
    uint32_t Posted(uint8_t *r, const FixtureInvoice &f, int32_t credits) {
        FillInvoice(r, f);
        PutU16(r, IVVc::Posted, 1);
        PutText(r, IVVc::ARAcc, 10, InvoiceCo::Receivables);
        if (credits >= 0) {
            PutI32(r, IVVc::CredInv, credits);
            FixtureInvoiceRow link{};
            link.kind = 3, link.link = credits;
            AddInvoiceRow(r, link);
        }
        AddInvoiceRow(r, {"ITEM1", 2, 100, "1", "3010", 60});
        PutDec(r, IVVc::Freight, Dec(10));
        PutText(r, IVVc::FreightItem, 20, "SERVICE");
        PutDec(r, IVVc::FreightPctAmt, Dec(4));
        DocTotalsRound(r);
        uint32_t recid = 0;
        EXPECT_TRUE(RecStoreByKey(IVVc::Number, r, 1, &recid));
        return recid;
    }

    // The month's balances of the statistics record of reg whose key is
    // set by key (kinds amounts); zeros when there is none.
    template <size_t N>
    std::array<double, N> Stat(int reg, const char *index, int parts, uint32_t periods, const char *customer,
                               const char *item) {
        std::array<double, N> out{};
        RuleRecord r(reg);
        if (reg == CustItemStatVc::Number) {
            PutText(r.record, CustItemStatVc::CustCode, 20, customer);
            PutText(r.record, CustItemStatVc::ItemCode, 20, item);
        } else {
            PutText(r.record, 0, 20, customer ? customer : item);
        }
        uint32_t recid = 0, position = 0;
        bool found = index ? RecFindByIndex(reg, index, r.record, parts, 1, &recid, &position)
                           : RecFind(reg, r.record, parts, 1, &recid, &position);
        if (!found) return out;
        DateRec june{10, 6, 2024};
        for (size_t k = 0; k < N; k++) {
            PackedDecimal v;
            PeriodBalanceAt(GetU32(r.record, periods), (int)N, (int)k, MonthIndex(&june), &v);
            out[k] = DecIsBlank(&v) ? 0 : DecToDouble(&v);
        }
        return out;
    }
    std::array<double, 5> Customer() { return Stat<5>(CSVc::Number, nullptr, 1, CSVc::Amounts, "C1", nullptr); }
    std::array<double, 3> Item() { return Stat<3>(ISVc::Number, nullptr, 1, ISVc::Amounts, nullptr, "ITEM1"); }
    std::array<double, 3> CustomerItem() {
        return Stat<3>(CustItemStatVc::Number, "CustItem", 2, CustItemStatVc::Amounts, "C1", "ITEM1");
    }
};

// An invoice adds net, total, paid (cash only), cost and the home total
// owed (none for a cash invoice, paid as it is made); a second run adds
// nothing; its full credit note takes back exactly that in every kind of
// every register, also for a cash invoice in a currency, whose "paid" is
// its total in its own currency.
TEST_F(CustomerLedgerTest, CreditNoteCancelsItsInvoiceInEveryKind) {
    struct Case {
        const char *name;
        uint16_t kind;
        const char *currency;
        double rate;
        std::array<double, 5> customer;
        std::array<double, 3> item;
    };
    // Two of ITEM1 at 100 (cost 60 each) and a freight of 10 (cost 4) on
    // SERVICE, both at 25 %: net 210, total 262.5.
    const Case cases[] = {
        {"ordinary", 1, "", 0, {210, 262.5, 0, 124, 262.5}, {2, 200, 120}},
        {"cash", 2, "", 0, {210, 262.5, 262.5, 124, 0}, {2, 200, 120}},
        {"cash in EUR", 2, "EUR", 1125, {2362.5, 262.5, 262.5, 124, 0}, {2, 2250, 120}},
    };
    int32_t serial = 2000;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RegDeleteAll(CSVc::Number) && RegDeleteAll(ISVc::Number) && RegDeleteAll(CustItemStatVc::Number));
        FixtureInvoice f;
        f.kind = c.kind, f.currency = c.currency, f.rate = c.rate, f.serial = ++serial;
        f.terms = c.kind == 2 ? "K" : "30";
        RuleRecord inv(IVVc::Number), credit(IVVc::Number);
        uint32_t id = Posted(inv.record, f, -1);
        ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, inv.record, id), ApproveResult::Changed);
        EXPECT_EQ(GetU16(inv.record, IVVc::Transferred), 1);
        EXPECT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, inv.record, id), ApproveResult::Unchanged);
        EXPECT_EQ(Customer(), c.customer);
        EXPECT_EQ(Item(), c.item);
        EXPECT_EQ(CustomerItem(), c.item);

        f.kind = 3, f.serial = ++serial;
        uint32_t creditId = Posted(credit.record, f, f.serial - 1);
        ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, credit.record, creditId), ApproveResult::Changed);
        EXPECT_EQ(Customer(), (std::array<double, 5>{}));
        EXPECT_EQ(Item(), (std::array<double, 3>{}));
        EXPECT_EQ(CustomerItem(), (std::array<double, 3>{}));
    }
    EXPECT_TRUE(shown.empty());
}

// The ledger entries: the invoice under its own number, the credit note
// under the invoice it credits; rewriting replaces the entry. An invoice
// without a transaction date gets its entry but no statistics.
TEST_F(CustomerLedgerTest, LedgerEntriesAndUndatedInvoice) {
    RuleRecord inv(IVVc::Number), credit(IVVc::Number), undated(IVVc::Number);
    FixtureInvoice f;
    uint32_t id = Posted(inv.record, f, -1);
    f.kind = 3, f.serial = 1002;
    uint32_t creditId = Posted(credit.record, f, 1001);
    ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, inv.record, id), ApproveResult::Changed);
    ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, credit.record, creditId), ApproveResult::Changed);
    PutU16(credit.record, IVVc::Transferred, 0);
    ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, credit.record, creditId), ApproveResult::Changed);
    EXPECT_EQ(RegRecordCount(CustTransVc::Number), 2u);
    RuleRecord e(CustTransVc::Number);
    uint32_t recid = 0, position = 0;
    PutU32(e.record, CustTransVc::InvoiceNr, 1001);
    ASSERT_TRUE(RecFindByIndex(CustTransVc::Number, "IVKey", e.record, 1, 0, &recid, &position));
    for (uint32_t p = position; p < position + 2; p++) {
        ASSERT_TRUE(RecReadAtIndex(CustTransVc::Number, "IVKey", (int32_t)p, e.record, &recid));
        EXPECT_EQ(GetU32(e.record, CustTransVc::InvoiceNr), 1001u);
        EXPECT_EQ(Text(e.record, CustTransVc::ARAcc), InvoiceCo::Receivables);
    }

    ASSERT_TRUE(RegDeleteAll(CSVc::Number));
    f.kind = 1, f.serial = 1003;
    uint32_t undatedId = Posted(undated.record, f, -1);
    PutDate(undated.record, IVVc::TransDate, DateRec{});
    ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, undated.record, undatedId), ApproveResult::Changed);
    EXPECT_EQ(RegRecordCount(CustTransVc::Number), 3u);
    EXPECT_EQ(RegRecordCount(CSVc::Number), 0u);
}

// A store that fails is told and reported Failed; the invoice is not
// marked transferred.
TEST_F(CustomerLedgerTest, FailedStoreIsFailed) {
    RuleRecord inv(IVVc::Number);
    uint32_t id = Posted(inv.record, {}, -1);
    D4Close();
    EXPECT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, inv.record, id), ApproveResult::Failed);
    EXPECT_EQ(GetU16(inv.record, IVVc::Transferred), 0);
    EXPECT_TRUE(WasShown(Texts::RecordNotStored));
}

// Deleting an invoice frees the project's plan lines that named it and
// no other; changing it, or an invoice of no project, leaves them. A
// down payment invoiced and one deducted move the project's sums, and
// a credit note of the same rows takes both back (its sign is turned
// once, by the down-payment sums).
TEST_F(CustomerLedgerTest, DeletedInvoiceFreesItsPlanLines) {
    StoreRecord(ProjectVc::Number, [](uint8_t *p) {
        PutText(p, ProjectVc::Code, 20, "P1");
        for (uint32_t serial : {1001u, 1002u}) {
            uint8_t line[ProjectVc::Rows::Size] = {};
            PutU32(line, ProjectVc::Rows::InvoiceNr, serial);
            ASSERT_TRUE(MatrixRowPut(ProjectVc::Number, 0, p, MatrixRowCount(ProjectVc::Number, 0, p), line));
        }
    });
    auto lines = [] {
        RuleRecord p(ProjectVc::Number);
        PutText(p.record, ProjectVc::Code, 20, "P1");
        uint32_t recid = 0, position = 0;
        std::vector<uint32_t> out;
        if (!RecFind(ProjectVc::Number, p.record, 1, 1, &recid, &position)) return out;
        uint8_t line[ProjectVc::Rows::Size];
        for (int32_t i = 0; i < MatrixRowCount(ProjectVc::Number, 0, p.record); i++)
            if (MatrixRowRead(ProjectVc::Number, p.record, i, line)) out.push_back(GetU32(line, ProjectVc::Rows::InvoiceNr));
        return out;
    };
    RuleRecord inv(IVVc::Number);
    FillInvoice(inv.record, {});
    UpdateProjectTotals(nullptr, inv.record);
    EXPECT_EQ(lines(), (std::vector<uint32_t>{1001, 1002}));
    PutText(inv.record, IVVc::Project, 20, "P1");
    UpdateProjectTotals(inv.record, inv.record);
    UpdateProjectTotals(inv.record, nullptr);
    EXPECT_EQ(lines(), (std::vector<uint32_t>{1001, 1002}));
    UpdateProjectTotals(nullptr, inv.record);
    EXPECT_EQ(lines(), (std::vector<uint32_t>{SerialNone, 1002}));

    auto sums = [] {
        RuleRecord p(ProjectVc::Number);
        PutText(p.record, ProjectVc::Code, 20, "P1");
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(ProjectVc::Number, p.record, 1, 1, &recid, &position));
        PackedDecimal a = GetDec(p.record, ProjectVc::DownPayInvoiced), b = GetDec(p.record, ProjectVc::DownPayDeducted);
        return std::array<double, 2>{DecIsBlank(&a) ? 0 : DecToDouble(&a), DecIsBlank(&b) ? 0 : DecToDouble(&b)};
    };
    RuleRecord down(IVVc::Number), credit(IVVc::Number);
    for (uint8_t *r : {down.record, credit.record}) {
        FillInvoice(r, {});
        PutText(r, IVVc::Project, 20, "P1");
        AddInvoiceRow(r, {.qty = 1, .price = 200, .kind = 5});
        AddInvoiceRow(r, {.qty = 1, .price = -50, .kind = 5});
    }
    PutU16(credit.record, IVVc::InvType, 3);
    UpdateProjectTotals(down.record, nullptr);
    EXPECT_EQ(sums(), (std::array<double, 2>{200, -50}));
    UpdateProjectTotals(credit.record, nullptr);
    EXPECT_EQ(sums(), (std::array<double, 2>{0, 0}));
    EXPECT_TRUE(shown.empty());
}

}  // namespace
