// statement_lines_test.cpp - a customer statement's lines over a period:
// invoices raise the balance, a cash invoice is listed without changing
// it, a credit note lowers it unless it credits a cash invoice (kind -3),
// a payment lowers it by its rows for the customer (once per payment when
// every row counts, however many invoices it pays), the period bounds the
// walk, and the open items fall into their age buckets.
#include "tests/operations/invoice_fixture.h"

#include <string>
#include <vector>

#include "core/memblock.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "operations/statement.h"
#include "output/forms/forms.h"
#include "core/field_types.h"
#include "database/access/record_access.h"
#include "tests/output/test_job.h"

namespace {

class StatementLines : public InvoiceCompanyFixture {
protected:
    void StoreInvoiceHead(int32_t serial, uint16_t kind, DateRec date, double total, int32_t credits = -1,
                          const char *customer = "C1") {
        StoreRecord(IVVc::Number, [&](uint8_t *r) {
            FixtureInvoice f;
            f.serial = serial;
            f.kind = kind;
            f.date = date;
            f.customer = customer;
            FillInvoice(r, f);
            PutDate(r, IVVc::PayDate, DateRec{uint16_t(date.day), uint16_t(date.month + 1), date.year});
            PutDec(r, IVVc::Total, Dec(total));
            PutI32(r, IVVc::CredInv, credits);
        });
    }
    void StoreTrans(DateRec date, uint16_t kind, int32_t doc, int32_t invoice, const char *customer = "C1") {
        StoreRecord(CustTransVc::Number, [&](uint8_t *r) {
            PutText(r, CustTransVc::CustCode, 20, customer);
            PutDate(r, CustTransVc::TransDate, date);
            PutU16(r, CustTransVc::Kind, kind);
            PutI32(r, CustTransVc::DocNr, doc);
            PutI32(r, CustTransVc::InvoiceNr, invoice);
        });
    }
    struct PayRow { int32_t invoice; const char *customer; double amount; uint16_t kind = 1, flag = 0; };
    void StorePayment(int32_t serial, DateRec date, std::initializer_list<PayRow> rows) {
        StoreRecord(IPVc::Number, [&](uint8_t *r) {
            PutI32(r, IPVc::SerNr, serial);
            PutDate(r, IPVc::TransDate, date);
            for (const PayRow &p : rows) {
                uint8_t row[IPVc::Rows::Size] = {};
                PutU16(row, IPVc::Rows::Kind, p.kind);
                PutU16(row, IPVc::Rows::Flag, p.flag);
                PutI32(row, IPVc::Rows::InvoiceNr, p.invoice);
                PutText(row, IPVc::Rows::CustCode, 20, p.customer);
                PutDec(row, IPVc::Rows::Amount, Dec(p.amount));
                ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, r, MatrixRowCount(IPVc::Number, 0, r), row));
            }
        });
    }
    // The June of the statements: an invoice, a cash invoice, a credit
    // note of each, a second invoice and one payment of both invoices
    // (with a row of another customer and a row flagged not to count).
    void StoreJune() {
        StoreInvoiceHead(1001, 1, {1, 6, 2024}, 100);
        StoreInvoiceHead(1002, 2, {2, 6, 2024}, 50);
        StoreInvoiceHead(1003, 3, {3, 6, 2024}, 30, 1001);
        StoreInvoiceHead(1004, 3, {4, 6, 2024}, 50, 1002);
        StoreInvoiceHead(1005, 1, {5, 6, 2024}, 200);
        StorePayment(7, {6, 6, 2024}, {{1001, "C1", 40}, {1005, "C1", 20}, {1005, "C2", 99}, {1001, "C1", 5, 1, 1}});
        for (int i = 0; i < 5; i++) StoreTrans({uint16_t(1 + i), 6, 2024}, 0, 1001 + i, 1001 + i);
        StoreTrans({6, 6, 2024}, 1, 7, 1001);
        StoreTrans({6, 6, 2024}, 1, 7, 1005);
    }
    struct Line { int16_t kind; int32_t number; double amount, balance; bool secondDate; };
    // Builds C1's statement from opening balance 10; its lines.
    std::vector<Line> Build(DateRec from, DateRec to, int16_t option, double *closing) {
        PutDate(TestJob, ReportParamsVc::DateFrom, from);
        PutDate(TestJob, ReportParamsVc::DateTo, to);
        PutI16(TestJob, ReportParamsVc::ReportLayout, option);
        std::vector<uint8_t> customer(CUVc::Size);
        PutText(customer.data(), CUVc::Code, 20, "C1");
        PackedDecimal balance = Dec(10);
        uint8_t st[StatementRec::Size];
        std::vector<Line> lines;
        EXPECT_TRUE(StatementBuild(TestJob, customer.data(), &balance, st));
        *closing = DecToDouble(&balance);
        PackedDecimal stored = GetDec(st, StatementRec::Closing), opening = GetDec(st, StatementRec::Opening);
        EXPECT_EQ(DecToDouble(&stored), *closing);
        EXPECT_EQ(DecToDouble(&opening), 10);
        MemBlock h = GetU32(st, StatementRec::Lines);
        uint32_t n = h ? MemSize(h) / StatementLine::Size : 0;
        const uint8_t *data = h ? MemLock(h) : nullptr;
        for (uint32_t i = 0; i < n; i++) {
            const uint8_t *l = data + i * StatementLine::Size;
            PackedDecimal a = GetDec(l, StatementLine::Amount), b = GetDec(l, StatementLine::Balance);
            DateRec d2 = GetDate(l, StatementLine::Date2);
            EXPECT_EQ(GetI32(l, StatementLine::Level), -1);
            lines.push_back({GetI16(l, StatementLine::Kind), GetI32(l, StatementLine::DocNr), DecToDouble(&a),
                             DecToDouble(&b), !DateIsEmpty(&d2)});
        }
        if (h) MemUnlock(h);
        StatementFree(st);
        return lines;
    }
};

