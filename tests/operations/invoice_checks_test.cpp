// A sales invoice is checked before it is stored: every fault is shown at
// its field or row cell and a number drawn for a refused invoice is given
// back. Once posted, an update may change only the fields a user still
// edits after posting; a changed amount, row or flag is refused.
#include <functional>

#include "core/record_buffer.h"
#include "database/access/register_hooks.h"
#include "operations/sales_invoice.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "tests/operations/invoice_fixture.h"

namespace {

namespace Row = IVVc::Rows;

class InvoiceChecks : public InvoiceCompanyFixture {
protected:
    // True when text n was the last text shown.
    static bool LastShown(int n) { return !shown.empty() && shown.back() == UiText(n); }
    // Stores an invoice as it stands, without the rules.
    void Stored(int32_t serial, const char *customer, uint16_t kind, const char *currency = "") {
        StoreInvoice({.serial = serial, .customer = customer, .kind = kind, .currency = currency},
                     {{.item = "ITEM1", .qty = 1, .price = 100}});
    }
};

// Each fault of an unposted new invoice: its text, its focus (field, or
// row and column of the rows), and the serial number all ones again. The
// company changes of a case hold for the cases after it, which they do
// not touch (the credit limit is C3's, the account 3099 only its row's),
// so the voucher's missing receivable account comes last.
TEST_F(InvoiceChecks, EachFaultAtItsPlace) {
    Stored(1001, "C1", 1);
    Stored(1002, "C1", 3);
    Stored(1003, "C3", 1);
    Stored(1004, "C1", 1, "EUR");
    const uint16_t none = RecFocusNone, rows = IVVc::Matrix;
    struct Case {
        const char *what;
        std::function<void(FixtureInvoice &, FixtureInvoiceRow &)> change;
        std::function<void()> company;
        int text;
        uint16_t field, row, column;
    } cases[] = {
        {"over the credit limit", [](auto &f, auto &) { f.customer = "C3"; },
         [&] {
             std::vector<uint8_t> b(CreditLimitBlk::Size);
             PutU16(b.data(), CreditLimitBlk::InvoiceRefuse, 1);
             StoreBlock(CreditLimitBlk::Number, b.data(), CreditLimitBlk::Size);
             StoreRecord(ARVc::Number, [](uint8_t *r) {
                 PutU32(r, ARVc::InvoiceNr, 900);
                 PutText(r, ARVc::CustCode, 20, "C3");
                 PutDec(r, ARVc::OpenAmount, Dec(500));
             });
         },
         1164, none, 0, 0},
        {"number taken", [](auto &f, auto &) { f.serial = 1001; }, nullptr, 1115, IVVc::SerNr, 0, 0},
        {"number outside the series", [](auto &f, auto &) { f.serial = 200000; }, nullptr, 1557, IVVc::SerNr, 0, 0},
        {"no customer", [](auto &f, auto &) { f.customer = ""; }, nullptr, 1125, none, 0, 0},
        {"unknown customer", [](auto &f, auto &) { f.customer = "NOBODY"; }, nullptr, 1120, IVVc::CustCode, 0, 0},
        {"rate without currency", [](auto &f, auto &) { f.rate = 110; }, nullptr, 1582, IVVc::Rate, 0, 0},
        {"unknown currency", [](auto &f, auto &) { f.currency = "XYZ"; }, nullptr, 1582, IVVc::CurncyCode, 0, 0},
        {"credited invoice missing", [](auto &f, auto &x) { f.kind = 3, x.link = 5555; }, nullptr, 1119, rows, 0,
         Row::Link},
        {"credits a credit note", [](auto &f, auto &x) { f.kind = 3, x.link = 1002; }, nullptr, 1222, rows, 0,
         Row::Link},
        {"credits another customer's", [](auto &f, auto &x) { f.kind = 3, x.link = 1003; }, nullptr, 1218, rows, 0,
         Row::Link},
        {"credits another currency", [](auto &f, auto &x) { f.kind = 3, x.link = 1004; }, nullptr, 1217, rows, 0,
         Row::Link},
        {"unknown item", [](auto &, auto &x) { x.item = "NOITEM"; }, nullptr, 1120, rows, 0, Row::ItemCode},
        {"order link to a missing order", [](auto &f, auto &x) { f.orderNr = 77, x.link = 2; }, nullptr, 1120, rows, 0,
         Row::Link},
        {"amount without VAT code", [](auto &, auto &x) { x.vatCode = ""; }, nullptr, 1134, rows, 0, Row::VatCode},
        {"VAT code against the account's", [](auto &, auto &x) { x.account = "3099"; },
         [&] {
             ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size,
                         [](uint8_t *b) { PutU16(b, SalesAccountsBlk::AccountVatCheck, 1); });
             StoreRecord(ACVc::Number, [](uint8_t *r) {
                 PutText(r, ACVc::Code, 10, "3099");
                 PutText(r, ACVc::VatCode, 2, "2");
             });
         },
         1245, rows, 0, Row::VatCode},
        {"posted with no voucher possible", [](auto &f, auto &) { f.posted = 1; },
         [&] {
             ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size,
                         [](uint8_t *b) { PutText(b, SalesAccountsBlk::ARAcc, 10, ""); });
         },
         1085, IVVc::SerNr, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.company) c.company();
        FixtureInvoice f;
        f.serial = -1;
        FixtureInvoiceRow x{.item = "ITEM1", .qty = 2, .price = 100};
        c.change(f, x);
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, f);
        AddInvoiceRow(r.record, x);
        const uint32_t entry = GetU32(r.record, IVVc::SerNr);
        shown.clear();
        EXPECT_NE(ValidateInvoice(r.record, nullptr, 1), 0);
        EXPECT_TRUE(LastShown(c.text)) << (shown.empty() ? "nothing shown" : shown.back());
        EXPECT_EQ(FieldErrorPos.field, c.field);
        if (c.field == rows) {
            EXPECT_EQ(std::make_pair(FieldErrorPos.row, FieldErrorPos.column), std::make_pair(c.row, c.column));
        }
        EXPECT_EQ(GetU32(r.record, IVVc::SerNr), entry) << "the number drawn is given back";
    }

    // A sound invoice is accepted and numbered after the stored ones.
    RuleRecord ok(IVVc::Number);
    FixtureInvoice f;
    f.serial = -1;
    FillInvoice(ok.record, f);
    AddInvoiceRow(ok.record, {.item = "ITEM1", .qty = 2, .price = 100});
    EXPECT_EQ(ValidateInvoice(ok.record, nullptr, 1), 0);
    EXPECT_EQ(GetU32(ok.record, IVVc::SerNr), 1005u);
}

