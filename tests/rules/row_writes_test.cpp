// Tests of the matrix row writes made for the user: a move of a row in
// either direction, and a refused write that puts back what moved and is
// told once.
#include <memory>

#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/row_writes.h"
#include "tests/rules/rules_fixture.h"

namespace {

namespace Row = TRVc::Rows;

class RowWritesTest : public RulesFixture {
protected:
    std::unique_ptr<RuleRecord> rec;
    uint8_t *record = nullptr;

    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        rec = std::make_unique<RuleRecord>(TRVc::Number);
        record = rec->record;
        ASSERT_NE(record, nullptr);
        for (const char *account : {"A", "B", "C", "D"}) Append(account);
    }
    void TearDown() override {
        MatrixTestHooks = MatrixFaultHooks{};
        rec.reset();
        RulesFixture::TearDown();
    }
    void Append(const char *account) {
        uint8_t r[Row::Size] = {};
        PutText(r, Row::Account, 10, account);
        ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, record, MatrixRowCount(TRVc::Number, 0, record), r));
    }
    // The rows' accounts in row order, as one string.
    std::string Accounts() {
        std::string s;
        uint8_t r[Row::Size];
        for (int32_t i = 0; MatrixRowRead(TRVc::Number, record, i, r); i++) s += Text(r, Row::Account);
        return s;
    }
    static std::string Told() {
        char t[256];
        GetUiTextC(t, Texts::RowsNotWritten);
        return t;
    }
};

TEST_F(RowWritesTest, MovesARowEitherWay) {
    EXPECT_TRUE(MatrixRowMoveTold(TRVc::Number, record, 1, 3));
    EXPECT_EQ(Accounts(), "ACDB");
    EXPECT_TRUE(MatrixRowMoveTold(TRVc::Number, record, 3, 0));
    EXPECT_EQ(Accounts(), "BACD");
    EXPECT_TRUE(MatrixRowMoveTold(TRVc::Number, record, 2, 2));
    EXPECT_EQ(Accounts(), "BACD");
    EXPECT_FALSE(MatrixRowMoveTold(TRVc::Number, record, 0, 4)) << "no row 4";
    EXPECT_FALSE(MatrixRowMoveTold(TRVc::Number, record, -1, 2));
    EXPECT_EQ(Accounts(), "BACD");
    EXPECT_TRUE(shown.empty());
}

// Refused at each of its writes in turn, a move leaves every row where it
// was and is told each time.
TEST_F(RowWritesTest, ARefusedMovePutsBackWhatMoved) {
    for (int64_t at = 1; at <= 4; at++) {
        MatrixTestHooks = MatrixFaultHooks{at, 0};
        EXPECT_FALSE(MatrixRowMoveTold(TRVc::Number, record, 3, 0)) << at;
        MatrixTestHooks = MatrixFaultHooks{};
        EXPECT_EQ(Accounts(), "ABCD") << at;
        ASSERT_EQ(shown.size(), size_t(at));
        EXPECT_EQ(shown.back(), Told());
    }
}

// Rows kept whole come back with their count: rows added since go, rows
// taken away return.
TEST_F(RowWritesTest, AllRowsKeptComeBackWithTheirCount) {
    RowsKept before;
    ASSERT_TRUE(RowsKeepAll(&before, TRVc::Number, record));
    Append("E");
    uint8_t r[Row::Size] = {};
    PutText(r, Row::Account, 10, "X");
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, record, 0, r));
    EXPECT_TRUE(RowsPutBack(before, record));
    EXPECT_EQ(Accounts(), "ABCD");
    ASSERT_TRUE(MatrixRowDelete(TRVc::Number, record, 3));
    ASSERT_TRUE(MatrixRowDelete(TRVc::Number, record, 2));
    EXPECT_TRUE(RowsPutBack(before, record));
    EXPECT_EQ(Accounts(), "ABCD");
    // A single write refused changes nothing and is told.
    MatrixTestHooks = MatrixFaultHooks{1, 0};
    EXPECT_FALSE(MatrixRowPutTold(TRVc::Number, record, 1, r));
    MatrixTestHooks = MatrixFaultHooks{};
    EXPECT_EQ(Accounts(), "ABCD");
    EXPECT_EQ(shown, std::vector<std::string>{Told()});
    EXPECT_TRUE(MatrixRowPutTold(TRVc::Number, record, 1, r));
    EXPECT_EQ(Accounts(), "AXCD");
}

}  // namespace