TEST_F(StatementLines, InvoicesCreditNotesAndAPaymentOfTwoInvoices) {
    StoreJune();
    double closing = 0;
    std::vector<Line> lines = Build({1, 6, 2024}, {30, 6, 2024}, 0, &closing);
    ASSERT_EQ(lines.size(), 7u);
    // 10 + 100; the cash invoice listed, settled; 30 credited; the credit
    // of the cash invoice changes nothing; + 200; the payment's rows of
    // each transaction's invoice: 40, then 20.
    EXPECT_EQ(lines[0].kind, 1);
    EXPECT_EQ(lines[0].balance, 110);
    EXPECT_TRUE(lines[0].secondDate);
    EXPECT_EQ(lines[1].kind, 2);
    EXPECT_EQ(lines[1].amount, 50);
    EXPECT_EQ(lines[1].balance, 110);
    EXPECT_FALSE(lines[1].secondDate);
    EXPECT_EQ(lines[2].kind, 3);
    EXPECT_EQ(lines[2].amount, -30);
    EXPECT_EQ(lines[2].balance, 80);
    EXPECT_EQ(lines[3].kind, -3);
    EXPECT_EQ(lines[3].amount, -50);
    EXPECT_EQ(lines[3].balance, 80);
    EXPECT_EQ(lines[4].balance, 280);
    EXPECT_EQ(lines[5].kind, 6);
    EXPECT_EQ(lines[5].number, 7);
    EXPECT_FALSE(lines[5].secondDate);
    EXPECT_EQ(lines[5].amount + lines[6].amount, -60);
    EXPECT_EQ(lines[6].balance, 220);
    EXPECT_EQ(closing, 220);
}

TEST_F(StatementLines, EveryRowCountsOncePerPaymentAndNoRowForOtherOptions) {
    StoreJune();
    double closing = 0;
    // Every row of the customer: 60 once, not once per transaction.
    std::vector<Line> lines = Build({1, 6, 2024}, {30, 6, 2024}, 1, &closing);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5].amount, -60);
    EXPECT_EQ(closing, 220);
    // Any other option counts no payment row.
    lines = Build({1, 6, 2024}, {30, 6, 2024}, 2, &closing);
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(closing, 280);
}

