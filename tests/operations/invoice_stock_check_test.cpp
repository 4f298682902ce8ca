// An invoice posted beyond the stock of its location: the user is told
// which item goes below zero, and where the stock settings refuse stock
// below zero the invoice is refused at the item's quantity.
#include "core/record_buffer.h"
#include "operations/invoice_stock_check.h"
#include "operations/sales_invoice.h"
#include "rules/rules_types.h"
#include "tests/operations/invoice_fixture.h"

namespace {

namespace Row = IVVc::Rows;

class InvoiceStockCheckTest : public InvoiceCompanyFixture {
protected:
    std::vector<std::string> told;
    static inline InvoiceStockCheckTest *current = nullptr;
    static void Sink(const std::string &line) { current->told.push_back(line); }
    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        current = this;
        InvoiceStockNoticeSet(Sink);
    }
    void TearDown() override {
        InvoiceStockNoticeSet(nullptr);
        InvoiceCompanyFixture::TearDown();
    }
    // Validates a new invoice (posted unless said) with the rows; the result.
    int Check(std::initializer_list<FixtureInvoiceRow> rows, uint16_t kind = 1, uint16_t posted = 1,
              uint16_t updStock = 1, int32_t *entry = nullptr) {
        RuleRecord r(IVVc::Number);
        FixtureInvoice f;
        f.serial = -1;
        f.kind = kind;
        f.posted = posted;
        f.updStock = updStock;
        FillInvoice(r.record, f);
        for (const FixtureInvoiceRow &x : rows) AddInvoiceRow(r.record, x);
        told.clear();
        shown.clear();
        int result = ValidateInvoice(r.record, nullptr, 1);
        if (entry) *entry = (int32_t)GetU32(r.record, IVVc::SerNr);
        return result;
    }
    void RefuseBelowZero() {
        ChangeBlock(MainStockBlk::Number, MainStockBlk::Size,
                    [](uint8_t *b) { PutU16(b, MainStockBlk::RefuseBeyondStock, 1); });
    }
};

// ITEM1 holds 100 at MAIN, ITEM2 40; SERVICE is not stocked.
TEST_F(InvoiceStockCheckTest, ShortStockIsToldAndPostingGoesOn) {
    // Two rows of one item count together: 60 + 50 is beyond 100.
    EXPECT_EQ(Check({{.item = "ITEM1", .qty = 60, .price = 10}, {.item = "ITEM1", .qty = 50, .price = 10}}), 0);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(UiText(Texts::StockShortWarning)), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("ITEM1"), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("MAIN"), std::string::npos) << told[0];
    EXPECT_TRUE(told[0].ends_with(UiText(Texts::StockShortLeft) + "100")) << "the quantity in stock: " << told[0];
    EXPECT_TRUE(shown.empty()) << "a warning, not a box: " << shown.front();

    // Exactly what is in stock, a second item within its stock, a credit
    // note, an invoice not updating stock, one saved unposted: nothing.
    struct Quiet {
        const char *what;
        std::initializer_list<FixtureInvoiceRow> rows;
        uint16_t kind, posted, updStock;
    } quiet[] = {
        {"all the stock", {{.item = "ITEM1", .qty = 100, .price = 10}}, 1, 1, 1},
        {"within both", {{.item = "ITEM1", .qty = 1, .price = 10}, {.item = "ITEM2", .qty = 40, .price = 10}}, 1, 1, 1},
        {"credit note", {{.item = "ITEM1", .qty = 500, .price = 10}}, 3, 1, 1},
        {"no stock update", {{.item = "ITEM1", .qty = 500, .price = 10}}, 1, 1, 0},
        {"not posted yet", {{.item = "ITEM1", .qty = 500, .price = 10}}, 1, 0, 1},
    };
    for (const Quiet &q : quiet) {
        SCOPED_TRACE(q.what);
        int32_t entry = 0;
        int r = Check(q.rows, q.kind, q.posted, q.updStock, &entry);
        if (q.kind != 3) {
            EXPECT_EQ(r, 0) << (shown.empty() ? "" : shown.back());
        }
        EXPECT_TRUE(told.empty()) << told.front();
    }
}

TEST_F(InvoiceStockCheckTest, SettingsRefusingStockBelowZeroRefuseTheInvoiceAtItsRow) {
    RefuseBelowZero();
    int32_t entry = 0;
    EXPECT_NE(Check({{.item = "ITEM2", .qty = 1, .price = 10}, {.item = "ITEM1", .qty = 101, .price = 10}}, 1, 1, 1,
                    &entry),
              0);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().rfind(UiText(Texts::StockShortRefused), 0), 0u) << shown.back();
    EXPECT_NE(shown.back().find("ITEM1"), std::string::npos) << shown.back();
    EXPECT_EQ(FieldErrorPos.field, IVVc::Matrix);
    EXPECT_EQ(FieldErrorPos.row, 1);
    EXPECT_EQ(FieldErrorPos.column, Row::Quantity);
    EXPECT_EQ(entry, -1) << "the number drawn is given back";
    EXPECT_TRUE(told.empty());

    // Within the stock the same settings let it through; so does saving
    // it unposted.
    EXPECT_EQ(Check({{.item = "ITEM1", .qty = 100, .price = 10}}), 0) << (shown.empty() ? "" : shown.back());
    EXPECT_EQ(Check({{.item = "ITEM1", .qty = 101, .price = 10}}, 1, 0), 0) << (shown.empty() ? "" : shown.back());

    // Posting from the list (approve) is refused the same way, and the
    // invoice stays unposted.
    RuleRecord r(IVVc::Number);
    FixtureInvoice f;
    f.serial = 1001;
    FillInvoice(r.record, f);
    AddInvoiceRow(r.record, {.item = "ITEM1", .qty = 101, .price = 10});
    shown.clear();
    EXPECT_EQ(ApproveInvoice(IVVc::Number, r.record, 0), ApproveResult::Unchanged);
    EXPECT_EQ(GetU16(r.record, IVVc::Posted), 0);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().rfind(UiText(Texts::StockShortRefused), 0), 0u) << shown.back();
}

}  // namespace