// Through the record layer: a posted invoice keeps everything but its free
// fields. A changed amount, row or posted flag is refused at its place;
// a new due date, note and salesperson are stored and the due date
// reaches the open item; the FIFO cost the stock step writes may change.
class PostedInvoices : public InvoiceChecks {
protected:
    // The rules come after the company, whose blocks the fixture lays
    // down without the settings checks.
    void SetUp() override {
        InvoiceChecks::SetUp();
        if (!HasFatalFailure()) RulesInstall();
    }
};

TEST_F(PostedInvoices, OnlyFreeFieldsChange) {
    RuleRecord made(IVVc::Number);
    FixtureInvoice f;
    f.posted = 1;
    FillInvoice(made.record, f);
    AddInvoiceRow(made.record, {.item = "ITEM1", .qty = 2, .price = 100});
    PutDec(made.record, IVVc::Total, Dec(250));
    PutDec(made.record, IVVc::Vat, Dec(50));
    InvoicePosting(made.record, 1);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(IVVc::Number, made.record, 0, &recid));
    // The salesperson the free change names is a person the company keeps.
    StoreRecord(PEVc::Number, [](uint8_t *r) { PutText(r, PEVc::Code, 5, "AB"); });

    struct Case {
        const char *what;
        std::function<void(uint8_t *)> change;
        bool stored;
        uint16_t field, row, column;
    } cases[] = {
        {"total", [](uint8_t *r) { PutDec(r, IVVc::Total, Dec(999)); }, false, IVVc::Total, 0, 0},
        {"posted flag", [](uint8_t *r) { PutU16(r, IVVc::Posted, 0); }, false, IVVc::Posted, 0, 0},
        {"customer", [](uint8_t *r) { PutText(r, IVVc::CustCode, 20, "C3"); }, false, IVVc::CustCode, 0, 0},
        {"row quantity",
         [](uint8_t *r) {
             uint8_t row[Row::Size];
             ASSERT_TRUE(MatrixRowRead(IVVc::Number, r, 0, row));
             PutDec(row, Row::Quantity, Dec(3));
             ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, r, 0, row));
         },
         false, IVVc::Matrix, 0, Row::Quantity},
        {"row added", [](uint8_t *r) { AddInvoiceRow(r, {.item = "ITEM2", .qty = 1, .price = 50}); }, false,
         IVVc::Matrix, 1, Row::Kind},
        {"due date, note, salesperson",
         [](uint8_t *r) {
             PutDate(r, IVVc::PayDate, DateRec{31, 8, 2024});
             PutText(r, IVVc::Reference, 60, "Call before delivery");
             PutText(r, IVVc::SalesMan, 5, "AB");
         },
         true, 0, 0, 0},
        {"row FIFO cost",
         [](uint8_t *r) {
             uint8_t row[Row::Size];
             ASSERT_TRUE(MatrixRowRead(IVVc::Number, r, 0, row));
             PutDec(row, Row::FifoCost, Dec(61));
             ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, r, 0, row));
         },
         true, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RuleRecord r(IVVc::Number);
        ASSERT_TRUE(RecReadById(IVVc::Number, recid, r.record));
        c.change(r.record);
        shown.clear();
        int result = -9;
        RecUpdateChecked(IVVc::Number, r.record, recid, &result);
        EXPECT_EQ(result == RecDone, c.stored);
        if (c.stored) continue;
        EXPECT_TRUE(LastShown(Texts::PostedInvoiceChange));
        EXPECT_EQ(FieldErrorPos.field, c.field);
        if (c.field == IVVc::Matrix) {
            EXPECT_EQ(std::make_pair(FieldErrorPos.row, FieldErrorPos.column), std::make_pair(c.row, c.column));
        }
    }
    RuleRecord back(IVVc::Number), item(ARVc::Number);
    ASSERT_TRUE(RecReadById(IVVc::Number, recid, back.record));
    EXPECT_EQ(Text(back.record, IVVc::SalesMan), "AB");
    PackedDecimal total = GetDec(back.record, IVVc::Total);
    EXPECT_EQ(DecToDouble(&total), 250.0);
    PutU32(item.record, ARVc::InvoiceNr, 1001);
    uint32_t id = 0, position = 0;
    ASSERT_TRUE(RecFind(ARVc::Number, item.record, 1, 1, &id, &position));
    EXPECT_EQ(GetDate(item.record, ARVc::DueDate).month, 8);
}

}  // namespace