TEST_F(StatementLines, ThePeriodBoundsTheWalkAndAnEmptyOneKeepsTheBalance) {
    StoreJune();
    StoreInvoiceHead(2001, 1, {2, 6, 2024}, 500, -1, "C2");
    StoreTrans({2, 6, 2024}, 0, 2001, 2001, "C2");
    double closing = 0;
    std::vector<Line> lines = Build({2, 6, 2024}, {4, 6, 2024}, 0, &closing);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].number, 1002);
    EXPECT_EQ(lines[2].number, 1004);
    EXPECT_EQ(closing, -20);   // 10, cash 0, credited 30
    lines = Build({1, 7, 2024}, {31, 7, 2024}, 0, &closing);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(closing, 10);
}

TEST_F(StatementLines, OpenItemsByAge) {
    TodayToGlobals();
    const DateRec today = TodayDate;
    struct Item { int32_t number; int days; double amount; const char *customer; } items[] = {
        {1, -5, 10, "C1"}, {2, 0, 1, "C1"}, {3, 10, 20, "C1"}, {4, 15, 2, "C1"}, {5, 20, 30, "C1"},
        {6, 45, 40, "C1"}, {7, 90, 50, "C1"}, {8, 10, 1000, "C2"},
    };
    for (const Item &i : items)
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutI32(r, ARVc::InvoiceNr, i.number);
            PutText(r, ARVc::CustCode, 20, i.customer);
            DateRec due;
            DateAddDays(&today, -i.days, &due);
            PutDate(r, ARVc::DueDate, due);
            PutDec(r, ARVc::OpenAmount, Dec(i.amount));
        });
    uint8_t code[256];
    PStringFromC(code, "C1");
    PackedDecimal ages[6];
    CustomerAgeing(code, ages);
    const double want[6] = {153, 11, 22, 30, 40, 50};
    for (int i = 0; i < 6; i++) EXPECT_EQ(DecToDouble(&ages[i]), want[i]) << "bucket " << i;
    // Esc stops the walk: nothing more is added.
    UserCancelFlag = 1;
    CustomerAgeing(code, ages);
    UserCancelFlag = 0;
    EXPECT_EQ(DecToDouble(&ages[0]), 0);
}

// The ageing takes the day its caller holds (a run reads the clock once
// where it starts) instead of reading the clock in the middle of a run.
TEST_F(StatementLines, OpenItemsAreAgedOnTheCallersDay) {
    const DateRec saved = TodayDate;
    TodayDate = DateRec{15, 6, 2024};
    const struct { int32_t number; DateRec due; double amount; } items[] = {
        {1, {20, 6, 2024}, 7}, {2, {10, 6, 2024}, 11}, {3, {1, 4, 2024}, 13}};
    for (const auto &i : items)
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutI32(r, ARVc::InvoiceNr, i.number);
            PutText(r, ARVc::CustCode, 20, "C1");
            PutDate(r, ARVc::DueDate, i.due);
            PutDec(r, ARVc::OpenAmount, Dec(i.amount));
        });
    uint8_t code[256];
    PStringFromC(code, "C1");
    PackedDecimal ages[6];
    CustomerAgeing(code, ages);
    const DateRec after = TodayDate;
    TodayDate = saved;
    // Not yet due on 15 June, 5 days overdue, 75 days overdue.
    const double want[6] = {31, 7, 11, 0, 0, 13};
    for (int i = 0; i < 6; i++) EXPECT_EQ(DecToDouble(&ages[i]), want[i]) << "bucket " << i;
    EXPECT_EQ(after.year, 2024) << "the ageing left the caller's day as it was";
}

