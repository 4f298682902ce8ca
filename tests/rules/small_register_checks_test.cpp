// Tests of the checks of the smaller registers before a store, through the
// record layer's validation: codes that must be given, codes that must
// name a record, and the row or field each refusal points at.
#include "core/ui_text.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class SmallRegisterChecks : public RulesFixture {
protected:
    // Validates a new record of reg filled by fill: 0 when accepted, else
    // the wording shown (the position is in FieldErrorPos).
    template <typename Fill>
    std::string Refusal(int reg, Fill fill)
    {
        RuleRecord r(reg);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return "no record";
        fill(r.record);
        shown.clear();
        int result = ValidateRecordOf(reg, r.record, r.record, 1);
        if (result == 0) return "";
        EXPECT_EQ(result, -1);
        return shown.empty() ? "(nothing shown)" : shown.back();
    }
    static std::string Wording(int n)
    {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
    // Appends a row of rowSize bytes with a code of max characters at `at`.
    static void AddCodeRow(int reg, uint8_t *record, uint32_t rowSize, uint32_t at, int max, const char *code)
    {
        std::vector<uint8_t> row(rowSize, 0);
        PutText(row.data(), at, max, code);
        ASSERT_TRUE(MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row.data()));
    }
};

// An entry type's accounts must be in the chart and its rows must name
// bracket tables that exist; the refusal points at the first row at
// fault, and empty rows and empty accounts pass.
TEST_F(SmallRegisterChecks, EntryTypeAccountsAndBracketRows)
{
    StoreAccount("5010", "Salaries", 3);
    StoreRecord(BracketVc::Number, [](uint8_t *r) { PutText(r, BracketVc::Code, 12, "TAX30"); });
    auto entry = [](const char *debit, std::initializer_list<const char *> brackets) {
        return [=](uint8_t *r) {
            PutText(r, EntryTypeVc::Code, 10, "SAL");
            PutText(r, EntryTypeVc::DebitAcc, 10, debit);
            for (const char *b : brackets)
                AddCodeRow(EntryTypeVc::Number, r, EntryTypeVc::Rows::Size, EntryTypeVc::Rows::Bracket, 12, b);
        };
    };
    EXPECT_EQ(Refusal(EntryTypeVc::Number, entry("5010", {"TAX30", "", "TAX30"})), "");
    EXPECT_EQ(Refusal(EntryTypeVc::Number, entry("", {})), "");

    EXPECT_EQ(Refusal(EntryTypeVc::Number, entry("5011", {"TAX30"})), Wording(Texts::AccountMissing));
    EXPECT_EQ(FieldErrorPos.field, EntryTypeVc::DebitAcc);

    EXPECT_EQ(Refusal(EntryTypeVc::Number, entry("5010", {"TAX30", "", "NOPE", "GONE"})),
              Wording(Texts::BracketTableMissing));
    EXPECT_EQ(FieldErrorPos.field, EntryTypeVc::Matrix);
    EXPECT_EQ(FieldErrorPos.row, 2);
    EXPECT_EQ(FieldErrorPos.column, EntryTypeVc::Rows::Bracket);

    EXPECT_EQ(Refusal(EntryTypeVc::Number, [](uint8_t *) {}), Wording(Texts::CodeMissing));
    EXPECT_EQ(FieldErrorPos.field, EntryTypeVc::Code);
}

// A bracket table's accounts, a contact's customer, a time item's item
// and an employee type's row items must exist.
TEST_F(SmallRegisterChecks, CodesThatNameNoRecordAreRefused)
{
    StoreAccount("2640", "Input VAT", 1);
    StoreItem("SERVICE");
    StoreCustomer("C1");

    EXPECT_EQ(Refusal(BracketVc::Number, [](uint8_t *r) {
                  PutText(r, BracketVc::Code, 12, "B");
                  PutText(r, BracketVc::DebitAcc, 10, "2640");
                  PutText(r, BracketVc::CreditAcc, 10, "9999");
              }),
              Wording(Texts::AccountMissing));
    EXPECT_EQ(FieldErrorPos.field, BracketVc::CreditAcc);

    auto contact = [](const char *customer) {
        return [=](uint8_t *r) {
            PutText(r, ContactVc::CustCode, 20, customer);
            PutText(r, ContactVc::Name, 60, "Anna");
        };
    };
    EXPECT_EQ(Refusal(ContactVc::Number, contact("C1")), "");
    EXPECT_EQ(Refusal(ContactVc::Number, contact("C9")), Wording(Texts::ContactCustomerMissing));
    EXPECT_EQ(FieldErrorPos.field, ContactVc::CustCode);
    EXPECT_EQ(Refusal(ContactVc::Number, contact("")), Wording(Texts::CustomerCodeMissing));

    auto timeItem = [](const char *item) {
        return [=](uint8_t *r) { PutText(r, TimeItemVc::ItemCode, 20, item); };
    };
    EXPECT_EQ(Refusal(TimeItemVc::Number, timeItem("SERVICE")), "");
    EXPECT_EQ(Refusal(TimeItemVc::Number, timeItem("HOURS")), Wording(Texts::ItemMissing));
    EXPECT_EQ(FieldErrorPos.field, TimeItemVc::ItemCode);
    EXPECT_EQ(Refusal(TimeItemVc::Number, timeItem("")), Wording(Texts::ItemCodeMissing));

    auto empType = [](std::initializer_list<const char *> items) {
        return [=](uint8_t *r) {
            PutText(r, EmpTypeVc::Code, 5, "CONS");
            for (const char *i : items)
                AddCodeRow(EmpTypeVc::Number, r, EmpTypeVc::Rows::Size, EmpTypeVc::Rows::ItemCode, 20, i);
        };
    };
    EXPECT_EQ(Refusal(EmpTypeVc::Number, empType({"SERVICE", ""})), "");
    EXPECT_EQ(Refusal(EmpTypeVc::Number, empType({"SERVICE", "HOURS"})), Wording(Texts::ItemMissing));
    EXPECT_EQ(FieldErrorPos.field, EmpTypeVc::Matrix);
    EXPECT_EQ(FieldErrorPos.row, 1);
}

// The registers named by their code alone need one: coded texts,
// percentage tables, order classes (above the registers whose checks the
// record layer had) and standard texts.
TEST_F(SmallRegisterChecks, KeyCodesMustBeGiven)
{
    struct Key {
        int reg;
        uint32_t code;
        int max;
    };
    for (Key k : {Key{CodedTextVc::Number, CodedTextVc::Code, 5}, Key{PctTableVc::Number, PctTableVc::Code, 5},
                  Key{OrderClassVc::Number, OrderClassVc::Code, 5}, Key{StdTextVc::Number, StdTextVc::Code, 20}}) {
        EXPECT_EQ(Refusal(k.reg, [](uint8_t *) {}), Wording(Texts::CodeMissing)) << k.reg;
        EXPECT_EQ(FieldErrorPos.field, k.code) << k.reg;
        EXPECT_EQ(Refusal(k.reg, [k](uint8_t *r) { PutText(r, k.code, k.max, "A1"); }), "") << k.reg;
    }
}

}  // namespace
