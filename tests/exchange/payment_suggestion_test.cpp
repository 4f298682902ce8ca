// The payment suggestion over the vendor open items: payments of at most
// 91 rows, items dated by their discount date, an amount limit, a second
// run that finds nothing left to pay, and a zero item with negative items
// asked for that neither hangs the walk nor gets a row.
#include <vector>

#include "core/msg_buffer.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "database/access/register_hooks.h"
#include "exchange/run_outcome.h"
#include "tests/operations/purchase_fixture.h"

namespace {

class PaymentSuggestionTest : public PurchaseFixture {
protected:
    std::vector<uint8_t> selection = std::vector<uint8_t>(ReportParamsVc::Size, 0);

    void Select(DateRec from, DateRec to, uint16_t byDiscount = 0, uint16_t perDate = 0, const char *limit = "") {
        uint8_t *s = selection.data();
        PutDate(s, ReportParamsVc::Date2From, from);
        PutDate(s, ReportParamsVc::Date2To, to);
        PutU16(s, ReportParamsVc::Option2, byDiscount);
        PutU16(s, ReportParamsVc::Option3, perDate);
        PutText(s, ReportParamsVc::SelText3, 255, limit);
        PutText(s, 1010, 1, "K");
        PutDate(s, 1112, DateRec{28, 6, 2024});
    }
    // The row counts of the stored payments, in serial order.
    static std::vector<int32_t> PaymentRows() {
        std::vector<int32_t> rows;
        RuleRecord p(OPVc::Number);
        uint32_t recid = 0;
        for (int32_t i = 0; i <= (int32_t)RegRecordCount(OPVc::Number); i++)
            if (RecReadAtIndex(OPVc::Number, "SerNr", i, p.record, &recid))
                rows.push_back(MatrixRowCount(OPVc::Number, 0, p.record));
        return rows;
    }
};

// 92 items of one vendor and date make payments of 91 and 1 rows, each
// row the item's full open amount; the items are gone and a second run
// pays nothing.
TEST_F(PaymentSuggestionTest, NinetyTwoItemsMakeTwoPayments) {
    {   // the vendor's account, which the rows pay to
        RuleRecord v(VEVc::Number);
        PutText(v.record, VEVc::Code, 20, "V1");
        uint32_t id = 0, pos = 0;
        ASSERT_TRUE(RecFind(VEVc::Number, v.record, 1, 1, &id, &pos));
        PutText(v.record, VEVc::AccountNr, 20, "5012-3456");
        ASSERT_TRUE(RecStore(VEVc::Number, v.record, 1, &id));
    }
    for (int i = 0; i < 92; i++) Invoice(100 + i);
    ASSERT_EQ(RegRecordCount(APVc::Number), 92u);
    Select(DateRec{1, 7, 2024}, DateRec{31, 7, 2024});
    // Run as its window runs it: the closing line counts the payments made.
    ASSERT_TRUE(PaymentSuggestionTold(selection.data())) << ::testing::PrintToString(shown);
    EXPECT_EQ(RunOutcomeLast(), UiText(Texts::OutcomePaymentsMade) + "2");
    EXPECT_EQ(PaymentRows(), (std::vector<int32_t>{91, 1}));
    EXPECT_EQ(RegRecordCount(APVc::Number), 0u);
    RuleRecord p(OPVc::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAtIndex(OPVc::Number, "SerNr", 1, p.record, &recid));
    EXPECT_EQ(GetU16(p.record, OPVc::Approved), 0);
    EXPECT_EQ(GetDate(p.record, OPVc::PayDate).day, 28);
    uint8_t row[OPVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(OPVc::Number, p.record, 0, row));
    EXPECT_NEAR(Num(row, OPVc::Rows::Amount), 125, 0.005);
    EXPECT_EQ(Text(row, OPVc::Rows::AccountText), "5012-3456") << "the vendor's account, not its code and name";

    ASSERT_TRUE(PaymentSuggestionTold(selection.data()));
    EXPECT_EQ(RegRecordCount(OPVc::Number), 2u) << "nothing is paid twice";
    EXPECT_EQ(RunOutcomeLast(), UiText(Texts::OutcomePaymentsMade) + "0");
}

// By discount date an item with discount date 10 March is dated 9 March
// and taken by a range ending then; a limit below every item makes no
// payment; one payment per date dates each payment by its items.
TEST_F(PaymentSuggestionTest, DiscountDatesLimitsAndPerDate) {
    uint32_t early = 0, late = 0;
    ASSERT_EQ(InsertPurchase({.date = {1, 3, 2024}, .due = {30, 3, 2024}, .disc = {10, 3, 2024}}, {{.amount = 80}},
                             nullptr, &early),
              RecDone);
    ASSERT_EQ(InsertPurchase({.date = {1, 3, 2024}, .due = {30, 3, 2024}, .disc = {11, 3, 2024}}, {{.amount = 80}},
                             nullptr, &late),
              RecDone);
    Select(DateRec{1, 3, 2024}, DateRec{9, 3, 2024}, 1, 0, "50");
    ASSERT_TRUE(PaymentSuggestion(selection.data()));
    EXPECT_EQ(RegRecordCount(OPVc::Number), 0u) << "a limit below every item pays nothing";

    Select(DateRec{1, 3, 2024}, DateRec{9, 3, 2024}, 1, 1);
    ASSERT_TRUE(PaymentSuggestion(selection.data()));
    EXPECT_EQ(PaymentRows(), (std::vector<int32_t>{1}));
    EXPECT_TRUE(std::isnan(Open(early)));
    EXPECT_NEAR(Open(late), 100, 0.005);
    RuleRecord p(OPVc::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAtIndex(OPVc::Number, "SerNr", 1, p.record, &recid));
    EXPECT_EQ(GetDate(p.record, OPVc::PayDate).day, 9);
}

// With negative items asked for and one payment per date, a zero item
// gets no row and the walk ends; a negative item is paid with the rest.
TEST_F(PaymentSuggestionTest, ZeroItemWithNegativesAskedForEnds) {
    uint32_t a = Invoice(100), b = Invoice(200);
    RuleRecord item(APVc::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(VendorOpenItemRead(a, item, &recid));
    PutDec(item.record, APVc::OpenAmount, Dec(0));
    ASSERT_TRUE(RecStore(APVc::Number, item.record, 1, &recid));
    ASSERT_TRUE(VendorOpenItemRead(b, item, &recid));
    PutDec(item.record, APVc::OpenAmount, Dec(-30));
    ASSERT_TRUE(RecStore(APVc::Number, item.record, 1, &recid));
    Select(DateRec{1, 7, 2024}, DateRec{31, 7, 2024}, 0, 1);
    PutU16(selection.data(), ReportParamsVc::Option4, 1);
    ASSERT_TRUE(PaymentSuggestion(selection.data()));
    EXPECT_EQ(PaymentRows(), (std::vector<int32_t>{1}));
    EXPECT_TRUE(std::isnan(Open(b)));
    EXPECT_NEAR(Open(a), 0, 0.005) << "the zero item is left alone";
}

// A client's request 46, answered by the server's dispatch on the same
// company, makes the same payments as the local run; a job record of the
// wrong length is refused and pays nothing.
bool Loopback(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    MsgBuffer in;
    if (!MsgLoad(&in, MsgData(request), MsgLength(request))) return false;
    RunMode = 0;
    bool ok = ServerDispatch(code, &in, reply);
    RunMode = RunModeClient;
    MsgClear(&in);
    MsgRewind(reply);
    return ok;
}

TEST_F(PaymentSuggestionTest, Request46MakesTheSamePayments) {
    for (int i = 0; i < 92; i++) Invoice(100 + i);
    Select(DateRec{1, 7, 2024}, DateRec{31, 7, 2024});
    TransportInstall(Loopback, Loopback);
    RunMode = RunModeClient;
    std::vector<uint8_t> shorter(ReportParamsVc::Size - 2, 0);
    EXPECT_FALSE(JobRequestRemote(ReqPaymentSuggestion, shorter.data(), (uint32_t)shorter.size()) &&
                 RegRecordCount(OPVc::Number) > 0);
    EXPECT_EQ(RegRecordCount(OPVc::Number), 0u);
    EXPECT_TRUE(PaymentSuggestionCall(selection.data()));
    RunMode = 0;
    TransportInstall(nullptr, nullptr);
    EXPECT_EQ(PaymentRows(), (std::vector<int32_t>{91, 1}));
    EXPECT_EQ(RegRecordCount(APVc::Number), 0u);
}

// A suggested payment is approved and posted as it was made, in the
// home currency (no rate) and in a currency (the rate on the date): the
// payment check accepts what the suggestion made.
TEST_F(PaymentSuggestionTest, SuggestedPaymentsPassThePaymentCheck) {
    StoreRate("EUR", InvoiceCo::YearStart, 1125);
    Invoice(100);
    Invoice(200, "V2", "EUR", 1125);
    for (const char *currency : {"", "EUR"}) {
        SCOPED_TRACE(currency);
        Select(DateRec{1, 7, 2024}, DateRec{31, 7, 2024});
        PutText(selection.data(), ReportParamsVc::SelText2, 5, currency);
        const uint32_t before = RegRecordCount(OPVc::Number);
        ASSERT_TRUE(PaymentSuggestionCall(selection.data())) << ::testing::PrintToString(shown);
        ASSERT_EQ(RegRecordCount(OPVc::Number), before + 1);
        RuleRecord stored(OPVc::Number), edited(OPVc::Number);
        uint32_t recid = 0;
        ASSERT_TRUE(RecReadAtIndex(OPVc::Number, "SerNr", (int32_t)before + 1, stored.record, &recid));
        ASSERT_TRUE(RecReadAtIndex(OPVc::Number, "SerNr", (int32_t)before + 1, edited.record, &recid));
        PackedDecimal rate = GetDec(stored.record, OPVc::Rate);
        if (currency[0] == 0)
            EXPECT_TRUE(DecIsBlank(&rate)) << DecToDouble(&rate);
        else
            EXPECT_NEAR(DecToDouble(&rate), 1125, 0.0005);
        PutU16(edited.record, OPVc::Approved, 1);
        PutU16(edited.record, OPVc::Posted, 1);
        shown.clear();
        EXPECT_EQ(ValidateRecord(OPVc::Number, edited.record, stored.record, 2), 0)
            << ::testing::PrintToString(shown);
    }
}

}  // namespace