TEST_F(StatementLines, TheStatementFormsValues) {
    StoreJune();
    PutDate(TestJob, ReportParamsVc::DateFrom, DateRec{1, 6, 2024});
    PutDate(TestJob, ReportParamsVc::DateTo, DateRec{30, 6, 2024});
    PutI16(TestJob, ReportParamsVc::ReportLayout, 0);
    std::vector<uint8_t> customer(CUVc::Size);
    PutText(customer.data(), CUVc::Code, 20, "C1");
    PutText(customer.data(), CUVc::Name, 60, "First Customer");
    PutText(customer.data(), CUVc::Addr1, 60, "Kundvagen 2");
    PackedDecimal balance = Dec(10);
    uint8_t st[StatementRec::Size];
    ASSERT_TRUE(StatementBuild(TestJob, customer.data(), &balance, st));
    // Reminder levels 1, 4 and 2 on three lines: the level-3 texts print.
    MemBlock h = GetU32(st, StatementRec::Lines);
    uint8_t *data = MemLock(h);
    const int32_t levels[3] = {1, 4, 2};
    for (int i = 0; i < 3; i++) PutI32(data + i * StatementLine::Size, StatementLine::Level, levels[i]);
    MemUnlock(h);
    std::vector<uint8_t> texts(ReminderTextBlk::Size);
    PutText(texts.data(), ReminderTextBlk::Level3Line1, 60, "Third reminder");
    PutText(texts.data(), ReminderTextBlk::Level3Line3, 60, "Pay now");
    PutText(texts.data(), ReminderTextBlk::Level1Line1, 60, "First reminder");
    ASSERT_EQ(SettingsBlockStore(ReminderTextBlk::Number, texts.data(), uint32_t(texts.size())), RecDone);

    std::memcpy(FormCustomer, customer.data(), CUVc::Size);
    FormDocRecord = st;
    FormRowCount = 7;
    auto value = [](int16_t code, int16_t row) {
        uint8_t field[256], out[256];
        PStringFromC(field, " A own");
        DocFieldValue(-11, field, code, row, out, FormDefBuffer);
        return PStringToStd(out);
    };
    auto amount = [](double x, uint16_t type = FtAmount2) {
        PackedDecimal d = Dec(x);
        uint8_t out[256];
        FieldToText((const uint8_t *)&d, type, out);
        return PStringToStd(out);
    };
    EXPECT_EQ(value(2, 1), "First Customer");
    EXPECT_EQ(value(2, 2), "Kundvagen 2");
    EXPECT_EQ(value(79, 0), "C1");
    EXPECT_EQ(value(229, 0), "1001");
    EXPECT_EQ(value(231, 2), amount(-30));
    EXPECT_EQ(value(232, 0), amount(100, FtDebit));
    EXPECT_EQ(value(233, 2), amount(-30, FtCredit));
    // A cash invoice and the credit of one print positive, as amounts.
    EXPECT_EQ(value(232, 1), amount(50));
    EXPECT_EQ(value(233, 3), amount(50));
    EXPECT_EQ(value(234, 6), amount(220));
    EXPECT_EQ(value(231, 7), "");            // past the lines
    EXPECT_EQ(value(73, 0), amount(220));
    EXPECT_EQ(value(238, 0), amount(100 + 50 - 30 + 200));   // kinds 1 to 4: not the credit of the cash invoice (-3)
    EXPECT_EQ(value(240, 0), amount(100 - 30 + 200));
    EXPECT_EQ(value(241, 0), amount(60));
    EXPECT_EQ(value(242, 0), amount(210));
    EXPECT_EQ(value(227, 1), "Third reminder");
    EXPECT_EQ(value(227, 2), "");
    EXPECT_EQ(value(227, 3), "Pay now");
    EXPECT_EQ(value(227, 4), "");
    EXPECT_EQ(value(999, 0), " A own");
    int16_t first = 0, last = 0;
    FormFirstRow = 0;
    FormRowsPerPage = 20;
    DocFieldRowRange(-11, 231, &first, &last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 6);
    first = last = 0;
    DocFieldRowRange(-11, 227, &first, &last);
    EXPECT_EQ(last, 3);
    // Level 4 alone is no level: nothing prints.
    uint8_t out[256];
    ReminderLevelText(4, 0, out);
    EXPECT_EQ(out[0], 0);
    ReminderLevelText(1, 0, out);
    EXPECT_EQ(PStringToStd(out), "First reminder");
    FormDocRecord = nullptr;
    std::memset(FormCustomer, 0, CUVc::Size);
    StatementFree(st);
}

}  // namespace
